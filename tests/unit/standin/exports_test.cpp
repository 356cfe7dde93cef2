#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/task_allocator_spy.h"
#include "unit/standin/host.h"

// The loader exports as a host calls them: the environment arrives later through the message
// loop, the options object is read as a consumer reads it and let go once the environment exists,
// and the knobs make each step fail as the runtime would.

namespace {

// All eight options interfaces on one object that notes every query and getter, hands out
// CoTaskMemAlloc strings and counts its references.
class NotingOptions : public CountedObject<ICoreWebView2EnvironmentOptions>,
                      public ICoreWebView2EnvironmentOptions2,
                      public ICoreWebView2EnvironmentOptions3,
                      public ICoreWebView2EnvironmentOptions4,
                      public ICoreWebView2EnvironmentOptions5,
                      public ICoreWebView2EnvironmentOptions6,
                      public ICoreWebView2EnvironmentOptions7,
                      public ICoreWebView2EnvironmentOptions8 {
 public:
  using Base = CountedObject<ICoreWebView2EnvironmentOptions>;
  std::vector<std::string> notes;
  std::vector<const void*> handedOut;
  std::wstring arguments;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    const struct {
      const char* text;
      void* pointer;
    } answers[] = {
        {IidText::IUnknown, static_cast<ICoreWebView2EnvironmentOptions*>(this)},
        {IidText::ICoreWebView2EnvironmentOptions, static_cast<ICoreWebView2EnvironmentOptions*>(this)},
        {IidText::ICoreWebView2EnvironmentOptions2, static_cast<ICoreWebView2EnvironmentOptions2*>(this)},
        {IidText::ICoreWebView2EnvironmentOptions3, static_cast<ICoreWebView2EnvironmentOptions3*>(this)},
        {IidText::ICoreWebView2EnvironmentOptions4, static_cast<ICoreWebView2EnvironmentOptions4*>(this)},
        {IidText::ICoreWebView2EnvironmentOptions5, static_cast<ICoreWebView2EnvironmentOptions5*>(this)},
        {IidText::ICoreWebView2EnvironmentOptions6, static_cast<ICoreWebView2EnvironmentOptions6*>(this)},
        {IidText::ICoreWebView2EnvironmentOptions7, static_cast<ICoreWebView2EnvironmentOptions7*>(this)},
        {IidText::ICoreWebView2EnvironmentOptions8, static_cast<ICoreWebView2EnvironmentOptions8*>(this)},
    };
    for (int i = 0; i < 9; ++i) {
      if (IsEqualIID(id, IidOf(answers[i].text))) {
        if (i > 1) notes.push_back("query Options" + std::to_string(i));
        if (i == 1) notes.push_back("query Options");
        AddRef();
        *object = answers[i].pointer;
        return S_OK;
      }
    }
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return Base::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return Base::Release(); }

  HRESULT Text(const char* method, const std::wstring& value, LPWSTR* out) {
    notes.push_back(method);
    *out = static_cast<LPWSTR>(CoTaskMemAlloc((value.size() + 1) * sizeof(wchar_t)));
    wcscpy(*out, value.c_str());
    handedOut.push_back(*out);
    return S_OK;
  }
  template <class T>
  HRESULT Value(const char* method, T* out) {
    notes.push_back(method);
    *out = T{};
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* v) override { return Text(__func__, arguments, v); }
  HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* v) override { return Text(__func__, L"zh-CN", v); }
  HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR) override { return E_UNEXPECTED; }
  // Newer than the stand-in's own version: creation still succeeds.
  HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* v) override {
    return Text(__func__, L"999.0.0.0", v);
  }
  HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* v) override { return Value(__func__, v); }
  HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE get_ExclusiveUserDataFolderAccess(BOOL* v) override { return Value(__func__, v); }
  HRESULT STDMETHODCALLTYPE put_ExclusiveUserDataFolderAccess(BOOL) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE get_IsCustomCrashReportingEnabled(BOOL* v) override { return Value(__func__, v); }
  HRESULT STDMETHODCALLTYPE put_IsCustomCrashReportingEnabled(BOOL) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE GetCustomSchemeRegistrations(UINT32* count,
                                                         ICoreWebView2CustomSchemeRegistration*** array) override {
    notes.push_back(__func__);
    *count = 0;
    *array = static_cast<ICoreWebView2CustomSchemeRegistration**>(CoTaskMemAlloc(sizeof(void*)));
    handedOut.push_back(*array);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetCustomSchemeRegistrations(UINT32, ICoreWebView2CustomSchemeRegistration**) override {
    return E_UNEXPECTED;
  }
  HRESULT STDMETHODCALLTYPE get_EnableTrackingPrevention(BOOL* v) override { return Value(__func__, v); }
  HRESULT STDMETHODCALLTYPE put_EnableTrackingPrevention(BOOL) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE get_AreBrowserExtensionsEnabled(BOOL* v) override { return Value(__func__, v); }
  HRESULT STDMETHODCALLTYPE put_AreBrowserExtensionsEnabled(BOOL) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE get_ChannelSearchKind(COREWEBVIEW2_CHANNEL_SEARCH_KIND* v) override {
    return Value(__func__, v);
  }
  HRESULT STDMETHODCALLTYPE put_ChannelSearchKind(COREWEBVIEW2_CHANNEL_SEARCH_KIND) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE get_ReleaseChannels(COREWEBVIEW2_RELEASE_CHANNELS* v) override {
    return Value(__func__, v);
  }
  HRESULT STDMETHODCALLTYPE put_ReleaseChannels(COREWEBVIEW2_RELEASE_CHANNELS) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE get_ScrollBarStyle(COREWEBVIEW2_SCROLLBAR_STYLE* v) override { return Value(__func__, v); }
  HRESULT STDMETHODCALLTYPE put_ScrollBarStyle(COREWEBVIEW2_SCROLLBAR_STYLE) override { return E_UNEXPECTED; }
};

int IndexOf(const std::vector<std::string>& notes, const std::string& note, size_t from = 0) {
  for (size_t i = from; i < notes.size(); ++i)
    if (notes[i] == note) return static_cast<int>(i);
  return -1;
}

using EnvironmentHandler = TestHandler<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>;
using ControllerHandler = TestHandler<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>;

using LoaderTest = StandInTest;

TEST_F(LoaderTest, EnvironmentArrivesLaterThroughTheLoopAndEveryReferenceComesBack) {
  TaskAllocatorSpy spy;
  NotingOptions options;
  EnvironmentHandler handler(IidText::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler);
  HRESULT reported = E_UNEXPECTED;
  LONG optionsReferencesAtCompletion = -1;
  ICoreWebView2Environment* environment = nullptr;
  handler.onInvoke = [&](HRESULT error, ICoreWebView2Environment* made) {
    reported = error;
    optionsReferencesAtCompletion = options.references();
    environment = made;
    if (made) made->AddRef();
  };
  {
    InsideCall inside;
    ASSERT_EQ(TheLoader().createWithOptions(nullptr, nullptr, &options, &handler), S_OK);
  }
  EXPECT_EQ(handler.invoked, 0) << "nothing arrives inside the starting call";
  EXPECT_GT(handler.references(), 0) << "the handler is held until it is invoked";
  EXPECT_GT(options.references(), 0) << "the options are held until the environment exists";

  ASSERT_TRUE(PumpUntil([&] { return handler.invoked > 0; }));
  EXPECT_FALSE(handler.invokedInsideCall);
  EXPECT_EQ(handler.invoked, 1);
  EXPECT_EQ(reported, S_OK) << "a target version newer than the stand-in's does not fail";
  ASSERT_NE(environment, nullptr);
  EXPECT_EQ(optionsReferencesAtCompletion, 0) << "the options were let go once the environment existed";
  PumpUntil([&] { return handler.references() == 0; }, 1000);
  EXPECT_EQ(handler.references(), 0) << "the handler is back to the test's own reference";
  EXPECT_EQ(options.references(), 0);

  // Each options interface was queried, and the first pointer was read again after the later queries.
  for (const char* query : {"query Options", "query Options2", "query Options3", "query Options4", "query Options5",
                            "query Options6", "query Options7", "query Options8"})
    EXPECT_NE(IndexOf(options.notes, query), -1) << query;
  const int lastQuery = IndexOf(options.notes, "query Options8");
  EXPECT_NE(IndexOf(options.notes, "get_AdditionalBrowserArguments", lastQuery), -1);
  for (const char* getter : {"get_Language", "get_TargetCompatibleBrowserVersion", "GetCustomSchemeRegistrations",
                             "get_ChannelSearchKind", "get_ReleaseChannels", "get_ScrollBarStyle"})
    EXPECT_NE(IndexOf(options.notes, getter), -1) << getter;
  // Every string and array it received went back to CoTaskMemFree.
  EXPECT_GE(spy.frees(), static_cast<int>(options.handedOut.size()));
  EXPECT_EQ(spy.liveBlocks(), 0);

  LPWSTR version = nullptr;
  ASSERT_EQ(environment->get_BrowserVersionString(&version), S_OK);
  EXPECT_TRUE(spy.IsLive(version)) << "a fresh CoTaskMemAlloc copy";
  EXPECT_EQ(TextOf(version), L"138.0.3351.48");
  environment->Release();
}

TEST_F(LoaderTest, ControllerIsAChildWindowOfTheParentThatFollowsBoundsAndVisibility) {
  environment_ = MakeEnvironment();
  ASSERT_TRUE(environment_);
  ControllerHandler handler(IidText::ICoreWebView2CreateCoreWebView2ControllerCompletedHandler);
  handler.onInvoke = [&](HRESULT error, ICoreWebView2Controller* made) {
    EXPECT_EQ(error, S_OK);
    if (made) made->AddRef(), *controller_.out() = made;
  };
  {
    InsideCall inside;
    ASSERT_EQ(environment_->CreateCoreWebView2Controller(parent_, &handler), S_OK);
  }
  EXPECT_EQ(handler.invoked, 0);
  ASSERT_TRUE(PumpUntil([&] { return handler.invoked > 0; }));
  EXPECT_FALSE(handler.invokedInsideCall);
  PumpUntil([&] { return handler.references() == 0; }, 1000);
  EXPECT_EQ(handler.references(), 0);
  ASSERT_TRUE(controller_);

  HWND child = GetWindow(parent_, GW_CHILD);
  ASSERT_NE(child, nullptr);
  const LONG style = GetWindowLongW(child, GWL_STYLE);
  EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);

  ASSERT_EQ(controller_->put_Bounds(RECT{10, 20, 310, 220}), S_OK);
  RECT placed{};
  GetWindowRect(child, &placed);
  MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.left, 10);
  EXPECT_EQ(placed.top, 20);
  EXPECT_EQ(placed.right - placed.left, 300);
  EXPECT_EQ(placed.bottom - placed.top, 200);
  RECT bounds{};
  ASSERT_EQ(controller_->get_Bounds(&bounds), S_OK);
  EXPECT_EQ(bounds.right, 310);

  ASSERT_EQ(controller_->put_IsVisible(FALSE), S_OK);
  EXPECT_FALSE(IsWindowVisible(child));
  ASSERT_EQ(controller_->put_IsVisible(TRUE), S_OK);
  EXPECT_TRUE(IsWindowVisible(child));

  TestHandler<ICoreWebView2ZoomFactorChangedEventHandler> zoomed(IidText::ICoreWebView2ZoomFactorChangedEventHandler);
  EventRegistrationToken token{};
  ASSERT_EQ(controller_->add_ZoomFactorChanged(&zoomed, &token), S_OK);
  {
    InsideCall inside;
    ASSERT_EQ(controller_->put_ZoomFactor(1.5), S_OK);
  }
  ASSERT_TRUE(PumpUntil([&] { return zoomed.invoked > 0; }));
  EXPECT_FALSE(zoomed.invokedInsideCall);
  double zoom = 0;
  EXPECT_EQ(controller_->get_ZoomFactor(&zoom), S_OK);
  EXPECT_EQ(zoom, 1.5);

  TestHandler<ICoreWebView2FocusChangedEventHandler> gotFocus(IidText::ICoreWebView2FocusChangedEventHandler);
  ASSERT_EQ(controller_->add_GotFocus(&gotFocus, &token), S_OK);
  {
    InsideCall inside;
    ASSERT_EQ(controller_->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC), S_OK);
  }
  EXPECT_EQ(GetFocus(), child);
  ASSERT_TRUE(PumpUntil([&] { return gotFocus.invoked > 0; }));
  EXPECT_FALSE(gotFocus.invokedInsideCall);

  // Close takes the window and every handler; later calls answer an error.
  ASSERT_EQ(controller_->Close(), S_OK);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(zoomed.references(), 0);
  EXPECT_EQ(gotFocus.references(), 0);
  EXPECT_EQ(controller_->put_Bounds(RECT{0, 0, 1, 1}), HRESULT_FROM_WIN32(ERROR_INVALID_STATE));
}

TEST_F(LoaderTest, NoRuntimeFailsAtOnceAndNeverKeepsTheHandler) {
  ScopedVariable fail(L"WEBVIEW2_STANDIN_FAIL", L"runtime");
  EnvironmentHandler handler(IidText::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler);
  EXPECT_EQ(TheLoader().createWithOptions(nullptr, nullptr, nullptr, &handler),
            HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(TheLoader().create(&handler), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(handler.references(), 0);
  PumpFor(200);
  EXPECT_EQ(handler.invoked, 0);

  LPWSTR version = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(TheLoader().versionString(nullptr, &version), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(version, nullptr);
}

TEST_F(LoaderTest, AFailingStepReportsThroughItsHandlerWithNoObject) {
  {
    ScopedVariable fail(L"WEBVIEW2_STANDIN_FAIL", L"environment");
    EnvironmentHandler handler(IidText::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler);
    HRESULT reported = S_OK;
    ICoreWebView2Environment* received = reinterpret_cast<ICoreWebView2Environment*>(1);
    handler.onInvoke = [&](HRESULT error, ICoreWebView2Environment* made) { reported = error, received = made; };
    ASSERT_EQ(TheLoader().create(&handler), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return handler.invoked > 0; }));
    EXPECT_TRUE(FAILED(reported));
    EXPECT_EQ(received, nullptr);
  }
  environment_ = MakeEnvironment();
  ASSERT_TRUE(environment_);
  {
    ScopedVariable fail(L"WEBVIEW2_STANDIN_FAIL", L"controller");
    ControllerHandler handler(IidText::ICoreWebView2CreateCoreWebView2ControllerCompletedHandler);
    HRESULT reported = S_OK;
    ICoreWebView2Controller* received = reinterpret_cast<ICoreWebView2Controller*>(1);
    handler.onInvoke = [&](HRESULT error, ICoreWebView2Controller* made) { reported = error, received = made; };
    ASSERT_EQ(environment_->CreateCoreWebView2Controller(parent_, &handler), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return handler.invoked > 0; }));
    EXPECT_TRUE(FAILED(reported));
    EXPECT_EQ(received, nullptr);
    EXPECT_EQ(GetWindow(parent_, GW_CHILD), nullptr);
  }
}

TEST_F(LoaderTest, WithheldInterfacesAnswerNoInterface) {
  ScopedVariable withhold(L"WEBVIEW2_STANDIN_WITHHOLD", L"environment4, webview15");
  MakeView();
  EXPECT_TRUE(Query<ICoreWebView2Environment3>(environment_.get(), IidText::ICoreWebView2Environment3));
  Owned<ICoreWebView2Environment4> environment4;
  EXPECT_EQ(environment_->QueryInterface(IidOf(IidText::ICoreWebView2Environment4),
                                         reinterpret_cast<void**>(environment4.out())),
            E_NOINTERFACE);
  for (const char* later : {IidText::ICoreWebView2_2, IidText::ICoreWebView2_14, IidText::ICoreWebView2_15}) {
    Owned<IUnknown> found;
    EXPECT_EQ(view_->QueryInterface(IidOf(later), reinterpret_cast<void**>(found.out())), E_NOINTERFACE) << later;
  }
  EXPECT_TRUE(Query<ICoreWebView2>(view_.get(), IidText::ICoreWebView2));
}

TEST_F(LoaderTest, EveryVersionOfTheViewIsOnePointer) {
  MakeView();
  for (const char* version :
       {IidText::ICoreWebView2, IidText::ICoreWebView2_2, IidText::ICoreWebView2_9, IidText::ICoreWebView2_15}) {
    Owned<IUnknown> found = Query<IUnknown>(view_.get(), version);
    EXPECT_EQ(found.get(), static_cast<IUnknown*>(view_.get())) << version;
  }
  EXPECT_TRUE(Query<ICoreWebView2Environment4>(environment_.get(), IidText::ICoreWebView2Environment4));
}

TEST(LoaderVersions, AvailableVersionAndComparison) {
  ASSERT_NE(TheLoader().module, nullptr);
  LPWSTR version = nullptr;
  ASSERT_EQ(TheLoader().versionString(nullptr, &version), S_OK);
  EXPECT_EQ(TextOf(version), L"138.0.3351.48");
  ASSERT_EQ(TheLoader().versionStringWithOptions(nullptr, nullptr, &version), S_OK);
  EXPECT_EQ(TextOf(version), L"138.0.3351.48");
  EXPECT_EQ(TheLoader().versionString(nullptr, nullptr), E_POINTER);

  const struct {
    const wchar_t* first;
    const wchar_t* second;
    HRESULT result;
    int order;
  } rows[] = {
      {L"138.0.3351.48", L"138.0.3351.48", S_OK, 0},
      {L"138.0.3351.48", L"138.0.3351.100", S_OK, -1},  // numbers, not text
      {L"139.0.0.0", L"138.9.9999.9", S_OK, 1},
      {L"138", L"138.0.0.0", S_OK, 0},
      {L"120.0.1.2 beta", L"120.0.1.2", S_OK, 0},
      {L"abc", L"1.0", E_INVALIDARG, 0},
      {L"", L"1.0", E_INVALIDARG, 0},
      {L"1..2", L"1.0", E_INVALIDARG, 0},
      {nullptr, L"1.0", E_POINTER, 0},
  };
  for (const auto& row : rows) {
    int order = 42;
    EXPECT_EQ(TheLoader().compare(row.first, row.second, &order), row.result)
        << Narrow(row.first ? row.first : L"(null)") << " vs " << Narrow(row.second);
    if (row.result == S_OK) {
      EXPECT_EQ(order, row.order) << Narrow(row.first) << " vs " << Narrow(row.second);
    }
  }
  EXPECT_EQ(TheLoader().compare(L"1.0", L"1.0", nullptr), E_POINTER);
}

TEST(LoaderArguments, ANullHandlerIsInvalid) {
  ASSERT_NE(TheLoader().module, nullptr);
  EXPECT_EQ(TheLoader().createWithOptions(nullptr, nullptr, nullptr, nullptr), E_INVALIDARG);
  EXPECT_EQ(TheLoader().create(nullptr), E_INVALIDARG);
}

}  // namespace
