#pragma once

// The environment, ICoreWebView2Environment up to ICoreWebView2Environment4 (the last one may be
// withheld by a knob). It makes controllers on the host's windows, later, on the calling thread.

#include <windows.h>

#include "com_object.h"
#include "engine/page_engine.h"
#include "event_list.h"
#include "webview2/webview2.h"

// The browser version the stand-in reports, as the runtime of the declared SDK would.
extern const wchar_t kStandInBrowserVersion[];

class Environment : public ComObject<ICoreWebView2Environment4> {
 public:
  explicit Environment(PageEngineSettings settings);

  HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
      HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase,
                                                      LPCWSTR headers,
                                                      ICoreWebView2WebResourceResponse** response) override;
  HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* versionInfo) override;
  HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler* handler,
                                                           EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE CreateWebResourceRequest(LPCWSTR uri, LPCWSTR method, IStream* postData, LPCWSTR headers,
                                                     ICoreWebView2WebResourceRequest** request) override;
  HRESULT STDMETHODCALLTYPE CreateCoreWebView2CompositionController(
      HWND parentWindow, ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE CreateCoreWebView2PointerInfo(ICoreWebView2PointerInfo** pointerInfo) override;
  HRESULT STDMETHODCALLTYPE GetAutomationProviderForWindow(HWND window, IUnknown** provider) override;

 private:
  const PageEngineSettings settings_;
  EventList<ICoreWebView2NewBrowserVersionAvailableEventHandler> newBrowserVersionAvailable_{
      "NewBrowserVersionAvailable"};
};
