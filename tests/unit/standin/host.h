#pragma once

// What a test host needs around the stand-in: handler objects that count their references and
// note their calls, a message pump, a parent window, and the chain environment -> controller ->
// view made through the exports as a host makes it.

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "support/counted_object.h"
#include "support/iid.h"
#include "unit/standin/loader.h"
#include "webview2/webview2.h"

// Owns one reference.
template <class T>
class Owned {
 public:
  Owned() = default;
  explicit Owned(T* adopted) : object_(adopted) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  Owned& operator=(Owned&& other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~Owned() { reset(); }
  void reset() {
    if (object_) std::exchange(object_, nullptr)->Release();
  }
  T* get() const { return object_; }
  T* operator->() const { return object_; }
  T** out() {
    reset();
    return &object_;
  }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_ = nullptr;
};

template <class Interface>
Owned<Interface> Query(IUnknown* object, const char* iidText) {
  Owned<Interface> found;
  if (object) object->QueryInterface(IidOf(iidText), reinterpret_cast<void**>(found.out()));
  return found;
}

// Set while the test is inside a call of its own into the stand-in: nothing may arrive then.
extern bool g_insideStandInCall;
struct InsideCall {
  InsideCall() { g_insideStandInCall = true; }
  ~InsideCall() { g_insideStandInCall = false; }
};

// A handler that the test owns on the stack: it counts references and runs onInvoke.
template <class... Arguments>
HandlerInterface<Arguments...>* InvokeShapeOf(HandlerInterface<Arguments...>*);

template <class Handler, class Shape = std::remove_pointer_t<decltype(InvokeShapeOf(static_cast<Handler*>(nullptr)))>>
class TestHandler;

template <class Handler, class... Arguments>
class TestHandler<Handler, HandlerInterface<Arguments...>> : public CountedObject<Handler> {
 public:
  explicit TestHandler(const char* iidText) : CountedObject<Handler>({iidText}) {}
  std::function<void(Arguments...)> onInvoke;
  int invoked = 0;
  bool invokedInsideCall = false;

  HRESULT STDMETHODCALLTYPE Invoke(Arguments... arguments) override {
    ++invoked;
    if (g_insideStandInCall) invokedInsideCall = true;
    if (onInvoke) onInvoke(arguments...);
    return S_OK;
  }
};

// Runs the thread's message loop until done() holds or the time is up; answers done().
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 10000);
// Runs the loop for a while, for "nothing more arrives".
void PumpFor(DWORD milliseconds);

// Sets or clears (null) an environment variable for the duration of a scope.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const wchar_t* value);
  ~ScopedVariable();

 private:
  std::wstring name_;
  std::wstring old_;
  bool hadOld_;
};

// The events of one view, in arrival order, as readable lines.
struct EventLog {
  std::vector<std::string> lines;
  UINT64 lastNavigationId = 0;
  bool completed = false;
  BOOL lastSuccess = FALSE;
  COREWEBVIEW2_WEB_ERROR_STATUS lastStatus = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
  int completions = 0;
};

std::string Narrow(const std::wstring& text);
std::wstring TextOf(LPWSTR handedOut);  // takes and frees a CoTaskMemAlloc string

// A parent window, an environment, a controller and its view, made through the exports.
class StandInTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Each answers null (and fails the test) when the step does not complete.
  Owned<ICoreWebView2Environment> MakeEnvironment(ICoreWebView2EnvironmentOptions* options = nullptr);
  Owned<ICoreWebView2Controller> MakeController(ICoreWebView2Environment* environment);
  // environment, controller, view, and the navigation events subscribed into log_.
  void MakeView();
  // Navigates and pumps until NavigationCompleted.
  void NavigateAndWait(const std::wstring& uri);
  std::wstring Title();

  HWND parent_ = nullptr;
  Owned<ICoreWebView2Environment> environment_;
  Owned<ICoreWebView2Controller> controller_;
  Owned<ICoreWebView2> view_;
  EventLog log_;

  TestHandler<ICoreWebView2NavigationStartingEventHandler> starting_{
      IidText::ICoreWebView2NavigationStartingEventHandler};
  TestHandler<ICoreWebView2SourceChangedEventHandler> sourceChanged_{IidText::ICoreWebView2SourceChangedEventHandler};
  TestHandler<ICoreWebView2ContentLoadingEventHandler> contentLoading_{
      IidText::ICoreWebView2ContentLoadingEventHandler};
  TestHandler<ICoreWebView2HistoryChangedEventHandler> historyChanged_{
      IidText::ICoreWebView2HistoryChangedEventHandler};
  TestHandler<ICoreWebView2DocumentTitleChangedEventHandler> titleChanged_{
      IidText::ICoreWebView2DocumentTitleChangedEventHandler};
  TestHandler<ICoreWebView2NavigationCompletedEventHandler> completed_{
      IidText::ICoreWebView2NavigationCompletedEventHandler};

 private:
  bool comReady_ = false;
};
