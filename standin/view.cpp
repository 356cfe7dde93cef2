#include "view.h"

#include "dispatcher.h"
#include "event_args.h"
#include "journal.h"
#include "knobs.h"
#include "navigation_uri.h"

namespace {

const HRESULT kEnded = HRESULT_FROM_WIN32(ERROR_INVALID_STATE);

// Navigation ids of the process: 64-bit, the first above 2^32 as the runtime's are.
std::uint64_t NextNavigationId() {
  static volatile LONG64 last = 0x100000000LL;
  return static_cast<std::uint64_t>(InterlockedIncrement64(&last));
}

template <class T>
HRESULT NotImplemented(T** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return E_NOTIMPL;
}

template <class T, class Value>
HRESULT Answer(T* out, Value value) {
  if (!out) return E_POINTER;
  *out = static_cast<T>(value);
  return S_OK;
}

}  // namespace

View::View(HWND window, const PageEngineSettings& settings) : ComObject({IidText::ICoreWebView2}) {
  if (!Withheld(L"webview15")) {
    // ICoreWebView2_15 derives from every version before it: one pointer answers them all.
    for (const char* version :
         {IidText::ICoreWebView2_2, IidText::ICoreWebView2_3, IidText::ICoreWebView2_4, IidText::ICoreWebView2_5,
          IidText::ICoreWebView2_6, IidText::ICoreWebView2_7, IidText::ICoreWebView2_8, IidText::ICoreWebView2_9,
          IidText::ICoreWebView2_10, IidText::ICoreWebView2_11, IidText::ICoreWebView2_12, IidText::ICoreWebView2_13,
          IidText::ICoreWebView2_14, IidText::ICoreWebView2_15})
      AlsoAnswer(version);
  }
  engine_ = CreateBuiltInEngine(*this, settings);
  engine_->Attach(window);
}

View::~View() { End(); }

void View::End() {
  if (ended_) return;
  ended_ = true;
  Journalf("view ends");
  // The engine goes now, even from inside one of its own reports: whatever it has posted finds
  // itself abandoned and never reaches this view again.
  engine_.reset();
  current_ = Navigation();
  hostObjects_.clear();
  navigationStarting_.Clear();
  contentLoading_.Clear();
  sourceChanged_.Clear();
  historyChanged_.Clear();
  navigationCompleted_.Clear();
  frameNavigationStarting_.Clear();
  frameNavigationCompleted_.Clear();
  scriptDialogOpening_.Clear();
  permissionRequested_.Clear();
  processFailed_.Clear();
  webMessageReceived_.Clear();
  newWindowRequested_.Clear();
  documentTitleChanged_.Clear();
  containsFullScreenElementChanged_.Clear();
  webResourceRequested_.Clear();
  windowCloseRequested_.Clear();
  faviconChanged_.Clear();
  webResourceResponseReceived_.Clear();
  dOMContentLoaded_.Clear();
  frameCreated_.Clear();
  downloadStarting_.Clear();
  clientCertificateRequested_.Clear();
  isMutedChanged_.Clear();
  isDocumentPlayingAudioChanged_.Clear();
  isDefaultDownloadDialogOpenChanged_.Clear();
  basicAuthenticationRequested_.Clear();
  contextMenuRequested_.Clear();
  statusBarTextChanged_.Clear();
  serverCertificateErrorDetected_.Clear();
}

void View::Paint(HDC dc, const RECT& client) {
  if (engine_) {
    engine_->Paint(dc, client);
  } else {
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
}

void View::Click(POINT point) {
  if (engine_) engine_->OnMouseClick(point);
}

void View::Wheel(int delta) {
  if (engine_) engine_->OnMouseWheel(delta);
}

HRESULT View::Enter(const char* method) {
  Journalf("ICoreWebView2::%s", method);
  return ended_ ? kEnded : S_OK;
}

// ---- navigation ----

HRESULT View::Navigate(LPCWSTR uri) {
  Journalf("ICoreWebView2::Navigate %s", uri ? Utf8(uri).c_str() : "(null)");
  if (ended_) return kEnded;
  if (!uri || KindOfUri(uri) == UriKind::kMalformed) return E_INVALIDARG;
  StartNavigation(uri, false);
  return S_OK;
}

HRESULT View::Reload() {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  StartNavigation(source_, false);
  return S_OK;
}

HRESULT View::Stop() {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  stoppedBelow_ = NextNavigationId();
  if (current_.id != 0) {
    engine_->Stop();
    const std::uint64_t id = current_.id;
    current_ = Navigation();
    Ref<View> self(this);
    PostToThisThread([self, id] {
      if (!self->ended()) self->CompleteNavigation(id, false, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
    });
  }
  return S_OK;
}

void View::OnPageRequestsNavigation(const std::wstring& uri, bool userInitiated) {
  if (ended_) return;
  Journalf("page asks for %s%s", Utf8(uri).c_str(), userInitiated ? " (user)" : "");
  if (KindOfUri(uri) == UriKind::kMalformed) return;
  StartNavigation(uri, userInitiated);
}

void View::StartNavigation(const std::wstring& uri, bool userInitiated) {
  const std::uint64_t id = NextNavigationId();
  Ref<View> self(this);
  PostToThisThread([self, uri, userInitiated, id] {
    if (!self->ended() && id > self->stoppedBelow_) self->BeginNavigation(uri, userInitiated, id);
  });
}

void View::BeginNavigation(const std::wstring& uri, bool userInitiated, std::uint64_t id) {
  // A new navigation replaces the one under way, which ends as cancelled.
  if (current_.id != 0) {
    engine_->Stop();
    const std::uint64_t replaced = current_.id;
    current_ = Navigation();
    CompleteNavigation(replaced, false, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
    if (ended_) return;
  }
  Ref<NavigationStartingArgs> args = MakeObject<NavigationStartingArgs>(uri, userInitiated, id);
  navigationStarting_.Raise(static_cast<ICoreWebView2*>(this), args.get());
  if (ended_) return;
  if (args->cancelled()) {
    CompleteNavigation(id, false, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
    return;
  }
  current_.id = id;
  current_.uri = uri;
  if (StepToFail() == FailStep::kNavigation) {
    FailNavigation(id, COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT);
  } else if (KindOfUri(uri) == UriKind::kOther) {
    FailNavigation(id, COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR);
  } else {
    engine_->Load(uri);
  }
}

// A navigation that never reaches the engine still goes through the same events, later.
void View::FailNavigation(std::uint64_t id, COREWEBVIEW2_WEB_ERROR_STATUS status) {
  Ref<View> self(this);
  PostToThisThread([self, id, status] {
    if (self->ended() || self->current_.id != id) return;
    self->OnContentLoading(true);
    if (self->ended() || self->current_.id != id) return;
    self->OnLoadFinished(false, status, 0);
  });
}

void View::OnContentLoading(bool isErrorPage) {
  const Ref<View> alive(this);  // a handler may let go of the last reference to the view
  if (ended_ || current_.id == 0 || current_.contentLoading) return;
  current_.contentLoading = true;
  const std::uint64_t id = current_.id;
  Journalf("content loading %llu%s", static_cast<unsigned long long>(id), isErrorPage ? " (error page)" : "");
  // The source changes as the new document commits; a reload of the same URI raises no SourceChanged.
  if (source_ != current_.uri) {
    source_ = current_.uri;
    Ref<SourceChangedArgs> sourceArgs = MakeObject<SourceChangedArgs>(true);
    sourceChanged_.Raise(static_cast<ICoreWebView2*>(this), sourceArgs.get());
    if (ended_ || current_.id != id) return;
  }
  Ref<ContentLoadingArgs> loadingArgs = MakeObject<ContentLoadingArgs>(isErrorPage, id);
  contentLoading_.Raise(static_cast<ICoreWebView2*>(this), loadingArgs.get());
  if (ended_ || current_.id != id) return;
  historyChanged_.Raise(static_cast<ICoreWebView2*>(this), static_cast<IUnknown*>(nullptr));
  if (ended_ || current_.id != id) return;
  RaiseTitleIfChanged();
}

void View::OnTitleChanged() {
  const Ref<View> alive(this);  // a handler may let go of the last reference to the view
  if (ended_) return;
  // While a navigation waits for its content, the title belongs to the page still shown.
  if (current_.id != 0 && !current_.contentLoading) return;
  RaiseTitleIfChanged();
}

void View::RaiseTitleIfChanged() {
  const std::wstring title = engine_ ? engine_->Title() : std::wstring();
  if (title == reportedTitle_) return;
  reportedTitle_ = title;
  Journalf("title %s", Utf8(title).c_str());
  documentTitleChanged_.Raise(static_cast<ICoreWebView2*>(this), static_cast<IUnknown*>(nullptr));
}

void View::OnLoadFinished(bool success, int webErrorStatus, int httpStatus) {
  const Ref<View> alive(this);  // a handler may let go of the last reference to the view
  if (ended_ || current_.id == 0) return;
  if (!current_.contentLoading) {
    OnContentLoading(!success);
    if (ended_ || current_.id == 0) return;
  }
  RaiseTitleIfChanged();
  if (ended_ || current_.id == 0) return;
  const std::uint64_t id = current_.id;
  const std::wstring uri = current_.uri;
  current_ = Navigation();
  Journalf("load finished %llu http %d", static_cast<unsigned long long>(id), httpStatus);
  COREWEBVIEW2_WEB_ERROR_STATUS status = static_cast<COREWEBVIEW2_WEB_ERROR_STATUS>(webErrorStatus);
  if (success) status = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
  CompleteNavigation(id, success, status);
  if (ended_) return;
  RaiseFaviconIfChanged(success ? FaviconUriOf(uri) : std::wstring());
}

void View::CompleteNavigation(std::uint64_t id, bool success, COREWEBVIEW2_WEB_ERROR_STATUS status) {
  Journalf("navigation %llu completes: success %d, web error status %d", static_cast<unsigned long long>(id),
           success ? 1 : 0, static_cast<int>(status));
  Ref<NavigationCompletedArgs> args = MakeObject<NavigationCompletedArgs>(success, status, id);
  navigationCompleted_.Raise(static_cast<ICoreWebView2*>(this), args.get());
}

void View::RaiseFaviconIfChanged(const std::wstring& favicon) {
  if (favicon == favicon_) return;
  favicon_ = favicon;
  faviconChanged_.Raise(static_cast<ICoreWebView2*>(this), static_cast<IUnknown*>(nullptr));
}

// ---- properties ----

HRESULT View::get_Source(LPWSTR* uri) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return HandOutText(source_, uri);
}

HRESULT View::get_DocumentTitle(LPWSTR* title) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return HandOutText(engine_->Title(), title);
}

HRESULT View::get_FaviconUri(LPWSTR* value) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return HandOutText(favicon_, value);
}

HRESULT View::get_BrowserProcessId(UINT32* value) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return Answer(value, GetCurrentProcessId());
}

// The stand-in keeps no history.
HRESULT View::get_CanGoBack(BOOL* canGoBack) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return Answer(canGoBack, FALSE);
}
HRESULT View::get_CanGoForward(BOOL* canGoForward) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return Answer(canGoForward, FALSE);
}
HRESULT View::GoBack() { return Enter(__func__); }
HRESULT View::GoForward() { return Enter(__func__); }

HRESULT View::get_ContainsFullScreenElement(BOOL* containsFullScreenElement) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return Answer(containsFullScreenElement, FALSE);
}

// ---- script and host objects ----

HRESULT View::ExecuteScript(LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler* handler) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  if (!javaScript) return E_INVALIDARG;
  Ref<ICoreWebView2ExecuteScriptCompletedHandler> completion(handler);
  engine_->ExecuteScript(javaScript, [completion](HRESULT result, const std::wstring& json) {
    // Never inside a call of the host's, whatever the engine does.
    PostToThisThread([completion, result, json] {
      Journalf("ExecuteScript completes: 0x%08lx %s", static_cast<unsigned long>(result), Utf8(json).c_str());
      if (completion) completion->Invoke(result, json.c_str());
    });
  });
  return S_OK;
}

HRESULT View::AddHostObjectToScript(LPCWSTR name, VARIANT* object) {
  Journalf("ICoreWebView2::AddHostObjectToScript %s", name ? Utf8(name).c_str() : "(null)");
  if (ended_) return kEnded;
  if (!name) return E_INVALIDARG;
  if (!object) return E_POINTER;
  Ref<IDispatch> dispatch;
  if ((object->vt == VT_DISPATCH || object->vt == VT_UNKNOWN) && object->punkVal)
    dispatch = QueryFor<IDispatch>(object->punkVal, IidText::IDispatch);
  if (!dispatch) return E_INVALIDARG;
  hostObjects_[name] = dispatch;
  return S_OK;
}

HRESULT View::RemoveHostObjectFromScript(LPCWSTR name) {
  Journalf("ICoreWebView2::RemoveHostObjectFromScript %s", name ? Utf8(name).c_str() : "(null)");
  if (ended_) return kEnded;
  if (!name) return E_INVALIDARG;
  // Hold it until the map no longer names it: its Release may call back into the view.
  auto found = hostObjects_.find(name);
  if (found == hostObjects_.end()) return E_INVALIDARG;
  Ref<IDispatch> removed = found->second;
  hostObjects_.erase(found);
  return S_OK;
}

IDispatch* View::FindHostObject(const std::wstring& name) {
  auto found = hostObjects_.find(name);
  return found == hostObjects_.end() ? nullptr : found->second.get();
}

// ---- favicon ----

HRESULT View::GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT, ICoreWebView2GetFaviconCompletedHandler* handler) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  if (!handler) return E_INVALIDARG;
  // The stand-in fetches no images: the request completes later, without one.
  Ref<ICoreWebView2GetFaviconCompletedHandler> completion(handler);
  PostToThisThread([completion] { completion->Invoke(E_NOTIMPL, nullptr); });
  return S_OK;
}

// ---- events ----

#define STANDIN_VIEW_EVENT(Event, Handler, list)                               \
  HRESULT View::add_##Event(Handler* handler, EventRegistrationToken* token) { \
    if (ended_) return Enter("add_" #Event);                                   \
    return list.Add(handler, token);                                           \
  }                                                                            \
  HRESULT View::remove_##Event(EventRegistrationToken token) {                 \
    if (ended_) return Enter("remove_" #Event);                                \
    return list.Remove(token);                                                 \
  }

STANDIN_VIEW_EVENT(NavigationStarting, ICoreWebView2NavigationStartingEventHandler, navigationStarting_)
STANDIN_VIEW_EVENT(ContentLoading, ICoreWebView2ContentLoadingEventHandler, contentLoading_)
STANDIN_VIEW_EVENT(SourceChanged, ICoreWebView2SourceChangedEventHandler, sourceChanged_)
STANDIN_VIEW_EVENT(HistoryChanged, ICoreWebView2HistoryChangedEventHandler, historyChanged_)
STANDIN_VIEW_EVENT(NavigationCompleted, ICoreWebView2NavigationCompletedEventHandler, navigationCompleted_)
STANDIN_VIEW_EVENT(FrameNavigationStarting, ICoreWebView2NavigationStartingEventHandler, frameNavigationStarting_)
STANDIN_VIEW_EVENT(FrameNavigationCompleted, ICoreWebView2NavigationCompletedEventHandler, frameNavigationCompleted_)
STANDIN_VIEW_EVENT(ScriptDialogOpening, ICoreWebView2ScriptDialogOpeningEventHandler, scriptDialogOpening_)
STANDIN_VIEW_EVENT(PermissionRequested, ICoreWebView2PermissionRequestedEventHandler, permissionRequested_)
STANDIN_VIEW_EVENT(ProcessFailed, ICoreWebView2ProcessFailedEventHandler, processFailed_)
STANDIN_VIEW_EVENT(WebMessageReceived, ICoreWebView2WebMessageReceivedEventHandler, webMessageReceived_)
STANDIN_VIEW_EVENT(NewWindowRequested, ICoreWebView2NewWindowRequestedEventHandler, newWindowRequested_)
STANDIN_VIEW_EVENT(DocumentTitleChanged, ICoreWebView2DocumentTitleChangedEventHandler, documentTitleChanged_)
STANDIN_VIEW_EVENT(ContainsFullScreenElementChanged, ICoreWebView2ContainsFullScreenElementChangedEventHandler,
                   containsFullScreenElementChanged_)
STANDIN_VIEW_EVENT(WebResourceRequested, ICoreWebView2WebResourceRequestedEventHandler, webResourceRequested_)
STANDIN_VIEW_EVENT(WindowCloseRequested, ICoreWebView2WindowCloseRequestedEventHandler, windowCloseRequested_)
STANDIN_VIEW_EVENT(FaviconChanged, ICoreWebView2FaviconChangedEventHandler, faviconChanged_)

#undef STANDIN_VIEW_EVENT

// Every handler interface derives from IUnknown alone, so its pointer is its IUnknown pointer.
#define STANDIN_VIEW_QUIET_EVENT(Event, Handler, list)                         \
  HRESULT View::add_##Event(Handler* handler, EventRegistrationToken* token) { \
    if (ended_) return Enter("add_" #Event);                                   \
    return list.Add(reinterpret_cast<IUnknown*>(handler), token);              \
  }                                                                            \
  HRESULT View::remove_##Event(EventRegistrationToken token) {                 \
    if (ended_) return Enter("remove_" #Event);                                \
    return list.Remove(token);                                                 \
  }

STANDIN_VIEW_QUIET_EVENT(WebResourceResponseReceived, ICoreWebView2WebResourceResponseReceivedEventHandler,
                         webResourceResponseReceived_)
STANDIN_VIEW_QUIET_EVENT(DOMContentLoaded, ICoreWebView2DOMContentLoadedEventHandler, dOMContentLoaded_)
STANDIN_VIEW_QUIET_EVENT(FrameCreated, ICoreWebView2FrameCreatedEventHandler, frameCreated_)
STANDIN_VIEW_QUIET_EVENT(DownloadStarting, ICoreWebView2DownloadStartingEventHandler, downloadStarting_)
STANDIN_VIEW_QUIET_EVENT(ClientCertificateRequested, ICoreWebView2ClientCertificateRequestedEventHandler,
                         clientCertificateRequested_)
STANDIN_VIEW_QUIET_EVENT(IsMutedChanged, ICoreWebView2IsMutedChangedEventHandler, isMutedChanged_)
STANDIN_VIEW_QUIET_EVENT(IsDocumentPlayingAudioChanged, ICoreWebView2IsDocumentPlayingAudioChangedEventHandler,
                         isDocumentPlayingAudioChanged_)
STANDIN_VIEW_QUIET_EVENT(IsDefaultDownloadDialogOpenChanged,
                         ICoreWebView2IsDefaultDownloadDialogOpenChangedEventHandler,
                         isDefaultDownloadDialogOpenChanged_)
STANDIN_VIEW_QUIET_EVENT(BasicAuthenticationRequested, ICoreWebView2BasicAuthenticationRequestedEventHandler,
                         basicAuthenticationRequested_)
STANDIN_VIEW_QUIET_EVENT(ContextMenuRequested, ICoreWebView2ContextMenuRequestedEventHandler, contextMenuRequested_)
STANDIN_VIEW_QUIET_EVENT(StatusBarTextChanged, ICoreWebView2StatusBarTextChangedEventHandler, statusBarTextChanged_)
STANDIN_VIEW_QUIET_EVENT(ServerCertificateErrorDetected, ICoreWebView2ServerCertificateErrorDetectedEventHandler,
                         serverCertificateErrorDetected_)

#undef STANDIN_VIEW_QUIET_EVENT

// ---- what the stand-in does not do ----

HRESULT View::get_Settings(ICoreWebView2Settings** settings) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return NotImplemented(settings);
}

HRESULT View::NavigateToString(LPCWSTR) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return E_NOTIMPL;
}

HRESULT View::AddScriptToExecuteOnDocumentCreated(LPCWSTR,
                                                  ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler*) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return E_NOTIMPL;
}

HRESULT View::RemoveScriptToExecuteOnDocumentCreated(LPCWSTR) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return E_NOTIMPL;
}

HRESULT View::CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT, IStream*,
                             ICoreWebView2CapturePreviewCompletedHandler*) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return E_NOTIMPL;
}

HRESULT View::PostWebMessageAsJson(LPCWSTR) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return E_NOTIMPL;
}

HRESULT View::PostWebMessageAsString(LPCWSTR) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return E_NOTIMPL;
}

HRESULT View::CallDevToolsProtocolMethod(LPCWSTR, LPCWSTR, ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return E_NOTIMPL;
}

HRESULT View::GetDevToolsProtocolEventReceiver(LPCWSTR, ICoreWebView2DevToolsProtocolEventReceiver** receiver) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return NotImplemented(receiver);
}

HRESULT View::OpenDevToolsWindow() {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return E_NOTIMPL;
}

HRESULT View::AddWebResourceRequestedFilter(LPCWSTR, COREWEBVIEW2_WEB_RESOURCE_CONTEXT) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return E_NOTIMPL;
}

HRESULT View::RemoveWebResourceRequestedFilter(LPCWSTR, COREWEBVIEW2_WEB_RESOURCE_CONTEXT) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return E_NOTIMPL;
}

HRESULT View::Unimplemented(const char* method) {
  if (HRESULT entered = Enter(method); FAILED(entered)) return entered;
  return E_NOTIMPL;
}
