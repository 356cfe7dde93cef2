// The browser coming up, driven through the real handler objects against recording fakes: the
// environment, the controller, the page's events, the caption and the size-changed handler.

#include "browser/page_events.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "browser/caption.h"
#include "browser/globals.h"
#include "com/heap.h"
#include "support/process_heap.h"
#include "support/task_allocator_spy.h"
#include "support/recording_fakes.h"

namespace {

constexpr int kClientWidth = 640;
constexpr int kClientHeight = 480;

std::u16string Caption(HWND window) {
  wchar_t caption[256] = L"";
  GetWindowTextW(window, caption, 256);
  return reinterpret_cast<const char16_t*>(caption);
}

std::vector<std::string> Methods(const Recorder& fake) {
  std::vector<std::string> methods;
  for (const RecordedCall& call : fake.calls) methods.push_back(call.method);
  return methods;
}

ULONG_PTR Value(IUnknown* object) { return reinterpret_cast<ULONG_PTR>(object); }

class PageEventsTest : public testing::Test {
 protected:
  // One window for the suite: a window's first creation warms up caches that a heap count sees.
  static void SetUpTestSuite() {
    window_ = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                              nullptr);
  }
  static void TearDownTestSuite() { DestroyWindow(window_); }

  void SetUp() override {
    ASSERT_NE(window_, nullptr);
    ShowWindow(window_, SW_HIDE);
    ShowWindow(window_, SW_RESTORE);
    ShowWindow(window_, SW_HIDE);
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextW(window_, L"翠鸮交流群-cuixiao.club");
    g_mainWindow = window_;
    InitGlobals();
    controller_.answers.object = static_cast<ICoreWebView2*>(&view_);
    heap_.emplace();  // the window's own work above is not ours to count
  }
  void TearDown() override {
    DestroyGlobals();
    g_mainWindow = nullptr;
  }

  IUnknown* Environment() { return static_cast<ICoreWebView2Environment4*>(&environment_); }
  IUnknown* Controller() { return static_cast<ICoreWebView2Controller*>(&controller_); }
  IUnknown* View() { return static_cast<ICoreWebView2*>(&view_); }

  // The environment arrives and its controller request completes, as WebView2 would do it.
  void BringUpBrowser() {
    environment_.answers.text = L"138.0.3351.48";
    ASSERT_EQ(OnEnvironmentCreated(0, S_OK, Value(Environment())), S_OK);
    ASSERT_EQ(environment_.Complete("CreateCoreWebView2Controller", S_OK, Controller()), S_OK);
  }

  std::optional<HeapBalance> heap_;  // checked last, once the fakes have dropped every handler
  TaskAllocatorSpy spy_;
  FakeEnvironment environment_;
  FakeController controller_;
  FakeWebView view_;
  FakeNavigationCompletedArgs args_;
  static inline HWND window_ = nullptr;
};

TEST_F(PageEventsTest, TheEnvironmentAsksForTheControllerOnTheWindowThenShowsTheVersion) {
  environment_.answers.text = L"138.0.3351.48";
  EXPECT_EQ(OnEnvironmentCreated(0, E_FAIL, Value(Environment())), S_OK);
  EXPECT_EQ(Methods(environment_),
            (std::vector<std::string>{"CreateCoreWebView2Controller", "get_BrowserVersionString"}));
  EXPECT_EQ(environment_.calls[0].numbers[0], reinterpret_cast<std::intptr_t>(window_));
  EXPECT_EQ(Caption(window_), u"翠鸮交流群(cuixiao.club)_138.0.3351.48");
  EXPECT_EQ(environment_.references(), 0) << "the routine's wrappers released the environment";
  EXPECT_EQ(spy_.liveBlocks(), 0);
}

TEST_F(PageEventsTest, WithoutEnvironmentNothingIsCalledAndTheCaptionStays) {
  EXPECT_EQ(OnEnvironmentCreated(0, static_cast<ULONG_PTR>(E_FAIL), 0), S_OK);
  EXPECT_EQ(Caption(window_), u"翠鸮交流群-cuixiao.club");
}

TEST_F(PageEventsTest, TheControllerIsFittedSubscribedAndNavigatedInThisOrder) {
  BringUpBrowser();
  EXPECT_EQ(Methods(controller_), (std::vector<std::string>{"get_CoreWebView2", "put_Bounds"}));
  EXPECT_EQ(controller_.calls[1].numbers, (std::vector<std::int64_t>{0, 0, kClientWidth, kClientHeight}));
  EXPECT_EQ(Methods(view_),
            (std::vector<std::string>{"add_NavigationCompleted", "add_DocumentTitleChanged", "Navigate"}));
  EXPECT_EQ(view_.calls[2].texts[0], std::wstring(L"http://cuixiao.club/"));
  EXPECT_EQ(g_controller->Get(), Controller());
  EXPECT_EQ(g_webView->Get(), View());
  EXPECT_EQ(g_scriptHost->Get(), nullptr) << "made at the first completed navigation";
}

TEST_F(PageEventsTest, WithoutControllerTheGlobalsStayEmptyAndResizingDoesNothing) {
  EXPECT_EQ(OnControllerCreated(0, static_cast<ULONG_PTR>(E_FAIL), 0), S_OK);
  EXPECT_EQ(g_controller->Get(), nullptr);
  EXPECT_EQ(g_webView->Get(), nullptr);
  OnMainWindowSizeChanged(window_);
  EXPECT_TRUE(controller_.calls.empty());
}

TEST_F(PageEventsTest, EveryTitleChangeRewritesTheWholeCaption) {
  BringUpBrowser();
  struct Case {
    const wchar_t* title;
    const char16_t* caption;
  } const cases[] = {
      {L"翠鸮交流群 - 首页", u"翠鸮交流群(cuixiao.club)_翠鸮交流群 - 首页"},
      {L"", u"翠鸮交流群(cuixiao.club)_"},
      {L"Thai \u0E01, Arabic \u0627", u"翠鸮交流群(cuixiao.club)_Thai ?, Arabic ?"},  // outside code page 936
      {L"第二页", u"翠鸮交流群(cuixiao.club)_第二页"},
  };
  for (const Case& c : cases) {
    view_.answers.text = c.title;
    EXPECT_EQ(view_.Raise("DocumentTitleChanged", View(), static_cast<IUnknown*>(nullptr)), S_OK);
    EXPECT_EQ(Caption(window_), c.caption);
  }
  EXPECT_EQ(spy_.liveBlocks(), 0) << "every title was freed";
}

TEST_F(PageEventsTest, EveryCompletedNavigationPublishesTheSameObjectAndSubscribesFavicons) {
  BringUpBrowser();
  for (int navigation = 0; navigation < 3; ++navigation) {
    EXPECT_EQ(view_.Raise("NavigationCompleted", View(), static_cast<ICoreWebView2NavigationCompletedEventArgs*>(&args_)),
              S_OK);
  }
  std::vector<const void*> published;
  int favicons = 0;
  for (const RecordedCall& call : view_.calls) {
    if (call.method == "AddHostObjectToScript") {
      EXPECT_EQ(call.texts[0], std::wstring(L"TestHost"));
      EXPECT_EQ(call.numbers[0], VT_UNKNOWN);
      published.push_back(call.pointers.at(0));
    }
    if (call.method == "add_FaviconChanged") ++favicons;
  }
  ASSERT_NE(g_scriptHost->Get(), nullptr);
  EXPECT_EQ(published, (std::vector<const void*>(3, g_scriptHost->Get())));
  EXPECT_EQ(favicons, 3);
  EXPECT_EQ(view_.HandlersOf("FaviconChanged").size(), 3u);
  EXPECT_EQ(args_.references(), 0);

  // A favicon change only touches its sender.
  EXPECT_EQ(view_.Raise("FaviconChanged", View(), static_cast<IUnknown*>(nullptr)), S_OK);
  EXPECT_EQ(view_.references(), 1) << "g_webView's own";
}

TEST_F(PageEventsTest, AScriptObjectThatCannotBeMadeIsTriedAgainAtTheNextNavigation) {
  BringUpBrowser();
  auto* args = static_cast<ICoreWebView2NavigationCompletedEventArgs*>(&args_);
  {
    ProcessHeap::ScopedFailures noMemory(1);  // the object's routine table
    EXPECT_EQ(view_.Raise("NavigationCompleted", View(), args), S_OK);
  }
  EXPECT_EQ(g_scriptHost->Get(), nullptr);
  EXPECT_EQ(view_.Raise("NavigationCompleted", View(), args), S_OK);
  ASSERT_NE(g_scriptHost->Get(), nullptr);

  std::vector<VARTYPE> published;
  for (const RecordedCall& call : view_.calls) {
    if (call.method == "AddHostObjectToScript") published.push_back(static_cast<VARTYPE>(call.numbers[0]));
  }
  EXPECT_EQ(published, (std::vector<VARTYPE>{VT_EMPTY, VT_UNKNOWN}));
  EXPECT_EQ(view_.HandlersOf("FaviconChanged").size(), 2u) << "publishing failed, the subscription did not";
}

TEST_F(PageEventsTest, TheBrowserFollowsTheClientAreaAndGetsNothingWhileMinimised) {
  OnMainWindowSizeChanged(window_);  // before the controller exists
  BringUpBrowser();
  controller_.calls.clear();

  SetWindowPos(window_, nullptr, 0, 0, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
  OnMainWindowSizeChanged(window_);
  RECT client{};
  GetClientRect(window_, &client);
  ShowWindow(window_, SW_SHOWMINNOACTIVE);
  OnMainWindowSizeChanged(window_);

  ASSERT_EQ(controller_.calls.size(), 2u);
  EXPECT_EQ(controller_.calls[0].numbers, (std::vector<std::int64_t>{0, 0, client.right, client.bottom}));
  EXPECT_EQ(controller_.calls[1].numbers, (std::vector<std::int64_t>{0, 0, 0, 0}));
}

TEST(Caption, PrefixAndTextAsTheCaptionReads) {
  EXPECT_EQ(CaptionWith("138.0.3351.48"), "\xb4\xe4\xfb\x5e\xbd\xbb\xc1\xf7\xc8\xba(cuixiao.club)_138.0.3351.48");
  EXPECT_EQ(CaptionWith(""), CaptionWith(nullptr));
  EXPECT_EQ(CaptionWith(nullptr), "\xb4\xe4\xfb\x5e\xbd\xbb\xc1\xf7\xc8\xba(cuixiao.club)_");
}

}  // namespace
