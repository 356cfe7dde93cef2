#pragma once

// The environment options interfaces. Each of the eight derives from IUnknown on its own, so one
// object that implements them all has eight interface pointers.

#include <windows.h>
#include <unknwn.h>

#include <cstdint>

#include "webview2/iid_text.h"

enum COREWEBVIEW2_CHANNEL_SEARCH_KIND : std::int32_t {
  COREWEBVIEW2_CHANNEL_SEARCH_KIND_MOST_STABLE = 0,
  COREWEBVIEW2_CHANNEL_SEARCH_KIND_LEAST_STABLE = 1,
};

enum COREWEBVIEW2_RELEASE_CHANNELS : std::int32_t {
  COREWEBVIEW2_RELEASE_CHANNELS_NONE = 0x0,
  COREWEBVIEW2_RELEASE_CHANNELS_STABLE = 0x1,
  COREWEBVIEW2_RELEASE_CHANNELS_BETA = 0x2,
  COREWEBVIEW2_RELEASE_CHANNELS_DEV = 0x4,
  COREWEBVIEW2_RELEASE_CHANNELS_CANARY = 0x8,
};

enum COREWEBVIEW2_SCROLLBAR_STYLE : std::int32_t {
  COREWEBVIEW2_SCROLLBAR_STYLE_DEFAULT = 0,
  COREWEBVIEW2_SCROLLBAR_STYLE_FLUENT_OVERLAY = 1,
};

namespace IidText {
inline constexpr char ICoreWebView2EnvironmentOptions[] = "{2fde08a8-1e9a-4766-8c05-95a9ceb9d1c5}";
inline constexpr char ICoreWebView2EnvironmentOptions2[] = "{ff85c98a-1ba7-4a6b-90c8-2b752c89e9e2}";
inline constexpr char ICoreWebView2EnvironmentOptions3[] = "{4a5c436e-a9e3-4a2e-89c3-910d3513f5cc}";
inline constexpr char ICoreWebView2EnvironmentOptions4[] = "{ac52d13f-0d38-475a-9dca-876580d6793e}";
inline constexpr char ICoreWebView2EnvironmentOptions5[] = "{0ae35d64-c47f-4464-814e-259c345d1501}";
inline constexpr char ICoreWebView2EnvironmentOptions6[] = "{57d29cc3-c84f-42a0-b0e2-effbd5e179de}";
inline constexpr char ICoreWebView2EnvironmentOptions7[] = "{c48d539f-e39f-441c-ae68-1f66e570bdc5}";
inline constexpr char ICoreWebView2EnvironmentOptions8[] = "{7c7ecf51-e918-5caf-853c-e9a2bcc27775}";
inline constexpr char ICoreWebView2CustomSchemeRegistration[] = "{d60ac92c-37a6-4b26-a39e-95cfe59047bb}";
}  // namespace IidText

// Slots 3 to 9.
struct ICoreWebView2CustomSchemeRegistration : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_SchemeName(LPWSTR* schemeName) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_TreatAsSecure(BOOL* treatAsSecure) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_TreatAsSecure(BOOL value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAllowedOrigins(UINT32* count, LPWSTR** origins) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetAllowedOrigins(UINT32 count, LPCWSTR* origins) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_HasAuthorityComponent(BOOL* hasAuthorityComponent) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_HasAuthorityComponent(BOOL value) = 0;
};

// Slots 3 to 10.
struct ICoreWebView2EnvironmentOptions : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* allow) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL allow) = 0;
};

// Slots 3 and 4.
struct ICoreWebView2EnvironmentOptions2 : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_ExclusiveUserDataFolderAccess(BOOL* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ExclusiveUserDataFolderAccess(BOOL value) = 0;
};

// Slots 3 and 4.
struct ICoreWebView2EnvironmentOptions3 : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_IsCustomCrashReportingEnabled(BOOL* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsCustomCrashReportingEnabled(BOOL value) = 0;
};

// Slots 3 and 4. The getter's array and its references belong to the caller afterwards.
struct ICoreWebView2EnvironmentOptions4 : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetCustomSchemeRegistrations(
      UINT32* count, ICoreWebView2CustomSchemeRegistration*** schemeRegistrations) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCustomSchemeRegistrations(
      UINT32 count, ICoreWebView2CustomSchemeRegistration** schemeRegistrations) = 0;
};

// Slots 3 and 4.
struct ICoreWebView2EnvironmentOptions5 : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_EnableTrackingPrevention(BOOL* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_EnableTrackingPrevention(BOOL value) = 0;
};

// Slots 3 and 4.
struct ICoreWebView2EnvironmentOptions6 : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_AreBrowserExtensionsEnabled(BOOL* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AreBrowserExtensionsEnabled(BOOL value) = 0;
};

// Slots 3 to 6.
struct ICoreWebView2EnvironmentOptions7 : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_ChannelSearchKind(COREWEBVIEW2_CHANNEL_SEARCH_KIND* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ChannelSearchKind(COREWEBVIEW2_CHANNEL_SEARCH_KIND value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ReleaseChannels(COREWEBVIEW2_RELEASE_CHANNELS* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ReleaseChannels(COREWEBVIEW2_RELEASE_CHANNELS value) = 0;
};

// Slots 3 and 4.
struct ICoreWebView2EnvironmentOptions8 : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_ScrollBarStyle(COREWEBVIEW2_SCROLLBAR_STYLE* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ScrollBarStyle(COREWEBVIEW2_SCROLLBAR_STYLE value) = 0;
};
