#pragma once

// The program's own environment options object: all eight options interfaces on one hand-built
// object with one 48-entry routine table.

#include "webview2/environment_options.h"

// A new options object with one reference owned by the caller, or null when memory cannot be had.
// The target compatible browser version is "138.0.3351.48"; every other option is zero.
ICoreWebView2EnvironmentOptions* CreateEnvironmentOptionsObject();

// The object's own routines of its first interface, for the code that holds the object itself
// and calls them directly rather than through its table.
namespace EnvironmentOptionsRoutines {
HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(ICoreWebView2EnvironmentOptions* object, LPWSTR* value);
HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(ICoreWebView2EnvironmentOptions* object, LPCWSTR value);
HRESULT STDMETHODCALLTYPE get_Language(ICoreWebView2EnvironmentOptions* object, LPWSTR* value);
HRESULT STDMETHODCALLTYPE put_Language(ICoreWebView2EnvironmentOptions* object, LPCWSTR value);
HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(ICoreWebView2EnvironmentOptions* object, LPWSTR* value);
HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(ICoreWebView2EnvironmentOptions* object, LPCWSTR value);
HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(ICoreWebView2EnvironmentOptions* object, BOOL* allow);
HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(ICoreWebView2EnvironmentOptions* object, BOOL allow);
}  // namespace EnvironmentOptionsRoutines
