#pragma once

// Every wrapper class beside a recording fake of its interface; live, each wrapper holds its
// fake, otherwise every wrapper is empty. The wrappers go before the fakes.

#include <windows.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "support/recording_fakes.h"
#include "wrappers/controller_wrapper.h"
#include "wrappers/environment_wrappers.h"
#include "wrappers/small_wrappers.h"
#include "wrappers/webview_wrapper.h"

struct WrappedFakes {
  enum Kind { kEmpty, kLive };
  explicit WrappedFakes(Kind kind);

  FakeEnvironment fakeEnvironment;
  FakeController fakeController;
  FakeWebView fakeView;
  FakeNavigationCompletedArgs fakeArgs;
  FakeDevToolsReceiver fakeReceiver;

  EnvironmentWrapper environment;
  Environment4Wrapper environment4;
  ControllerWrapper controller;
  WebViewWrapper view;
  WebView15Wrapper view15;
  NavigationCompletedArgsWrapper args;
  DevToolsProtocolEventReceiverWrapper receiver;

  // Scratch for methods that write into an out-wrapper or a record.
  InterfaceHolder out;
  RECT rect{1, 2, 3, 4};

  // The calls that all the fakes received.
  std::vector<RecordedCall> AllCalls() const;
  void SetResult(HRESULT result);
};

// The fake that a table row looks at, named by its member: FakeOf<&WrappedFakes::fakeView>.
using FakeAccess = Recorder& (*)(WrappedFakes& w);
template <auto Fake>
Recorder& FakeOf(WrappedFakes& w) {
  return w.*Fake;
}

// What a wrapper method answers, in a form that a table can hold.
using Answer = std::variant<std::int64_t, double, std::string>;

template <class T>
Answer AnswerOf(const T& value) {
  if constexpr (std::is_same_v<T, double> || std::is_same_v<T, std::string>) {
    return value;
  } else if constexpr (std::is_same_v<T, EventRegistrationToken>) {
    return std::int64_t{value.value};
  } else if constexpr (std::is_same_v<T, HWND>) {
    return std::int64_t{reinterpret_cast<std::intptr_t>(value)};
  } else if constexpr (std::is_base_of_v<InterfaceHolder, T>) {
    return std::int64_t{value.Get() != nullptr};
  } else {
    return static_cast<std::int64_t>(value);
  }
}

// Routines that note what their handler object's Invoke gave them.
struct RoutineCall {
  ULONG_PTR context, first, second;
  bool operator==(const RoutineCall& other) const {
    return context == other.context && first == other.first && second == other.second;
  }
};
extern std::vector<RoutineCall> routineCalls;
// Both answer the context plus kRoutineAnswer, so a test sees the result reach WebView2.
constexpr HRESULT kRoutineAnswer = 0x00A00000;
HRESULT STDMETHODCALLTYPE NotingRoutine(ULONG_PTR context, ULONG_PTR first, ULONG_PTR second);
HRESULT STDMETHODCALLTYPE NotingSingleArgRoutine(ULONG_PTR context, ULONG_PTR first);
