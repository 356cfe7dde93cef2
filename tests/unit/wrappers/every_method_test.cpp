#include <gtest/gtest.h>

#include <string>

#include "support/process_heap.h"
#include "unit/wrappers/wrapped_fakes.h"

// Every method of every wrapper class that calls through a COM table, in the order of its class:
// what it answers when its holder is empty, and which COM method it reaches when it is not.

namespace {

const HWND kWindow = reinterpret_cast<HWND>(0x1234);
constexpr EventRegistrationToken kToken{0x100000001};
// A success code that no wrapper makes up itself.
constexpr HRESULT kDistinctResult = 0x00000007;

enum Returns { kResult, kValue };

using W = WrappedFakes;
template <class T>
Answer A(const T& value) {
  return AnswerOf(value);
}
const Answer kNoText = std::string();
const Answer kZero = std::int64_t{0};
const Answer kZeroReal = 0.0;

struct MethodRow {
  const char* method;
  const char* comMethod;
  Answer empty;
  Returns returns;
  Answer (*call)(WrappedFakes& w);
};

const std::vector<MethodRow>& Rows() {
  static const std::vector<MethodRow> rows = {
      {"EnvironmentWrapper::CreateCoreWebView2Controller", "CreateCoreWebView2Controller", A(E_OUTOFMEMORY), kResult,
       [](W& w) { return A(w.environment.CreateCoreWebView2Controller(kWindow, NotingRoutine, 1)); }},
      {"EnvironmentWrapper::CreateWebResourceResponse", "CreateWebResourceResponse", A(E_FAIL), kResult,
       [](W& w) { return A(w.environment.CreateWebResourceResponse(InterfaceHolder(), 200, "OK", nullptr, w.out)); }},
      {"EnvironmentWrapper::get_BrowserVersionString", "get_BrowserVersionString", kNoText, kValue,
       [](W& w) { return A(w.environment.get_BrowserVersionString()); }},
      {"EnvironmentWrapper::add_NewBrowserVersionAvailable", "add_NewBrowserVersionAvailable", kZero, kValue,
       [](W& w) { return A(w.environment.add_NewBrowserVersionAvailable(NotingRoutine, 1)); }},
      {"EnvironmentWrapper::remove_NewBrowserVersionAvailable",
       "remove_NewBrowserVersionAvailable", A(S_FALSE), kResult,
       [](W& w) { return A(w.environment.remove_NewBrowserVersionAvailable(kToken)); }},
      {"Environment4Wrapper::CreateCoreWebView2Controller", "CreateCoreWebView2Controller", A(E_OUTOFMEMORY), kResult,
       [](W& w) { return A(w.environment4.CreateCoreWebView2Controller(kWindow, NotingRoutine, 1)); }},
      {"Environment4Wrapper::CreateWebResourceResponse", "CreateWebResourceResponse", A(E_FAIL), kResult,
       [](W& w) { return A(w.environment4.CreateWebResourceResponse(InterfaceHolder(), 200, "OK", nullptr, w.out)); }},
      {"Environment4Wrapper::get_BrowserVersionString", "get_BrowserVersionString", kNoText, kValue,
       [](W& w) { return A(w.environment4.get_BrowserVersionString()); }},
      {"Environment4Wrapper::add_NewBrowserVersionAvailable", "add_NewBrowserVersionAvailable", kZero, kValue,
       [](W& w) { return A(w.environment4.add_NewBrowserVersionAvailable(NotingRoutine, 1)); }},
      {"Environment4Wrapper::remove_NewBrowserVersionAvailable",
       "remove_NewBrowserVersionAvailable", A(S_FALSE), kResult,
       [](W& w) { return A(w.environment4.remove_NewBrowserVersionAvailable(kToken)); }},
      {"Environment4Wrapper::CreateWebResourceRequest", "CreateWebResourceRequest", A(S_FALSE), kResult,
       [](W& w) { return A(w.environment4.CreateWebResourceRequest("u", "GET", InterfaceHolder(), "", w.out)); }},
      {"Environment4Wrapper::CreateCoreWebView2CompositionController",
       "CreateCoreWebView2CompositionController", A(E_FAIL), kResult,
       [](W& w) { return A(w.environment4.CreateCoreWebView2CompositionController(kWindow, NotingRoutine, 1)); }},
      {"Environment4Wrapper::CreateCoreWebView2PointerInfo", "CreateCoreWebView2PointerInfo", A(S_FALSE), kResult,
       [](W& w) { return A(w.environment4.CreateCoreWebView2PointerInfo(w.out)); }},
      {"Environment4Wrapper::GetAutomationProviderForWindow", "GetAutomationProviderForWindow", A(S_FALSE), kResult,
       [](W& w) { return A(w.environment4.GetAutomationProviderForWindow(kWindow, w.out)); }},
      {"ControllerWrapper::get_IsVisible", "get_IsVisible", kZero, kValue,
       [](W& w) { return A(w.controller.get_IsVisible()); }},
      {"ControllerWrapper::put_IsVisible", "put_IsVisible", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.put_IsVisible(TRUE)); }},
      {"ControllerWrapper::get_Bounds", "get_Bounds", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.get_Bounds(w.rect)); }},
      {"ControllerWrapper::put_Bounds", "put_Bounds", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.put_Bounds(0, 0, 800, 600)); }},
      {"ControllerWrapper::put_BoundsRect", "put_Bounds", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.put_BoundsRect(w.rect)); }},
      {"ControllerWrapper::get_ZoomFactor", "get_ZoomFactor", kZeroReal, kValue,
       [](W& w) { return A(w.controller.get_ZoomFactor()); }},
      {"ControllerWrapper::put_ZoomFactor", "put_ZoomFactor", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.put_ZoomFactor(1.5)); }},
      {"ControllerWrapper::add_ZoomFactorChanged", "add_ZoomFactorChanged", kZero, kValue,
       [](W& w) { return A(w.controller.add_ZoomFactorChanged(NotingRoutine, 1)); }},
      {"ControllerWrapper::remove_ZoomFactorChanged", "remove_ZoomFactorChanged", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.remove_ZoomFactorChanged(kToken)); }},
      {"ControllerWrapper::SetBoundsAndZoomFactor", "SetBoundsAndZoomFactor", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.SetBoundsAndZoomFactor(w.rect, 1.5)); }},
      {"ControllerWrapper::MoveFocus", "MoveFocus", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT)); }},
      {"ControllerWrapper::add_MoveFocusRequested", "add_MoveFocusRequested", kZero, kValue,
       [](W& w) { return A(w.controller.add_MoveFocusRequested(NotingRoutine, 1)); }},
      {"ControllerWrapper::remove_MoveFocusRequested", "remove_MoveFocusRequested", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.remove_MoveFocusRequested(kToken)); }},
      {"ControllerWrapper::add_GotFocus", "add_GotFocus", kZero, kValue,
       [](W& w) { return A(w.controller.add_GotFocus(NotingRoutine, 1)); }},
      {"ControllerWrapper::remove_GotFocus", "remove_GotFocus", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.remove_GotFocus(kToken)); }},
      {"ControllerWrapper::add_LostFocus", "add_LostFocus", kZero, kValue,
       [](W& w) { return A(w.controller.add_LostFocus(NotingRoutine, 1)); }},
      {"ControllerWrapper::remove_LostFocus", "remove_LostFocus", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.remove_LostFocus(kToken)); }},
      {"ControllerWrapper::add_AcceleratorKeyPressed", "add_AcceleratorKeyPressed", kZero, kValue,
       [](W& w) { return A(w.controller.add_AcceleratorKeyPressed(NotingRoutine, 1)); }},
      {"ControllerWrapper::remove_AcceleratorKeyPressed", "remove_AcceleratorKeyPressed", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.remove_AcceleratorKeyPressed(kToken)); }},
      {"ControllerWrapper::get_ParentWindow", "get_ParentWindow", kZero, kValue,
       [](W& w) { return A(w.controller.get_ParentWindow()); }},
      {"ControllerWrapper::put_ParentWindow", "put_ParentWindow", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.put_ParentWindow(kWindow)); }},
      {"ControllerWrapper::NotifyParentWindowPositionChanged", "NotifyParentWindowPositionChanged", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.NotifyParentWindowPositionChanged()); }},
      {"ControllerWrapper::Close", "Close", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.Close()); }},
      {"ControllerWrapper::get_CoreWebView2", "get_CoreWebView2", A(S_FALSE), kResult,
       [](W& w) { return A(w.controller.get_CoreWebView2(w.out)); }},
      {"NavigationCompletedArgsWrapper::get_IsSuccess", "get_IsSuccess", kZero, kValue,
       [](W& w) { return A(w.args.get_IsSuccess()); }},
      {"NavigationCompletedArgsWrapper::get_WebErrorStatus", "get_WebErrorStatus", kZero, kValue,
       [](W& w) { return A(w.args.get_WebErrorStatus()); }},
      {"NavigationCompletedArgsWrapper::get_NavigationId", "get_NavigationId", kZero, kValue,
       [](W& w) { return A(w.args.get_NavigationId()); }},
      {"WebView15Wrapper::add_FaviconChanged", "add_FaviconChanged", kZero, kValue,
       [](W& w) { return A(w.view15.add_FaviconChanged(NotingRoutine, 1)); }},
      {"WebView15Wrapper::remove_FaviconChanged", "remove_FaviconChanged", A(S_FALSE), kResult,
       [](W& w) { return A(w.view15.remove_FaviconChanged(kToken)); }},
      {"WebView15Wrapper::get_FaviconUri", "get_FaviconUri", kNoText, kValue,
       [](W& w) { return A(w.view15.get_FaviconUri()); }},
      {"WebView15Wrapper::GetFavicon", "GetFavicon", A(E_FAIL), kResult,
       [](W& w) { return A(w.view15.GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT_PNG, NotingRoutine, 1)); }},
      {"DevToolsProtocolEventReceiverWrapper::add_DevToolsProtocolEventReceived",
       "add_DevToolsProtocolEventReceived", kZero, kValue,
       [](W& w) { return A(w.receiver.add_DevToolsProtocolEventReceived(NotingRoutine, 1)); }},
      {"DevToolsProtocolEventReceiverWrapper::remove_DevToolsProtocolEventReceived",
       "remove_DevToolsProtocolEventReceived", A(S_FALSE), kResult,
       [](W& w) { return A(w.receiver.remove_DevToolsProtocolEventReceived(kToken)); }},
      {"WebViewWrapper::get_Settings", "get_Settings", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.get_Settings(w.out)); }},
      {"WebViewWrapper::get_Source", "get_Source", kNoText, kValue,
       [](W& w) { return A(w.view.get_Source()); }},
      {"WebViewWrapper::Navigate", "Navigate", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.Navigate("http://a/")); }},
      {"WebViewWrapper::NavigateToString", "NavigateToString", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.NavigateToString("<p>")); }},
      {"WebViewWrapper::add_NavigationStarting", "add_NavigationStarting", kZero, kValue,
       [](W& w) { return A(w.view.add_NavigationStarting(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_NavigationStarting", "remove_NavigationStarting", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_NavigationStarting(kToken)); }},
      {"WebViewWrapper::add_ContentLoading", "add_ContentLoading", kZero, kValue,
       [](W& w) { return A(w.view.add_ContentLoading(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_ContentLoading", "remove_ContentLoading", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_ContentLoading(kToken)); }},
      {"WebViewWrapper::add_SourceChanged", "add_SourceChanged", kZero, kValue,
       [](W& w) { return A(w.view.add_SourceChanged(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_SourceChanged", "remove_SourceChanged", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_SourceChanged(kToken)); }},
      {"WebViewWrapper::add_HistoryChanged", "add_HistoryChanged", kZero, kValue,
       [](W& w) { return A(w.view.add_HistoryChanged(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_HistoryChanged", "remove_HistoryChanged", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_HistoryChanged(kToken)); }},
      {"WebViewWrapper::add_NavigationCompleted", "add_NavigationCompleted", kZero, kValue,
       [](W& w) { return A(w.view.add_NavigationCompleted(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_NavigationCompleted", "remove_NavigationCompleted", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_NavigationCompleted(kToken)); }},
      {"WebViewWrapper::add_FrameNavigationStarting", "add_FrameNavigationStarting", kZero, kValue,
       [](W& w) { return A(w.view.add_FrameNavigationStarting(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_FrameNavigationStarting", "remove_FrameNavigationStarting", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_FrameNavigationStarting(kToken)); }},
      {"WebViewWrapper::add_FrameNavigationCompleted", "add_FrameNavigationCompleted", kZero, kValue,
       [](W& w) { return A(w.view.add_FrameNavigationCompleted(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_FrameNavigationCompleted", "remove_FrameNavigationCompleted", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_FrameNavigationCompleted(kToken)); }},
      {"WebViewWrapper::add_ScriptDialogOpening", "add_ScriptDialogOpening", kZero, kValue,
       [](W& w) { return A(w.view.add_ScriptDialogOpening(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_ScriptDialogOpening", "remove_ScriptDialogOpening", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_ScriptDialogOpening(kToken)); }},
      {"WebViewWrapper::add_PermissionRequested", "add_PermissionRequested", kZero, kValue,
       [](W& w) { return A(w.view.add_PermissionRequested(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_PermissionRequested", "remove_PermissionRequested", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_PermissionRequested(kToken)); }},
      {"WebViewWrapper::add_ProcessFailed", "add_ProcessFailed", kZero, kValue,
       [](W& w) { return A(w.view.add_ProcessFailed(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_ProcessFailed", "remove_ProcessFailed", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_ProcessFailed(kToken)); }},
      {"WebViewWrapper::AddScriptToExecuteOnDocumentCreated", "AddScriptToExecuteOnDocumentCreated", A(E_FAIL), kResult,
       [](W& w) { return A(w.view.AddScriptToExecuteOnDocumentCreated("1", NotingRoutine, 1)); }},
      {"WebViewWrapper::RemoveScriptToExecuteOnDocumentCreated",
       "RemoveScriptToExecuteOnDocumentCreated", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.RemoveScriptToExecuteOnDocumentCreated(L"id")); }},
      {"WebViewWrapper::ExecuteScript", "ExecuteScript", A(E_FAIL), kResult,
       [](W& w) { return A(w.view.ExecuteScript("1", NotingRoutine, 1)); }},
      {"WebViewWrapper::CapturePreview", "CapturePreview", A(E_FAIL), kResult,
       [](W& w) {
         return A(w.view.CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_PNG, InterfaceHolder(),
                                     NotingSingleArgRoutine, 1));
       }},
      {"WebViewWrapper::Reload", "Reload", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.Reload()); }},
      {"WebViewWrapper::PostWebMessageAsJson", "PostWebMessageAsJson", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.PostWebMessageAsJson("{}")); }},
      {"WebViewWrapper::PostWebMessageAsString", "PostWebMessageAsString", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.PostWebMessageAsString("m")); }},
      {"WebViewWrapper::add_WebMessageReceived", "add_WebMessageReceived", kZero, kValue,
       [](W& w) { return A(w.view.add_WebMessageReceived(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_WebMessageReceived", "remove_WebMessageReceived", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_WebMessageReceived(kToken)); }},
      {"WebViewWrapper::CallDevToolsProtocolMethod", "CallDevToolsProtocolMethod", A(E_FAIL), kResult,
       [](W& w) { return A(w.view.CallDevToolsProtocolMethod("Page.reload", "{}", NotingRoutine, 1)); }},
      {"WebViewWrapper::get_BrowserProcessId", "get_BrowserProcessId", kZero, kValue,
       [](W& w) { return A(w.view.get_BrowserProcessId()); }},
      {"WebViewWrapper::get_CanGoBack", "get_CanGoBack", kZero, kValue,
       [](W& w) { return A(w.view.get_CanGoBack()); }},
      {"WebViewWrapper::get_CanGoForward", "get_CanGoForward", kZero, kValue,
       [](W& w) { return A(w.view.get_CanGoForward()); }},
      {"WebViewWrapper::GoBack", "GoBack", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.GoBack()); }},
      {"WebViewWrapper::GoForward", "GoForward", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.GoForward()); }},
      {"WebViewWrapper::GetDevToolsProtocolEventReceiver", "GetDevToolsProtocolEventReceiver", kZero, kValue,
       [](W& w) { return A(w.view.GetDevToolsProtocolEventReceiver("Network.dataReceived")); }},
      {"WebViewWrapper::Stop", "Stop", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.Stop()); }},
      {"WebViewWrapper::add_NewWindowRequested", "add_NewWindowRequested", kZero, kValue,
       [](W& w) { return A(w.view.add_NewWindowRequested(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_NewWindowRequested", "remove_NewWindowRequested", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_NewWindowRequested(kToken)); }},
      {"WebViewWrapper::add_DocumentTitleChanged", "add_DocumentTitleChanged", kZero, kValue,
       [](W& w) { return A(w.view.add_DocumentTitleChanged(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_DocumentTitleChanged", "remove_DocumentTitleChanged", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_DocumentTitleChanged(kToken)); }},
      {"WebViewWrapper::get_DocumentTitle", "get_DocumentTitle", kNoText, kValue,
       [](W& w) { return A(w.view.get_DocumentTitle()); }},
      {"WebViewWrapper::AddHostObjectToScript", "AddHostObjectToScript", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.AddHostObjectToScript("TestHost", ComRef())); }},
      {"WebViewWrapper::RemoveHostObjectFromScript", "RemoveHostObjectFromScript", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.RemoveHostObjectFromScript("TestHost")); }},
      {"WebViewWrapper::OpenDevToolsWindow", "OpenDevToolsWindow", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.OpenDevToolsWindow()); }},
      {"WebViewWrapper::add_ContainsFullScreenElementChanged", "add_ContainsFullScreenElementChanged", kZero, kValue,
       [](W& w) { return A(w.view.add_ContainsFullScreenElementChanged(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_ContainsFullScreenElementChanged",
       "remove_ContainsFullScreenElementChanged", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_ContainsFullScreenElementChanged(kToken)); }},
      {"WebViewWrapper::get_ContainsFullScreenElement", "get_ContainsFullScreenElement", kZero, kValue,
       [](W& w) { return A(w.view.get_ContainsFullScreenElement()); }},
      {"WebViewWrapper::add_WebResourceRequested", "add_WebResourceRequested", kZero, kValue,
       [](W& w) { return A(w.view.add_WebResourceRequested(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_WebResourceRequested", "remove_WebResourceRequested", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_WebResourceRequested(kToken)); }},
      {"WebViewWrapper::AddWebResourceRequestedFilter", "AddWebResourceRequestedFilter", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.AddWebResourceRequestedFilter("*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL)); }},
      {"WebViewWrapper::RemoveWebResourceRequestedFilter", "RemoveWebResourceRequestedFilter", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.RemoveWebResourceRequestedFilter("*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL)); }},
      {"WebViewWrapper::add_WindowCloseRequested", "add_WindowCloseRequested", kZero, kValue,
       [](W& w) { return A(w.view.add_WindowCloseRequested(NotingRoutine, 1)); }},
      {"WebViewWrapper::remove_WindowCloseRequested", "remove_WindowCloseRequested", A(S_FALSE), kResult,
       [](W& w) { return A(w.view.remove_WindowCloseRequested(kToken)); }},
  };
  return rows;
}

TEST(EveryWrapperMethod, AnswersItsEmptyResultAndLeavesNothingBehindOnAnEmptyHolder) {
  for (const MethodRow& row : Rows()) {
    SCOPED_TRACE(row.method);
    HeapBalance heap;  // no handler object or other block left behind
    WrappedFakes w(WrappedFakes::kEmpty);
    EXPECT_EQ(row.call(w), row.empty);
    EXPECT_TRUE(w.AllCalls().empty());
  }
}

TEST(EveryWrapperMethod, ReachesTheCOMMethodOfItsNameOnceAndPassesItsResultBack) {
  for (const MethodRow& row : Rows()) {
    SCOPED_TRACE(row.method);
    WrappedFakes w(WrappedFakes::kLive);
    w.SetResult(kDistinctResult);
    const Answer answer = row.call(w);
    const std::vector<RecordedCall> calls = w.AllCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].method, row.comMethod);
    if (row.returns == kResult) {
      EXPECT_EQ(answer, AnswerOf(kDistinctResult));
    }
  }
}

}  // namespace
