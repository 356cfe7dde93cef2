#pragma once

// The browser environment, ICoreWebView2Environment to ICoreWebView2Environment4. Each version
// derives from the one before, so a pointer to Environment4 is also one to every earlier version.

#include <windows.h>
#include <objidl.h>
#include <unknwn.h>
#include <eventtoken.h>

#include "webview2/handlers.h"
#include "webview2/iid_text.h"

// Reached only as out-parameters that the program hands on unread.
struct ICoreWebView2WebResourceResponse;
struct ICoreWebView2WebResourceRequest;
struct ICoreWebView2PointerInfo;

namespace IidText {
inline constexpr char ICoreWebView2Environment[] = "{b96d755e-0319-4e92-a296-23436f46a1fc}";
inline constexpr char ICoreWebView2Environment2[] = "{41f3632b-5ef4-404f-ad82-2d606c5a9a21}";
inline constexpr char ICoreWebView2Environment3[] = "{80a22ae3-be7c-4ce2-afe1-5a50056cdeeb}";
inline constexpr char ICoreWebView2Environment4[] = "{20944379-6dcf-41d6-a0a0-abc0fc50de0d}";
}  // namespace IidText

// Slots 3 to 7.
struct ICoreWebView2Environment : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
      HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase,
                                                              LPCWSTR headers,
                                                              ICoreWebView2WebResourceResponse** response) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* versionInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(
      ICoreWebView2NewBrowserVersionAvailableEventHandler* handler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken token) = 0;
};

// Slot 8.
struct ICoreWebView2Environment2 : ICoreWebView2Environment {
  virtual HRESULT STDMETHODCALLTYPE CreateWebResourceRequest(LPCWSTR uri, LPCWSTR method, IStream* postData,
                                                             LPCWSTR headers,
                                                             ICoreWebView2WebResourceRequest** request) = 0;
};

// Slots 9 and 10.
struct ICoreWebView2Environment3 : ICoreWebView2Environment2 {
  virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2CompositionController(
      HWND parentWindow, ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2PointerInfo(ICoreWebView2PointerInfo** pointerInfo) = 0;
};

// Slot 11.
struct ICoreWebView2Environment4 : ICoreWebView2Environment3 {
  virtual HRESULT STDMETHODCALLTYPE GetAutomationProviderForWindow(HWND window, IUnknown** provider) = 0;
};
