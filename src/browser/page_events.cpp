#include "browser/page_events.h"

#include "browser/caption.h"
#include "browser/globals.h"
#include "webview2/webview2.h"
#include "wrappers/environment_wrappers.h"
#include "wrappers/small_wrappers.h"

namespace {

constexpr char kScriptHostName[] = "TestHost";

IUnknown* AsInterface(ULONG_PTR value) { return reinterpret_cast<IUnknown*>(value); }

}  // namespace

HRESULT STDMETHODCALLTYPE OnEnvironmentCreated(ULONG_PTR, ULONG_PTR, ULONG_PTR environmentValue) {
  EnvironmentWrapper environment;
  Environment4Wrapper environment4;
  environment.Set(AsInterface(environmentValue));
  environment.CreateCoreWebView2Controller(g_mainWindow, OnControllerCreated, 0);
  if (environment.QueryInto(IidText::ICoreWebView2Environment4, environment4) == S_OK) {
    // The version comes as UTF-8; the caption's texts are code page 936.
    SetCaptionText(TextToGbk(environment4.get_BrowserVersionString()));
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE OnControllerCreated(ULONG_PTR, ULONG_PTR, ULONG_PTR controller) {
  g_controller->Set(AsInterface(controller));
  g_controller->get_CoreWebView2(*g_webView);
  RECT client{};
  GetClientRect(g_mainWindow, &client);
  g_controller->put_Bounds(0, 0, client.right - client.left, client.bottom - client.top);
  g_webView->add_NavigationCompleted(OnNavigationCompleted, 0);
  g_webView->add_DocumentTitleChanged(OnDocumentTitleChanged, 0);
  g_webView->Navigate(kHomePageUrl);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE OnDocumentTitleChanged(ULONG_PTR, ULONG_PTR, ULONG_PTR) {
  SetCaptionText(TextToGbk(g_webView->get_DocumentTitle()));
  return S_OK;
}

HRESULT STDMETHODCALLTYPE OnNavigationCompleted(ULONG_PTR, ULONG_PTR, ULONG_PTR argsValue) {
  NavigationCompletedArgsWrapper args;
  args.Set(AsInterface(argsValue));
  g_scriptHost->Create(0);
  g_webView->AddHostObjectToScript(kScriptHostName, g_scriptHost->Duplicate());
  WebView15Wrapper view15;
  if (g_webView->QueryInto(IidText::ICoreWebView2_15, view15) == S_OK) {
    view15.add_FaviconChanged(OnFaviconChanged, 0);
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE OnFaviconChanged(ULONG_PTR, ULONG_PTR sender, ULONG_PTR) {
  WebView15Wrapper view15;
  view15.Set(AsInterface(sender));
  return S_OK;
}
