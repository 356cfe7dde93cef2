#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>

#include "com/heap.h"
#include "support/process_heap.h"
#include "support/task_allocator_spy.h"
#include "unit/wrappers/wrapped_fakes.h"
#include "wrappers/options_wrapper.h"

// Interfaces that travel through wrappers: out-wrappers filled by WebView2, streams and host
// objects passed in, receivers handed out, and the wrappers' own copies.

namespace {

const HWND kWindow = reinterpret_cast<HWND>(0x1234);

struct OutCase {
  const char* name;
  FakeAccess fake;
  HRESULT (*call)(WrappedFakes& w, InterfaceHolder& target);
  HRESULT empty;
  bool emptyKeepsTarget;
};

const OutCase kOutCases[] = {
    {"WebViewWrapper::get_Settings", FakeOf<&WrappedFakes::fakeView>,
     [](WrappedFakes& w, InterfaceHolder& t) { return w.view.get_Settings(t); }, S_FALSE, false},
    {"ControllerWrapper::get_CoreWebView2", FakeOf<&WrappedFakes::fakeController>,
     [](WrappedFakes& w, InterfaceHolder& t) { return w.controller.get_CoreWebView2(t); }, S_FALSE, false},
    {"Environment4Wrapper::CreateWebResourceRequest", FakeOf<&WrappedFakes::fakeEnvironment>,
     [](WrappedFakes& w, InterfaceHolder& t) {
       return w.environment4.CreateWebResourceRequest("u", "GET", InterfaceHolder(), "", t);
     },
     S_FALSE, false},
    {"Environment4Wrapper::CreateCoreWebView2PointerInfo",
     FakeOf<&WrappedFakes::fakeEnvironment>,
     [](WrappedFakes& w, InterfaceHolder& t) { return w.environment4.CreateCoreWebView2PointerInfo(t); }, S_FALSE,
     false},
    {"Environment4Wrapper::GetAutomationProviderForWindow",
     FakeOf<&WrappedFakes::fakeEnvironment>,
     [](WrappedFakes& w, InterfaceHolder& t) { return w.environment4.GetAutomationProviderForWindow(kWindow, t); },
     S_FALSE, false},
    {"EnvironmentWrapper::CreateWebResourceResponse", FakeOf<&WrappedFakes::fakeEnvironment>,
     [](WrappedFakes& w, InterfaceHolder& t) {
       return w.environment.CreateWebResourceResponse(InterfaceHolder(), 200, "OK", "", t);
     },
     E_FAIL, true},
};

TEST(OutWrappers, ReceiveTheNewInterfaceWithTheReferenceWebView2AddedAndReleaseWhatTheyHeld) {
  for (const OutCase& c : kOutCases) {
    SCOPED_TRACE(c.name);
    FakeUnknown before, delivered;
    WrappedFakes w(WrappedFakes::kLive);
    c.fake(w).answers.object = &delivered;
    InterfaceHolder target;
    target.Set(&before);
    EXPECT_EQ(c.call(w, target), S_OK);
    EXPECT_EQ(target.Get(), &delivered);
    EXPECT_EQ(delivered.references(), 1);
    EXPECT_EQ(before.references(), 0);
  }
}

TEST(OutWrappers, OnAnEmptyWrapperAreEmptiedExceptByCreateWebResourceResponse) {
  for (const OutCase& c : kOutCases) {
    SCOPED_TRACE(c.name);
    FakeUnknown before;
    WrappedFakes w(WrappedFakes::kEmpty);
    InterfaceHolder target;
    target.Set(&before);
    EXPECT_EQ(c.call(w, target), c.empty);
    EXPECT_EQ(target.Get(), c.emptyKeepsTarget ? &before : nullptr);
    EXPECT_EQ(before.references(), c.emptyKeepsTarget ? 1 : 0);
  }
}

TEST(Streams, ThePassedStreamIsTheHeldPointerOrNull) {
  FakeUnknown stream;
  InterfaceHolder streamHolder;
  streamHolder.Set(&stream);
  struct Case {
    const char* name;
    void (*call)(WrappedFakes& w, const InterfaceHolder& stream);
    FakeAccess fake;
  } const cases[] = {
      {"CapturePreview",
       [](WrappedFakes& w, const InterfaceHolder& s) {
         w.view.CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_PNG, s, nullptr, 0);
       },
       FakeOf<&WrappedFakes::fakeView>},
      {"CreateWebResourceResponse",
       [](WrappedFakes& w, const InterfaceHolder& s) {
         w.environment.CreateWebResourceResponse(s, 200, "", "", w.out);
       },
       FakeOf<&WrappedFakes::fakeEnvironment>},
      {"CreateWebResourceRequest",
       [](WrappedFakes& w, const InterfaceHolder& s) { w.environment4.CreateWebResourceRequest("", "", s, "", w.out); },
       FakeOf<&WrappedFakes::fakeEnvironment>},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WrappedFakes w(WrappedFakes::kLive);
    c.call(w, streamHolder);
    EXPECT_EQ(c.fake(w).calls.back().pointers.at(0), static_cast<IUnknown*>(&stream));
    c.call(w, InterfaceHolder());
    EXPECT_EQ(c.fake(w).calls.back().pointers.at(0), nullptr);
  }
  EXPECT_EQ(stream.references(), 1) << "only the test's holder";
}

// The caller hands over a new reference, as ScriptHostWrapper::Duplicate would.
ComRef NewReference(IUnknown* object) {
  object->AddRef();
  return ComRef(object);
}

TEST(HostObjects, TravelAsAVtUnknownVariantThatHoldsItsOwnReferenceDuringTheCall) {
  FakeUnknown host;
  {
    WrappedFakes w(WrappedFakes::kLive);
    EXPECT_EQ(w.view.AddHostObjectToScript("TestHost", NewReference(&host)), S_OK);
    const RecordedCall& call = w.fakeView.calls.back();
    EXPECT_EQ(call.numbers, (std::vector<std::int64_t>{VT_UNKNOWN}));
    EXPECT_EQ(call.pointers, (std::vector<const void*>{static_cast<IUnknown*>(&host)}));
    EXPECT_EQ(host.references(), 1) << "the copy WebView2 keeps; the wrapper gave back the rest";
  }
  EXPECT_EQ(host.references(), 0);
}

TEST(HostObjects, AnEmptyReferenceTravelsAsVtEmptyAndAnEmptyViewStillDropsTheGivenReference) {
  WrappedFakes live(WrappedFakes::kLive);
  live.fakeView.answers.result = E_INVALIDARG;
  EXPECT_EQ(live.view.AddHostObjectToScript("TestHost", ComRef()), E_INVALIDARG);
  EXPECT_EQ(live.fakeView.calls.back().numbers, (std::vector<std::int64_t>{VT_EMPTY}));

  FakeUnknown host;
  WrappedFakes empty(WrappedFakes::kEmpty);
  EXPECT_EQ(empty.view.AddHostObjectToScript("TestHost", NewReference(&host)), S_FALSE);
  EXPECT_EQ(host.references(), 0);
}

TEST(DevToolsReceivers, EachOneReturnedHoldsAReferenceOfItsOwn) {
  FakeDevToolsReceiver fakeReceiver;
  WrappedFakes w(WrappedFakes::kLive);
  w.fakeView.answers.object = &fakeReceiver;
  {
    const DevToolsProtocolEventReceiverWrapper first = w.view.GetDevToolsProtocolEventReceiver("Log.entryAdded");
    const DevToolsProtocolEventReceiverWrapper second = w.view.GetDevToolsProtocolEventReceiver("Log.entryAdded");
    EXPECT_EQ(first.Get(), static_cast<IUnknown*>(&fakeReceiver));
    EXPECT_EQ(second.Get(), static_cast<IUnknown*>(&fakeReceiver));
    EXPECT_EQ(fakeReceiver.references(), 2);
  }
  EXPECT_EQ(fakeReceiver.references(), 0);

  w.fakeView.answers.result = E_INVALIDARG;
  EXPECT_EQ(w.view.GetDevToolsProtocolEventReceiver("Log.entryAdded").Get(), nullptr);
}

// Each class's copy operation makes an object of exactly that class, with a reference of its own.
template <class Wrapper>
void ExpectCloneOfOwnClass() {
  FakeUnknown object;
  Wrapper original;
  original.Set(&object);
  const std::unique_ptr<InterfaceHolder> copy = original.Clone();
  const InterfaceHolder& copied = *copy;
  EXPECT_TRUE(typeid(copied) == typeid(Wrapper)) << typeid(copied).name();
  EXPECT_EQ(copy->Get(), &object);
  EXPECT_EQ(object.references(), 2);
}

TEST(Copies, EveryWrapperClonesIntoItsOwnClass) {
  ExpectCloneOfOwnClass<EnvironmentOptionsWrapper>();
  ExpectCloneOfOwnClass<EnvironmentWrapper>();
  ExpectCloneOfOwnClass<Environment4Wrapper>();
  ExpectCloneOfOwnClass<ControllerWrapper>();
  ExpectCloneOfOwnClass<NavigationCompletedArgsWrapper>();
  ExpectCloneOfOwnClass<WebView15Wrapper>();
  ExpectCloneOfOwnClass<DevToolsProtocolEventReceiverWrapper>();
  ExpectCloneOfOwnClass<WebViewWrapper>();
}

// The options wrapper works on the program's own options object, not on a fake.
TEST(EnvironmentOptionsWrapper, CreatesTheOptionsObjectWithItsTargetVersion) {
  HeapBalance heap;
  EnvironmentOptionsWrapper options;
  ASSERT_EQ(options.Create(), S_OK);
  ASSERT_NE(options.Get(), nullptr);
  EXPECT_EQ(options.get_TargetCompatibleBrowserVersion(), "138.0.3351.48");
  EXPECT_EQ(options.get_AdditionalBrowserArguments(), "");
  EXPECT_EQ(options.get_Language(), "");
  EXPECT_EQ(options.get_AllowSingleSignOnUsingOSPrimaryAccount(), FALSE);
}

TEST(EnvironmentOptionsWrapper, CreatingAgainReleasesTheFirstObject) {
  HeapBalance heap;
  EnvironmentOptionsWrapper options;
  ASSERT_EQ(options.Create(), S_OK);
  IUnknown* first = options.Get();
  first->AddRef();
  ASSERT_EQ(options.Create(), S_OK);
  EXPECT_NE(options.Get(), nullptr);
  EXPECT_EQ(first->Release(), 0u) << "the wrapper let its reference go";
}

TEST(EnvironmentOptionsWrapper, CreateWithoutMemoryAnswersOutOfMemoryAndKeepsWhatWasHeld) {
  HeapBalance heap;
  EnvironmentOptionsWrapper options;
  {
    ProcessHeap::ScopedFailures failure(1);
    EXPECT_EQ(options.Create(), E_OUTOFMEMORY);
    EXPECT_EQ(options.Get(), nullptr);
  }
  ASSERT_EQ(options.Create(), S_OK);
  IUnknown* held = options.Get();
  ASSERT_EQ(options.put_Language("zh-CN"), S_OK);
  for (int skipped : {0, 1}) {
    SCOPED_TRACE(skipped == 0 ? "no table" : "no record");
    ProcessHeap::ScopedFailures failure(1, skipped);
    EXPECT_EQ(options.Create(), E_OUTOFMEMORY);
    EXPECT_EQ(options.Get(), held);
    EXPECT_EQ(options.get_Language(), "zh-CN");
  }
}

TEST(EnvironmentOptionsWrapper, TextOptionsGoInAsUtf16AndComeBackAsUtf8) {
  struct Case {
    const char* name;
    HRESULT (EnvironmentOptionsWrapper::*put)(TextArg);
    Utf8Text (EnvironmentOptionsWrapper::*get)();
    HRESULT (STDMETHODCALLTYPE ICoreWebView2EnvironmentOptions::*read)(LPWSTR*);
  } const cases[] = {
      {"AdditionalBrowserArguments", &EnvironmentOptionsWrapper::put_AdditionalBrowserArguments,
       &EnvironmentOptionsWrapper::get_AdditionalBrowserArguments,
       &ICoreWebView2EnvironmentOptions::get_AdditionalBrowserArguments},
      {"Language", &EnvironmentOptionsWrapper::put_Language, &EnvironmentOptionsWrapper::get_Language,
       &ICoreWebView2EnvironmentOptions::get_Language},
      {"TargetCompatibleBrowserVersion", &EnvironmentOptionsWrapper::put_TargetCompatibleBrowserVersion,
       &EnvironmentOptionsWrapper::get_TargetCompatibleBrowserVersion,
       &ICoreWebView2EnvironmentOptions::get_TargetCompatibleBrowserVersion},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EnvironmentOptionsWrapper options;
    ASSERT_EQ(options.Create(), S_OK);
    EXPECT_EQ((options.*c.put)("\xC3\xA9\xE4\xB8\xAD"), S_OK);

    // What a consumer reads through the object's table.
    auto* object = static_cast<ICoreWebView2EnvironmentOptions*>(options.Get());
    LPWSTR stored = nullptr;
    EXPECT_EQ((object->*c.read)(&stored), S_OK);
    EXPECT_EQ(std::wstring(stored != nullptr ? stored : L"(null)"), L"\u00E9\u4E2D");
    CoTaskMemFree(stored);

    TaskAllocatorSpy spy;
    EXPECT_EQ((options.*c.get)(), "\xC3\xA9\xE4\xB8\xAD");
    EXPECT_EQ(spy.allocations(), 1);
    EXPECT_EQ(spy.liveBlocks(), 0) << "the copy the object handed out is freed";
  }
}

TEST(EnvironmentOptionsWrapper, SingleSignOnIsStoredAsOneOrZero) {
  EnvironmentOptionsWrapper options;
  ASSERT_EQ(options.Create(), S_OK);
  EXPECT_EQ(options.put_AllowSingleSignOnUsingOSPrimaryAccount(true), S_OK);
  EXPECT_EQ(options.get_AllowSingleSignOnUsingOSPrimaryAccount(), 1);
  EXPECT_EQ(options.put_AllowSingleSignOnUsingOSPrimaryAccount(false), S_OK);
  EXPECT_EQ(options.get_AllowSingleSignOnUsingOSPrimaryAccount(), 0);
}

TEST(EnvironmentOptionsWrapper, AnEmptyWrapperCallsNothing) {
  EnvironmentOptionsWrapper options;
  EXPECT_EQ(options.put_Language("en"), S_FALSE);
  EXPECT_EQ(options.get_Language(), "");
  EXPECT_EQ(options.put_AllowSingleSignOnUsingOSPrimaryAccount(true), S_FALSE);
  EXPECT_EQ(options.get_AllowSingleSignOnUsingOSPrimaryAccount(), 0);
}

}  // namespace
