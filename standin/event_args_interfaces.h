#pragma once

// The arguments of the view's navigation events that the client does not declare itself (it
// declares the completed navigation's, in webview2/navigation_completed_args.h): slot for slot
// as published.

#include <windows.h>
#include <unknwn.h>

#include "webview2/webview2.h"

struct ICoreWebView2HttpRequestHeaders;

namespace IidText {
inline constexpr char ICoreWebView2NavigationStartingEventArgs[] = "{5b495469-e119-438a-9b18-7604f25f2e49}";
inline constexpr char ICoreWebView2ContentLoadingEventArgs[] = "{0c8a1275-9b6b-4901-87ad-70df25bafa6e}";
inline constexpr char ICoreWebView2SourceChangedEventArgs[] = "{31e0e545-1dba-4266-8914-f63848a1f7d7}";
}  // namespace IidText

// Slots 3 to 9.
struct ICoreWebView2NavigationStartingEventArgs : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* isRedirected) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders** requestHeaders) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) = 0;
};

// Slots 3 and 4.
struct ICoreWebView2ContentLoadingEventArgs : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_IsErrorPage(BOOL* isErrorPage) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) = 0;
};

// Slot 3.
struct ICoreWebView2SourceChangedEventArgs : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_IsNewDocument(BOOL* isNewDocument) = 0;
};
