#pragma once

// Recording fakes of the WebView2 interfaces: C++ objects that implement our declarations, note
// every call (the method's name and its by-value arguments) and answer what a test tells them.
// Like WebView2 they keep a reference to every handler they are given (an event handler until its
// remove_ call, a completion handler until the test completes it) and can invoke the kept ones.

#include <windows.h>
#include <oaidl.h>
#include <unknwn.h>
#include <eventtoken.h>

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "support/counted_object.h"
#include "webview2/placeholder_slots.h"
#include "webview2/webview2.h"

// One call as a fake received it; each kind of argument in its own list, in call order.
struct RecordedCall {
  std::string method;
  std::vector<std::int64_t> numbers;  // integers, enums, window handles, tokens, RECT fields, VARIANT types
  std::vector<double> reals;
  std::vector<std::optional<std::wstring>> texts;  // std::nullopt for a null string
  std::vector<const void*> pointers;               // interface pointers passed in
};

// What a fake answers. Getters write only when the result succeeds.
struct FakeAnswers {
  HRESULT result = S_OK;
  std::optional<std::wstring> text;  // text getters hand out a new CoTaskMemAlloc copy, none when unset
  std::int64_t number = 0;           // integer, BOOL, enum, window handle and 64-bit getters
  double real = 0;
  RECT rect{};
  IUnknown* object = nullptr;            // interface getters hand out a new reference to this
  std::int64_t nextToken = 0x100000001;  // add_ methods write this, then count up
};

// The value that Invoke of a handler object returns for the given arguments.
template <class... Arguments>
HRESULT InvokeHandler(IUnknown* handler, Arguments... arguments) {
  using Invoke = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, Arguments...);
  const void* const* table = *reinterpret_cast<const void* const* const*>(handler);
  return reinterpret_cast<Invoke>(const_cast<void*>(table[3]))(handler, arguments...);
}

// The reference count of a COM object, read by adding one and dropping it again.
ULONG ReferenceCount(IUnknown* object);

class Recorder {
 public:
  Recorder() = default;
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;
  // Drops every kept handler and VARIANT, as WebView2 does when the object goes.
  virtual ~Recorder();

  std::vector<RecordedCall> calls;
  FakeAnswers answers;
  // Every string a getter handed out, for the test to check that it was freed once.
  std::vector<const void*> handedOutTexts;
  // With probing set, a method notes its name and returns S_OK without touching its arguments:
  // the slot check calls the methods with dummy arguments.
  bool probing = false;

  struct KeptHandler {
    std::string event;  // the method's name without add_, or the asynchronous method's name
    std::int64_t token;
    IUnknown* handler;
  };
  std::vector<KeptHandler> kept;
  // What each handler's Release answered when the fake dropped it; 0 means the last reference went.
  std::vector<ULONG> droppedAnswers;
  // Copies of the VARIANTs received, holding their own references as WebView2 would.
  std::vector<VARIANT> keptVariants;

  // The handlers kept for an event (name without add_) or an asynchronous method.
  std::vector<IUnknown*> HandlersOf(const std::string& event) const;
  // Invokes every handler kept for the event; the last result, or E_UNEXPECTED when none is kept.
  template <class... Arguments>
  HRESULT Raise(const std::string& event, Arguments... arguments) {
    HRESULT last = E_UNEXPECTED;
    for (IUnknown* handler : HandlersOf(event)) last = InvokeHandler(handler, arguments...);
    return last;
  }
  // Invokes and then drops the completion handlers kept for an asynchronous method.
  template <class... Arguments>
  HRESULT Complete(const std::string& method, Arguments... arguments) {
    const HRESULT result = Raise(method, arguments...);
    Drop(method, 0);
    return result;
  }
  void DropAll();

 protected:
  template <class... Arguments>
  HRESULT Record(const char* method, Arguments... arguments) {
    calls.push_back(RecordedCall{method, {}, {}, {}, {}});
    if (probing) return S_OK;
    (Note(calls.back(), arguments), ...);
    return answers.result;
  }
  // add_: keeps the handler and writes the next token.
  HRESULT Subscribe(const char* method, IUnknown* handler, EventRegistrationToken* token);
  // remove_: drops the handler that the token names, if any.
  HRESULT Unsubscribe(const char* method, EventRegistrationToken token);
  // An asynchronous call: keeps its completion handler until Complete.
  template <class... Arguments>
  HRESULT Start(const char* method, IUnknown* handler, Arguments... arguments) {
    const HRESULT result = Record(method, arguments...);
    if (probing) return result;
    calls.back().pointers.push_back(handler);
    if (SUCCEEDED(result)) Keep(method, 0, handler);
    return result;
  }

 private:
  void Keep(const std::string& event, std::int64_t token, IUnknown* handler);
  void Drop(const std::string& event, std::int64_t token);
  void NoteText(RecordedCall& call, LPCWSTR text);
  void NoteVariant(RecordedCall& call, VARIANT* variant);
  void WriteText(LPWSTR* out);
  void WriteObject(void** out);

  template <class T>
  void Note(RecordedCall& call, T value) {
    using Pointee = std::remove_pointer_t<T>;
    const bool write = SUCCEEDED(answers.result);
    if constexpr (std::is_same_v<T, HWND>) {
      call.numbers.push_back(reinterpret_cast<std::intptr_t>(value));
    } else if constexpr (std::is_same_v<T, HWND*>) {
      if (write) *value = reinterpret_cast<HWND>(static_cast<std::intptr_t>(answers.number));
    } else if constexpr (std::is_same_v<T, LPCWSTR>) {
      NoteText(call, value);
    } else if constexpr (std::is_same_v<T, LPWSTR*>) {
      if (write) WriteText(value);
    } else if constexpr (std::is_same_v<T, VARIANT*>) {
      NoteVariant(call, value);
    } else if constexpr (std::is_same_v<T, RECT>) {
      call.numbers.insert(call.numbers.end(), {value.left, value.top, value.right, value.bottom});
    } else if constexpr (std::is_same_v<T, RECT*>) {
      if (write) *value = answers.rect;
    } else if constexpr (std::is_same_v<T, double>) {
      call.reals.push_back(value);
    } else if constexpr (std::is_same_v<T, double*>) {
      if (write) *value = answers.real;
    } else if constexpr (std::is_same_v<T, EventRegistrationToken>) {
      call.numbers.push_back(value.value);
    } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
      call.numbers.push_back(static_cast<std::int64_t>(value));
    } else if constexpr (std::is_integral_v<Pointee> || std::is_enum_v<Pointee>) {
      if (write) *value = static_cast<Pointee>(answers.number);
    } else if constexpr (std::is_pointer_v<Pointee> && std::is_class_v<std::remove_pointer_t<Pointee>>) {
      if (write) WriteObject(reinterpret_cast<void**>(value));
    } else {
      static_assert(std::is_pointer_v<T> && std::is_class_v<Pointee>, "an argument kind the fakes do not know");
      call.pointers.push_back(value);
    }
  }
};

// A fake COM object: counts its references (it never frees itself) and answers the given
// identifiers besides IUnknown.
template <class Interface>
class FakeObject : public CountedObject<Interface>, public Recorder {
 public:
  using CountedObject<Interface>::CountedObject;
};

// Stands for an interface that the fakes only pass around: streams, host objects, settings.
using FakeUnknown = CountedObject<IUnknown>;

class FakeEnvironment : public FakeObject<ICoreWebView2Environment4> {
 public:
  FakeEnvironment();
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
};

class FakeController : public FakeObject<ICoreWebView2Controller> {
 public:
  FakeController();
  HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* isVisible) override;
  HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL isVisible) override;
  HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) override;
  HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) override;
  HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* zoomFactor) override;
  HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoomFactor) override;
  HRESULT STDMETHODCALLTYPE add_ZoomFactorChanged(ICoreWebView2ZoomFactorChangedEventHandler* handler,
                                                  EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) override;
  HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) override;
  HRESULT STDMETHODCALLTYPE add_MoveFocusRequested(ICoreWebView2MoveFocusRequestedEventHandler* handler,
                                                   EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_GotFocus(ICoreWebView2FocusChangedEventHandler* handler,
                                         EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_GotFocus(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_LostFocus(ICoreWebView2FocusChangedEventHandler* handler,
                                          EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_LostFocus(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_AcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventHandler* handler,
                                                      EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* parentWindow) override;
  HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND parentWindow) override;
  HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() override;
  HRESULT STDMETHODCALLTYPE Close() override;
  HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** coreWebView2) override;
};

// The view up to ICoreWebView2_15; it answers the identifiers of every version.
class FakeWebView : public FakeObject<PlaceholderSlots<ICoreWebView2_15>> {
 public:
  FakeWebView();
  HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) override;
  HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) override;
  HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override;
  HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR htmlContent) override;
  HRESULT STDMETHODCALLTYPE add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* handler,
                                                   EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ContentLoading(ICoreWebView2ContentLoadingEventHandler* handler,
                                               EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_SourceChanged(ICoreWebView2SourceChangedEventHandler* handler,
                                              EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_HistoryChanged(ICoreWebView2HistoryChangedEventHandler* handler,
                                               EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_HistoryChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* handler,
                                                    EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_FrameNavigationStarting(ICoreWebView2NavigationStartingEventHandler* handler,
                                                        EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_FrameNavigationStarting(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_FrameNavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* handler,
                                                         EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_FrameNavigationCompleted(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventHandler* handler,
                                                    EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ScriptDialogOpening(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_PermissionRequested(ICoreWebView2PermissionRequestedEventHandler* handler,
                                                    EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler* handler,
                                              EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
      LPCWSTR javaScript, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) override;
  HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR javaScript,
                                          ICoreWebView2ExecuteScriptCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT imageFormat, IStream* imageStream,
                                           ICoreWebView2CapturePreviewCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE Reload() override;
  HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR webMessageAsJson) override;
  HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR webMessageAsString) override;
  HRESULT STDMETHODCALLTYPE add_WebMessageReceived(ICoreWebView2WebMessageReceivedEventHandler* handler,
                                                   EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE
  CallDevToolsProtocolMethod(LPCWSTR methodName, LPCWSTR parametersAsJson,
                             ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* value) override;
  HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* canGoBack) override;
  HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* canGoForward) override;
  HRESULT STDMETHODCALLTYPE GoBack() override;
  HRESULT STDMETHODCALLTYPE GoForward() override;
  HRESULT STDMETHODCALLTYPE
  GetDevToolsProtocolEventReceiver(LPCWSTR eventName, ICoreWebView2DevToolsProtocolEventReceiver** receiver) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE add_NewWindowRequested(ICoreWebView2NewWindowRequestedEventHandler* handler,
                                                   EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler* handler,
                                                     EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) override;
  HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR name, VARIANT* object) override;
  HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR name) override;
  HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() override;
  HRESULT STDMETHODCALLTYPE add_ContainsFullScreenElementChanged(
      ICoreWebView2ContainsFullScreenElementChangedEventHandler* handler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ContainsFullScreenElementChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* containsFullScreenElement) override;
  HRESULT STDMETHODCALLTYPE add_WebResourceRequested(ICoreWebView2WebResourceRequestedEventHandler* handler,
                                                     EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WebResourceRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilter(LPCWSTR uri,
                                                          COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) override;
  HRESULT STDMETHODCALLTYPE
  RemoveWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) override;
  HRESULT STDMETHODCALLTYPE add_WindowCloseRequested(ICoreWebView2WindowCloseRequestedEventHandler* handler,
                                                     EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WindowCloseRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_FaviconChanged(ICoreWebView2FaviconChangedEventHandler* handler,
                                               EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_FaviconChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_FaviconUri(LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT format,
                                       ICoreWebView2GetFaviconCompletedHandler* completedHandler) override;
  // Every method of ICoreWebView2_2 to ICoreWebView2_14: noted by name, then E_NOTIMPL.
  HRESULT Unimplemented(const char* method) override;
};

class FakeNavigationCompletedArgs : public FakeObject<ICoreWebView2NavigationCompletedEventArgs> {
 public:
  FakeNavigationCompletedArgs();
  HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* isSuccess) override;
  HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* webErrorStatus) override;
  HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) override;
};

class FakeDevToolsReceiver : public FakeObject<ICoreWebView2DevToolsProtocolEventReceiver> {
 public:
  FakeDevToolsReceiver();
  HRESULT STDMETHODCALLTYPE add_DevToolsProtocolEventReceived(
      ICoreWebView2DevToolsProtocolEventReceivedEventHandler* handler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_DevToolsProtocolEventReceived(EventRegistrationToken token) override;
};

// A handler interface implemented by a fake whose Invoke only notes that it was called; for the
// slot check of the handler interfaces.
template <class Handler, class InvokeSignature>
class RecordingHandlerOf;
template <class Handler, class Declaring, class... Arguments>
class RecordingHandlerOf<Handler, HRESULT (STDMETHODCALLTYPE Declaring::*)(Arguments...)> : public FakeObject<Handler> {
 public:
  HRESULT STDMETHODCALLTYPE Invoke(Arguments... arguments) override { return this->Record(__func__, arguments...); }
};
template <class Handler>
using RecordingHandler = RecordingHandlerOf<Handler, decltype(&Handler::Invoke)>;
