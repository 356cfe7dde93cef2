#include "wrappers/webview_wrapper.h"

#include <oleauto.h>

#include "com/unique_handle.h"

#include "wrappers/wrapper_calls.h"

using namespace WrapperCalls;

WebViewWrapper::~WebViewWrapper() = default;

std::unique_ptr<InterfaceHolder> WebViewWrapper::Clone() const { return std::make_unique<WebViewWrapper>(*this); }

HRESULT WebViewWrapper::get_Settings(InterfaceHolder& target) {
  return Call(*this, &ICoreWebView2::get_Settings, OutSlot(target));
}

Utf8Text WebViewWrapper::get_Source() { return TextProperty(*this, &ICoreWebView2::get_Source); }

HRESULT WebViewWrapper::Navigate(TextArg uri) { return Call(*this, &ICoreWebView2::Navigate, WideArg(uri)); }

HRESULT WebViewWrapper::NavigateToString(TextArg htmlContent) {
  return Call(*this, &ICoreWebView2::NavigateToString, WideArg(htmlContent));
}

EventRegistrationToken WebViewWrapper::add_NavigationStarting(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_NavigationStarting,
                   {IidText::ICoreWebView2NavigationStartingEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_NavigationStarting(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_NavigationStarting, token);
}

EventRegistrationToken WebViewWrapper::add_ContentLoading(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_ContentLoading,
                   {IidText::ICoreWebView2ContentLoadingEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_ContentLoading(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_ContentLoading, token);
}

EventRegistrationToken WebViewWrapper::add_SourceChanged(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_SourceChanged,
                   {IidText::ICoreWebView2SourceChangedEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_SourceChanged(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_SourceChanged, token);
}

EventRegistrationToken WebViewWrapper::add_HistoryChanged(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_HistoryChanged,
                   {IidText::ICoreWebView2HistoryChangedEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_HistoryChanged(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_HistoryChanged, token);
}

EventRegistrationToken WebViewWrapper::add_NavigationCompleted(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_NavigationCompleted,
                   {IidText::ICoreWebView2NavigationCompletedEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_NavigationCompleted(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_NavigationCompleted, token);
}

EventRegistrationToken WebViewWrapper::add_FrameNavigationStarting(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_FrameNavigationStarting,
                   {IidText::ICoreWebView2NavigationStartingEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_FrameNavigationStarting(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_FrameNavigationStarting, token);
}

EventRegistrationToken WebViewWrapper::add_FrameNavigationCompleted(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_FrameNavigationCompleted,
                   {IidText::ICoreWebView2NavigationCompletedEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_FrameNavigationCompleted(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_FrameNavigationCompleted, token);
}

EventRegistrationToken WebViewWrapper::add_ScriptDialogOpening(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_ScriptDialogOpening,
                   {IidText::ICoreWebView2ScriptDialogOpeningEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_ScriptDialogOpening(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_ScriptDialogOpening, token);
}

EventRegistrationToken WebViewWrapper::add_PermissionRequested(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_PermissionRequested,
                   {IidText::ICoreWebView2PermissionRequestedEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_PermissionRequested(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_PermissionRequested, token);
}

EventRegistrationToken WebViewWrapper::add_ProcessFailed(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_ProcessFailed,
                   {IidText::ICoreWebView2ProcessFailedEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_ProcessFailed(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_ProcessFailed, token);
}

HRESULT WebViewWrapper::AddScriptToExecuteOnDocumentCreated(TextArg javaScript, CallbackRoutine routine,
                                                            ULONG_PTR context) {
  return Start(
      *this, &ICoreWebView2::AddScriptToExecuteOnDocumentCreated, E_FAIL,
      HandlerRoutine{IidText::ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler, routine, context},
      WideArg(javaScript));
}

HRESULT WebViewWrapper::RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) {
  return Call(*this, &ICoreWebView2::RemoveScriptToExecuteOnDocumentCreated, id);
}

HRESULT WebViewWrapper::ExecuteScript(TextArg javaScript, CallbackRoutine routine, ULONG_PTR context) {
  return Start(*this, &ICoreWebView2::ExecuteScript, E_FAIL,
               HandlerRoutine{IidText::ICoreWebView2ExecuteScriptCompletedHandler, routine, context},
               WideArg(javaScript));
}

HRESULT WebViewWrapper::CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT imageFormat,
                                       const InterfaceHolder& imageStream, SingleArgCallbackRoutine routine,
                                       ULONG_PTR context) {
  return Start(*this, &ICoreWebView2::CapturePreview, E_FAIL,
               SingleArgHandlerRoutine{IidText::ICoreWebView2CapturePreviewCompletedHandler, routine, context},
               imageFormat, static_cast<IStream*>(imageStream.Get()));
}

HRESULT WebViewWrapper::Reload() { return Call(*this, &ICoreWebView2::Reload); }

HRESULT WebViewWrapper::PostWebMessageAsJson(TextArg webMessageAsJson) {
  return Call(*this, &ICoreWebView2::PostWebMessageAsJson, WideArg(webMessageAsJson));
}

HRESULT WebViewWrapper::PostWebMessageAsString(TextArg webMessageAsString) {
  return Call(*this, &ICoreWebView2::PostWebMessageAsString, WideArg(webMessageAsString));
}

EventRegistrationToken WebViewWrapper::add_WebMessageReceived(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_WebMessageReceived,
                   {IidText::ICoreWebView2WebMessageReceivedEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_WebMessageReceived(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_WebMessageReceived, token);
}

HRESULT WebViewWrapper::CallDevToolsProtocolMethod(TextArg methodName, TextArg parametersAsJson,
                                                   CallbackRoutine routine, ULONG_PTR context) {
  return Start(*this, &ICoreWebView2::CallDevToolsProtocolMethod, E_FAIL,
               HandlerRoutine{IidText::ICoreWebView2CallDevToolsProtocolMethodCompletedHandler, routine, context},
               WideArg(methodName), WideArg(parametersAsJson));
}

UINT32 WebViewWrapper::get_BrowserProcessId() { return Property(*this, &ICoreWebView2::get_BrowserProcessId); }

BOOL WebViewWrapper::get_CanGoBack() { return Property(*this, &ICoreWebView2::get_CanGoBack); }

BOOL WebViewWrapper::get_CanGoForward() { return Property(*this, &ICoreWebView2::get_CanGoForward); }

HRESULT WebViewWrapper::GoBack() { return Call(*this, &ICoreWebView2::GoBack); }

HRESULT WebViewWrapper::GoForward() { return Call(*this, &ICoreWebView2::GoForward); }

DevToolsProtocolEventReceiverWrapper WebViewWrapper::GetDevToolsProtocolEventReceiver(TextArg eventName) {
  DevToolsProtocolEventReceiverWrapper receiver;
  Call(*this, &ICoreWebView2::GetDevToolsProtocolEventReceiver, WideArg(eventName), OutSlot(receiver));
  return receiver;
}

HRESULT WebViewWrapper::Stop() { return Call(*this, &ICoreWebView2::Stop); }

EventRegistrationToken WebViewWrapper::add_NewWindowRequested(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_NewWindowRequested,
                   {IidText::ICoreWebView2NewWindowRequestedEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_NewWindowRequested(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_NewWindowRequested, token);
}

EventRegistrationToken WebViewWrapper::add_DocumentTitleChanged(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_DocumentTitleChanged,
                   {IidText::ICoreWebView2DocumentTitleChangedEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_DocumentTitleChanged(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_DocumentTitleChanged, token);
}

Utf8Text WebViewWrapper::get_DocumentTitle() { return TextProperty(*this, &ICoreWebView2::get_DocumentTitle); }

HRESULT WebViewWrapper::AddHostObjectToScript(TextArg name, ComRef hostObject) {
  UniqueVariant object;
  if (hostObject) {
    IUnknown* unknown = nullptr;
    if (SUCCEEDED(QueryInterfaceByText(hostObject.Get(), IidText::IUnknown, reinterpret_cast<void**>(&unknown))) &&
        unknown != nullptr) {
      VARIANT* value = object.put();
      V_VT(value) = VT_UNKNOWN;
      V_UNKNOWN(value) = unknown;
    }
  }
  // The VARIANT carries its own reference now; the one given to us goes before the call.
  hostObject = ComRef();
  return Call(*this, &ICoreWebView2::AddHostObjectToScript, WideArg(name), object.addressof());
}

HRESULT WebViewWrapper::RemoveHostObjectFromScript(TextArg name) {
  return Call(*this, &ICoreWebView2::RemoveHostObjectFromScript, WideArg(name));
}

HRESULT WebViewWrapper::OpenDevToolsWindow() { return Call(*this, &ICoreWebView2::OpenDevToolsWindow); }

EventRegistrationToken WebViewWrapper::add_ContainsFullScreenElementChanged(CallbackRoutine routine,
                                                                            ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_ContainsFullScreenElementChanged,
                   {IidText::ICoreWebView2ContainsFullScreenElementChangedEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_ContainsFullScreenElementChanged(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_ContainsFullScreenElementChanged, token);
}

BOOL WebViewWrapper::get_ContainsFullScreenElement() {
  return Property(*this, &ICoreWebView2::get_ContainsFullScreenElement);
}

EventRegistrationToken WebViewWrapper::add_WebResourceRequested(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_WebResourceRequested,
                   {IidText::ICoreWebView2WebResourceRequestedEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_WebResourceRequested(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_WebResourceRequested, token);
}

HRESULT WebViewWrapper::AddWebResourceRequestedFilter(TextArg uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) {
  return Call(*this, &ICoreWebView2::AddWebResourceRequestedFilter, WideArg(uri), resourceContext);
}

HRESULT WebViewWrapper::RemoveWebResourceRequestedFilter(TextArg uri,
                                                         COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) {
  return Call(*this, &ICoreWebView2::RemoveWebResourceRequestedFilter, WideArg(uri), resourceContext);
}

EventRegistrationToken WebViewWrapper::add_WindowCloseRequested(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2::add_WindowCloseRequested,
                   {IidText::ICoreWebView2WindowCloseRequestedEventHandler, routine, context});
}

HRESULT WebViewWrapper::remove_WindowCloseRequested(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2::remove_WindowCloseRequested, token);
}
