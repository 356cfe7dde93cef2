#pragma once

// The browser view: navigation, scripts, web messages, host objects, DevTools and every event of
// ICoreWebView2, one method for each of its methods in its order.

#include <windows.h>
#include <eventtoken.h>

#include <memory>

#include "com/callback_object.h"
#include "com/interface_holder.h"
#include "com/text.h"
#include "webview2/webview.h"
#include "wrappers/small_wrappers.h"

// Holds an ICoreWebView2. Texts in and out are UTF-8; an absent text argument reaches WebView2 as
// the empty string. Methods answer S_FALSE, 0, the empty text or token 0 when the holder is empty,
// except the four asynchronous calls, which answer E_FAIL. Every event routine receives
// (context, view, args); the completion routines receive (context, error code, result).
class WebViewWrapper : public InterfaceHolder {
 public:
  WebViewWrapper() = default;
  ~WebViewWrapper() override;
  std::unique_ptr<InterfaceHolder> Clone() const override;

  // Empties target, then fills it with the view's ICoreWebView2Settings.
  virtual HRESULT get_Settings(InterfaceHolder& target);
  virtual Utf8Text get_Source();
  virtual HRESULT Navigate(TextArg uri);
  virtual HRESULT NavigateToString(TextArg htmlContent);
  virtual EventRegistrationToken add_NavigationStarting(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_NavigationStarting(EventRegistrationToken token);
  virtual EventRegistrationToken add_ContentLoading(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_ContentLoading(EventRegistrationToken token);
  virtual EventRegistrationToken add_SourceChanged(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_SourceChanged(EventRegistrationToken token);
  virtual EventRegistrationToken add_HistoryChanged(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_HistoryChanged(EventRegistrationToken token);
  virtual EventRegistrationToken add_NavigationCompleted(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_NavigationCompleted(EventRegistrationToken token);
  virtual EventRegistrationToken add_FrameNavigationStarting(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_FrameNavigationStarting(EventRegistrationToken token);
  virtual EventRegistrationToken add_FrameNavigationCompleted(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_FrameNavigationCompleted(EventRegistrationToken token);
  virtual EventRegistrationToken add_ScriptDialogOpening(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_ScriptDialogOpening(EventRegistrationToken token);
  virtual EventRegistrationToken add_PermissionRequested(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_PermissionRequested(EventRegistrationToken token);
  virtual EventRegistrationToken add_ProcessFailed(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_ProcessFailed(EventRegistrationToken token);
  // The routine receives the script's id as a UTF-16 text that WebView2 owns during the call.
  virtual HRESULT AddScriptToExecuteOnDocumentCreated(TextArg javaScript, CallbackRoutine routine, ULONG_PTR context);
  // id: the UTF-16 text that the routine above received, passed on unconverted.
  virtual HRESULT RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id);
  virtual HRESULT ExecuteScript(TextArg javaScript, CallbackRoutine routine, ULONG_PTR context);
  // imageStream: a holder of the IStream to write, or an empty one. The routine receives
  // (context, error code).
  virtual HRESULT CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT imageFormat,
                                 const InterfaceHolder& imageStream, SingleArgCallbackRoutine routine,
                                 ULONG_PTR context);
  virtual HRESULT Reload();
  virtual HRESULT PostWebMessageAsJson(TextArg webMessageAsJson);
  virtual HRESULT PostWebMessageAsString(TextArg webMessageAsString);
  virtual EventRegistrationToken add_WebMessageReceived(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_WebMessageReceived(EventRegistrationToken token);
  virtual HRESULT CallDevToolsProtocolMethod(TextArg methodName, TextArg parametersAsJson, CallbackRoutine routine,
                                             ULONG_PTR context);
  virtual UINT32 get_BrowserProcessId();
  virtual BOOL get_CanGoBack();
  virtual BOOL get_CanGoForward();
  virtual HRESULT GoBack();
  virtual HRESULT GoForward();
  // A receiver with a reference of its own; an empty one when the holder is empty or the call fails.
  virtual DevToolsProtocolEventReceiverWrapper GetDevToolsProtocolEventReceiver(TextArg eventName);
  virtual HRESULT Stop();
  virtual EventRegistrationToken add_NewWindowRequested(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_NewWindowRequested(EventRegistrationToken token);
  virtual EventRegistrationToken add_DocumentTitleChanged(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_DocumentTitleChanged(EventRegistrationToken token);
  virtual Utf8Text get_DocumentTitle();
  // hostObject: a new reference, which the method takes over (ScriptHostWrapper::Duplicate gives
  // one). The object goes to WebView2 as a VT_UNKNOWN VARIANT, or VT_EMPTY when hostObject is
  // empty or does not answer IUnknown.
  virtual HRESULT AddHostObjectToScript(TextArg name, ComRef hostObject);
  virtual HRESULT RemoveHostObjectFromScript(TextArg name);
  virtual HRESULT OpenDevToolsWindow();
  virtual EventRegistrationToken add_ContainsFullScreenElementChanged(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_ContainsFullScreenElementChanged(EventRegistrationToken token);
  virtual BOOL get_ContainsFullScreenElement();
  virtual EventRegistrationToken add_WebResourceRequested(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_WebResourceRequested(EventRegistrationToken token);
  virtual HRESULT AddWebResourceRequestedFilter(TextArg uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext);
  virtual HRESULT RemoveWebResourceRequestedFilter(TextArg uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext);
  virtual EventRegistrationToken add_WindowCloseRequested(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_WindowCloseRequested(EventRegistrationToken token);
};
