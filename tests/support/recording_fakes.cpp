#include "support/recording_fakes.h"

#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cstring>

ULONG ReferenceCount(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

Recorder::~Recorder() { DropAll(); }

std::vector<IUnknown*> Recorder::HandlersOf(const std::string& event) const {
  std::vector<IUnknown*> handlers;
  for (const KeptHandler& k : kept) {
    if (k.event == event) handlers.push_back(k.handler);
  }
  return handlers;
}

void Recorder::DropAll() {
  for (const KeptHandler& k : kept) droppedAnswers.push_back(k.handler->Release());
  kept.clear();
  for (VARIANT& v : keptVariants) VariantClear(&v);
  keptVariants.clear();
}

namespace {

// "add_GotFocus" and "remove_GotFocus" both name the event "GotFocus".
std::string EventName(const char* method) {
  const char* underscore = std::strchr(method, '_');
  return underscore == nullptr ? method : underscore + 1;
}

}  // namespace

HRESULT Recorder::Subscribe(const char* method, IUnknown* handler, EventRegistrationToken* token) {
  const HRESULT result = Record(method);
  if (probing) return result;
  calls.back().pointers.push_back(handler);
  if (SUCCEEDED(result)) {
    token->value = answers.nextToken++;
    Keep(EventName(method), token->value, handler);
  }
  return result;
}

HRESULT Recorder::Unsubscribe(const char* method, EventRegistrationToken token) {
  const HRESULT result = Record(method, token);
  if (!probing) Drop(EventName(method), token.value);
  return result;
}

void Recorder::Keep(const std::string& event, std::int64_t token, IUnknown* handler) {
  handler->AddRef();
  kept.push_back({event, token, handler});
}

void Recorder::Drop(const std::string& event, std::int64_t token) {
  const auto dropped = std::stable_partition(
      kept.begin(), kept.end(), [&](const KeptHandler& k) { return k.event != event || k.token != token; });
  for (auto k = dropped; k != kept.end(); ++k) droppedAnswers.push_back(k->handler->Release());
  kept.erase(dropped, kept.end());
}

void Recorder::NoteText(RecordedCall& call, LPCWSTR text) {
  call.texts.push_back(text == nullptr ? std::nullopt : std::optional<std::wstring>(text));
}

void Recorder::NoteVariant(RecordedCall& call, VARIANT* variant) {
  call.numbers.push_back(V_VT(variant));
  if (V_VT(variant) == VT_UNKNOWN) call.pointers.push_back(V_UNKNOWN(variant));
  VARIANT copy;
  VariantInit(&copy);
  VariantCopy(&copy, variant);
  keptVariants.push_back(copy);
}

void Recorder::WriteText(LPWSTR* out) {
  *out = nullptr;
  if (!answers.text) return;
  const std::size_t bytes = (answers.text->size() + 1) * sizeof(WCHAR);
  *out = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  std::memcpy(*out, answers.text->c_str(), bytes);
  handedOutTexts.push_back(*out);
}

void Recorder::WriteObject(void** out) {
  *out = answers.object;
  if (answers.object != nullptr) answers.object->AddRef();
}

FakeEnvironment::FakeEnvironment()
    : FakeObject({IidText::ICoreWebView2Environment, IidText::ICoreWebView2Environment2,
                  IidText::ICoreWebView2Environment3, IidText::ICoreWebView2Environment4}) {}

HRESULT FakeEnvironment::CreateCoreWebView2Controller(
    HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) {
  return Start(__func__, handler, parentWindow);
}
HRESULT FakeEnvironment::CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase,
                                                   LPCWSTR headers, ICoreWebView2WebResourceResponse** response) {
  return Record(__func__, content, statusCode, reasonPhrase, headers, response);
}
HRESULT FakeEnvironment::get_BrowserVersionString(LPWSTR* versionInfo) { return Record(__func__, versionInfo); }
HRESULT FakeEnvironment::add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler* handler,
                                                        EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeEnvironment::remove_NewBrowserVersionAvailable(EventRegistrationToken token) {
  return Unsubscribe(__func__, token);
}
HRESULT FakeEnvironment::CreateWebResourceRequest(LPCWSTR uri, LPCWSTR method, IStream* postData, LPCWSTR headers,
                                                  ICoreWebView2WebResourceRequest** request) {
  return Record(__func__, uri, method, postData, headers, request);
}
HRESULT FakeEnvironment::CreateCoreWebView2CompositionController(
    HWND parentWindow, ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler* handler) {
  return Start(__func__, handler, parentWindow);
}
HRESULT FakeEnvironment::CreateCoreWebView2PointerInfo(ICoreWebView2PointerInfo** pointerInfo) {
  return Record(__func__, pointerInfo);
}
HRESULT FakeEnvironment::GetAutomationProviderForWindow(HWND window, IUnknown** provider) {
  return Record(__func__, window, provider);
}

FakeController::FakeController() : FakeObject({IidText::ICoreWebView2Controller}) {}

HRESULT FakeController::get_IsVisible(BOOL* isVisible) { return Record(__func__, isVisible); }
HRESULT FakeController::put_IsVisible(BOOL isVisible) { return Record(__func__, isVisible); }
HRESULT FakeController::get_Bounds(RECT* bounds) { return Record(__func__, bounds); }
HRESULT FakeController::put_Bounds(RECT bounds) { return Record(__func__, bounds); }
HRESULT FakeController::get_ZoomFactor(double* zoomFactor) { return Record(__func__, zoomFactor); }
HRESULT FakeController::put_ZoomFactor(double zoomFactor) { return Record(__func__, zoomFactor); }
HRESULT FakeController::add_ZoomFactorChanged(ICoreWebView2ZoomFactorChangedEventHandler* handler,
                                              EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeController::remove_ZoomFactorChanged(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeController::SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) {
  return Record(__func__, bounds, zoomFactor);
}
HRESULT FakeController::MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) { return Record(__func__, reason); }
HRESULT FakeController::add_MoveFocusRequested(ICoreWebView2MoveFocusRequestedEventHandler* handler,
                                               EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeController::remove_MoveFocusRequested(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeController::add_GotFocus(ICoreWebView2FocusChangedEventHandler* handler, EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeController::remove_GotFocus(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeController::add_LostFocus(ICoreWebView2FocusChangedEventHandler* handler, EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeController::remove_LostFocus(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeController::add_AcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventHandler* handler,
                                                  EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeController::remove_AcceleratorKeyPressed(EventRegistrationToken token) {
  return Unsubscribe(__func__, token);
}
HRESULT FakeController::get_ParentWindow(HWND* parentWindow) { return Record(__func__, parentWindow); }
HRESULT FakeController::put_ParentWindow(HWND parentWindow) { return Record(__func__, parentWindow); }
HRESULT FakeController::NotifyParentWindowPositionChanged() { return Record(__func__); }
HRESULT FakeController::Close() { return Record(__func__); }
HRESULT FakeController::get_CoreWebView2(ICoreWebView2** coreWebView2) { return Record(__func__, coreWebView2); }

FakeWebView::FakeWebView()
    : FakeObject({IidText::ICoreWebView2, IidText::ICoreWebView2_2, IidText::ICoreWebView2_3, IidText::ICoreWebView2_4,
                  IidText::ICoreWebView2_5, IidText::ICoreWebView2_6, IidText::ICoreWebView2_7,
                  IidText::ICoreWebView2_8, IidText::ICoreWebView2_9, IidText::ICoreWebView2_10,
                  IidText::ICoreWebView2_11, IidText::ICoreWebView2_12, IidText::ICoreWebView2_13,
                  IidText::ICoreWebView2_14, IidText::ICoreWebView2_15}) {}

HRESULT FakeWebView::get_Settings(ICoreWebView2Settings** settings) { return Record(__func__, settings); }
HRESULT FakeWebView::Unimplemented(const char* method) {
  Record(method);
  return probing ? S_OK : E_NOTIMPL;
}
HRESULT FakeWebView::get_Source(LPWSTR* uri) { return Record(__func__, uri); }
HRESULT FakeWebView::Navigate(LPCWSTR uri) { return Record(__func__, uri); }
HRESULT FakeWebView::NavigateToString(LPCWSTR htmlContent) { return Record(__func__, htmlContent); }
HRESULT FakeWebView::add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* handler,
                                            EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_NavigationStarting(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeWebView::add_ContentLoading(ICoreWebView2ContentLoadingEventHandler* handler,
                                        EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_ContentLoading(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeWebView::add_SourceChanged(ICoreWebView2SourceChangedEventHandler* handler, EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_SourceChanged(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeWebView::add_HistoryChanged(ICoreWebView2HistoryChangedEventHandler* handler,
                                        EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_HistoryChanged(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeWebView::add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* handler,
                                             EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_NavigationCompleted(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeWebView::add_FrameNavigationStarting(ICoreWebView2NavigationStartingEventHandler* handler,
                                                 EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_FrameNavigationStarting(EventRegistrationToken token) {
  return Unsubscribe(__func__, token);
}
HRESULT FakeWebView::add_FrameNavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* handler,
                                                  EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_FrameNavigationCompleted(EventRegistrationToken token) {
  return Unsubscribe(__func__, token);
}
HRESULT FakeWebView::add_ScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventHandler* handler,
                                             EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_ScriptDialogOpening(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeWebView::add_PermissionRequested(ICoreWebView2PermissionRequestedEventHandler* handler,
                                             EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_PermissionRequested(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeWebView::add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler* handler, EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_ProcessFailed(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeWebView::AddScriptToExecuteOnDocumentCreated(
    LPCWSTR javaScript, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) {
  return Start(__func__, handler, javaScript);
}
HRESULT FakeWebView::RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) { return Record(__func__, id); }
HRESULT FakeWebView::ExecuteScript(LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler* handler) {
  return Start(__func__, handler, javaScript);
}
HRESULT FakeWebView::CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT imageFormat, IStream* imageStream,
                                    ICoreWebView2CapturePreviewCompletedHandler* handler) {
  return Start(__func__, handler, imageFormat, imageStream);
}
HRESULT FakeWebView::Reload() { return Record(__func__); }
HRESULT FakeWebView::PostWebMessageAsJson(LPCWSTR webMessageAsJson) { return Record(__func__, webMessageAsJson); }
HRESULT FakeWebView::PostWebMessageAsString(LPCWSTR webMessageAsString) { return Record(__func__, webMessageAsString); }
HRESULT FakeWebView::add_WebMessageReceived(ICoreWebView2WebMessageReceivedEventHandler* handler,
                                            EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_WebMessageReceived(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeWebView::CallDevToolsProtocolMethod(LPCWSTR methodName, LPCWSTR parametersAsJson,
                                                ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) {
  return Start(__func__, handler, methodName, parametersAsJson);
}
HRESULT FakeWebView::get_BrowserProcessId(UINT32* value) { return Record(__func__, value); }
HRESULT FakeWebView::get_CanGoBack(BOOL* canGoBack) { return Record(__func__, canGoBack); }
HRESULT FakeWebView::get_CanGoForward(BOOL* canGoForward) { return Record(__func__, canGoForward); }
HRESULT FakeWebView::GoBack() { return Record(__func__); }
HRESULT FakeWebView::GoForward() { return Record(__func__); }
HRESULT FakeWebView::GetDevToolsProtocolEventReceiver(LPCWSTR eventName,
                                                      ICoreWebView2DevToolsProtocolEventReceiver** receiver) {
  return Record(__func__, eventName, receiver);
}
HRESULT FakeWebView::Stop() { return Record(__func__); }
HRESULT FakeWebView::add_NewWindowRequested(ICoreWebView2NewWindowRequestedEventHandler* handler,
                                            EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_NewWindowRequested(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeWebView::add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler* handler,
                                              EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_DocumentTitleChanged(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeWebView::get_DocumentTitle(LPWSTR* title) { return Record(__func__, title); }
HRESULT FakeWebView::AddHostObjectToScript(LPCWSTR name, VARIANT* object) { return Record(__func__, name, object); }
HRESULT FakeWebView::RemoveHostObjectFromScript(LPCWSTR name) { return Record(__func__, name); }
HRESULT FakeWebView::OpenDevToolsWindow() { return Record(__func__); }
HRESULT FakeWebView::add_ContainsFullScreenElementChanged(
    ICoreWebView2ContainsFullScreenElementChangedEventHandler* handler, EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_ContainsFullScreenElementChanged(EventRegistrationToken token) {
  return Unsubscribe(__func__, token);
}
HRESULT FakeWebView::get_ContainsFullScreenElement(BOOL* containsFullScreenElement) {
  return Record(__func__, containsFullScreenElement);
}
HRESULT FakeWebView::add_WebResourceRequested(ICoreWebView2WebResourceRequestedEventHandler* handler,
                                              EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_WebResourceRequested(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeWebView::AddWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) {
  return Record(__func__, uri, resourceContext);
}
HRESULT FakeWebView::RemoveWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) {
  return Record(__func__, uri, resourceContext);
}
HRESULT FakeWebView::add_WindowCloseRequested(ICoreWebView2WindowCloseRequestedEventHandler* handler,
                                              EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_WindowCloseRequested(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeWebView::add_FaviconChanged(ICoreWebView2FaviconChangedEventHandler* handler,
                                        EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeWebView::remove_FaviconChanged(EventRegistrationToken token) { return Unsubscribe(__func__, token); }
HRESULT FakeWebView::get_FaviconUri(LPWSTR* value) { return Record(__func__, value); }
HRESULT FakeWebView::GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT format,
                                ICoreWebView2GetFaviconCompletedHandler* completedHandler) {
  return Start(__func__, completedHandler, format);
}

FakeNavigationCompletedArgs::FakeNavigationCompletedArgs()
    : FakeObject({IidText::ICoreWebView2NavigationCompletedEventArgs}) {}

HRESULT FakeNavigationCompletedArgs::get_IsSuccess(BOOL* isSuccess) { return Record(__func__, isSuccess); }
HRESULT FakeNavigationCompletedArgs::get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* webErrorStatus) {
  return Record(__func__, webErrorStatus);
}
HRESULT FakeNavigationCompletedArgs::get_NavigationId(UINT64* navigationId) { return Record(__func__, navigationId); }

FakeDevToolsReceiver::FakeDevToolsReceiver() : FakeObject({IidText::ICoreWebView2DevToolsProtocolEventReceiver}) {}

HRESULT FakeDevToolsReceiver::add_DevToolsProtocolEventReceived(
    ICoreWebView2DevToolsProtocolEventReceivedEventHandler* handler, EventRegistrationToken* token) {
  return Subscribe(__func__, handler, token);
}
HRESULT FakeDevToolsReceiver::remove_DevToolsProtocolEventReceived(EventRegistrationToken token) {
  return Unsubscribe(__func__, token);
}
