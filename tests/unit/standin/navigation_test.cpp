#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event_args_interfaces.h"
#include "unit/standin/host.h"
#include "unit/standin/page_server.h"

// Navigations of a view made through the exports, against pages served on loopback: the events in
// the runtime's order, for a page, a failure, a link click and a mapped host name.

namespace {

const char kFirstPage[] =
    "<html><head><title>\xE7\xAC\xAC\xE4\xB8\x80\xE9\xA1\xB5</title></head>"
    "<body><a href=\"/second\">SECOND SECOND SECOND SECOND</a><p>text</p></body></html>";
const char kSecondPage[] = "<html><head><title>Second</title></head><body><h1>Second</h1></body></html>";
const char kFirstTitle[] = "\xE7\xAC\xAC\xE4\xB8\x80\xE9\xA1\xB5";  // 第一页

std::vector<std::string> Expected(const std::string& uri, const std::string& title, bool user = false) {
  return {"NavigationStarting " + uri + (user ? " user" : ""),
          "SourceChanged new",
          "ContentLoading",
          "HistoryChanged",
          "DocumentTitleChanged " + title,
          "NavigationCompleted success 0"};
}

class NavigationTest : public StandInTest {
 protected:
  void SetUp() override {
    StandInTest::SetUp();
    server_.Serve("/", {200, "text/html; charset=utf-8", kFirstPage});
    server_.Serve("/second", {200, "text/html; charset=utf-8", kSecondPage});
  }
  PageServer server_;
};

TEST_F(NavigationTest, OnePageRaisesTheEventsInTheRuntimesOrder) {
  MakeView();
  Owned<ICoreWebView2_15> view15 = Query<ICoreWebView2_15>(view_.get(), IidText::ICoreWebView2_15);
  ASSERT_TRUE(view15);
  TestHandler<ICoreWebView2FaviconChangedEventHandler> favicon(IidText::ICoreWebView2FaviconChangedEventHandler);
  EventRegistrationToken token{};
  ASSERT_EQ(view15->add_FaviconChanged(&favicon, &token), S_OK);

  const std::wstring uri = server_.Uri("/");
  {
    InsideCall inside;
    ASSERT_EQ(view_->Navigate(uri.c_str()), S_OK);
  }
  EXPECT_TRUE(log_.lines.empty()) << "nothing arrives inside Navigate";
  ASSERT_TRUE(PumpUntil([&] { return log_.completed; }));
  EXPECT_EQ(log_.lines, Expected(Narrow(uri), kFirstTitle));
  EXPECT_GT(log_.lastNavigationId, 0x100000000ull);
  EXPECT_EQ(Title(), L"\u7b2c\u4e00\u9875");

  LPWSTR source = nullptr;
  ASSERT_EQ(view_->get_Source(&source), S_OK);
  EXPECT_EQ(TextOf(source), uri);
  ASSERT_TRUE(PumpUntil([&] { return favicon.invoked > 0; }, 2000));
  LPWSTR faviconUri = nullptr;
  ASSERT_EQ(view15->get_FaviconUri(&faviconUri), S_OK);
  EXPECT_EQ(TextOf(faviconUri), server_.Uri("/favicon.ico"));

  // A second navigation has a later id and the same order.
  const UINT64 firstId = log_.lastNavigationId;
  log_.lines.clear();
  NavigateAndWait(server_.Uri("/second"));
  EXPECT_EQ(log_.lines, Expected(Narrow(server_.Uri("/second")), "Second"));
  EXPECT_GT(log_.lastNavigationId, firstId);
  for (auto* handler : {&starting_.invokedInsideCall, &completed_.invokedInsideCall, &titleChanged_.invokedInsideCall})
    EXPECT_FALSE(*handler);
  EXPECT_EQ(view15->remove_FaviconChanged(token), S_OK);
  EXPECT_EQ(favicon.references(), 0);
}

TEST_F(NavigationTest, AnUnreachableSiteCompletesWithAWebErrorStatus) {
  MakeView();
  const std::wstring uri = L"http://127.0.0.1:" + std::to_wstring(UnusedPort()) + L"/";
  NavigateAndWait(uri);
  std::vector<std::string> withoutTitles;
  for (const auto& line : log_.lines)
    if (line.rfind("DocumentTitleChanged", 0) != 0) withoutTitles.push_back(line);
  EXPECT_EQ(withoutTitles,
            (std::vector<std::string>{
                "NavigationStarting " + Narrow(uri), "SourceChanged new", "ContentLoading error page", "HistoryChanged",
                "NavigationCompleted failure " + std::to_string(COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT)}));
  EXPECT_FALSE(log_.lastSuccess);
}

TEST_F(NavigationTest, ALinkClickNavigatesWithTheFullSequence) {
  MakeView();
  NavigateAndWait(server_.Uri("/"));
  log_.lines.clear();
  log_.completed = false;

  // The link is the page's first line, at the top left of the child window.
  HWND child = GetWindow(parent_, GW_CHILD);
  ASSERT_NE(child, nullptr);
  UpdateWindow(child);
  PostMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 14));
  PostMessageW(child, WM_LBUTTONUP, 0, MAKELPARAM(30, 14));
  ASSERT_TRUE(PumpUntil([&] { return log_.completed; }));
  EXPECT_EQ(log_.lines, Expected(Narrow(server_.Uri("/second")), "Second", true));
}

TEST_F(NavigationTest, CancellingInNavigationStartingEndsTheNavigationUnfetched) {
  MakeView();
  starting_.onInvoke = [this](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
    args->get_NavigationId(&log_.lastNavigationId);
    args->put_Cancel(TRUE);
  };
  NavigateAndWait(server_.Uri("/"));
  EXPECT_EQ(log_.lines, (std::vector<std::string>{"NavigationCompleted failure " +
                                                  std::to_string(COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED)}));
  EXPECT_TRUE(server_.requests().empty());
}

TEST_F(NavigationTest, TheNavigationKnobFailsEveryNavigation) {
  ScopedVariable fail(L"WEBVIEW2_STANDIN_FAIL", L"navigation");
  MakeView();
  NavigateAndWait(server_.Uri("/"));
  EXPECT_FALSE(log_.lastSuccess);
  EXPECT_NE(log_.lastStatus, COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN);
}

// Only ICoreWebView2EnvironmentOptions, with the arguments given: the later ones are optional.
class ArgumentsOnlyOptions : public CountedObject<ICoreWebView2EnvironmentOptions> {
 public:
  explicit ArgumentsOnlyOptions(std::wstring arguments)
      : CountedObject({IidText::ICoreWebView2EnvironmentOptions}), arguments_(std::move(arguments)) {}
  HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* value) override { return Copy(arguments_, value); }
  HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* value) override { return Copy(L"", value); }
  HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* value) override {
    return Copy(L"138.0.3351.48", value);
  }
  HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* value) override {
    *value = FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL) override { return E_NOTIMPL; }

 private:
  static HRESULT Copy(const std::wstring& text, LPWSTR* value) {
    *value = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
    wcscpy(*value, text.c_str());
    return S_OK;
  }
  std::wstring arguments_;
};

TEST_F(NavigationTest, HostNamesMapAsWithTheRuntimesSwitch) {
  const std::wstring rule =
      L"--host-resolver-rules=\"MAP cuixiao.test 127.0.0.1:" + std::to_wstring(server_.port()) + L"\"";
  for (const bool throughOptions : {false, true}) {
    SCOPED_TRACE(throughOptions ? "from the options" : "from WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS");
    ScopedVariable variable(L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", throughOptions ? nullptr : rule.c_str());
    ArgumentsOnlyOptions options(throughOptions ? L"--lang=zh-CN " + rule : L"");
    environment_ = MakeEnvironment(&options);
    ASSERT_TRUE(environment_);
    EXPECT_EQ(options.references(), 0);
    controller_ = MakeController(environment_.get());
    ASSERT_TRUE(controller_);
    ASSERT_EQ(controller_->get_CoreWebView2(view_.out()), S_OK);
    TestHandler<ICoreWebView2NavigationCompletedEventHandler> completed(
        IidText::ICoreWebView2NavigationCompletedEventHandler);
    BOOL success = FALSE;
    completed.onInvoke = [&](ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* args) {
      args->get_IsSuccess(&success);
    };
    EventRegistrationToken token{};
    ASSERT_EQ(view_->add_NavigationCompleted(&completed, &token), S_OK);
    ASSERT_EQ(view_->Navigate(L"http://cuixiao.test/"), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return completed.invoked > 0; }));
    EXPECT_TRUE(success);
    EXPECT_EQ(Title(), L"\u7b2c\u4e00\u9875");
    ASSERT_FALSE(server_.requests().empty());
    EXPECT_EQ(server_.requests().back().host, "cuixiao.test");
    controller_->Close();
    EXPECT_EQ(completed.references(), 0);
    view_.reset();
    controller_.reset();
  }
}

TEST_F(NavigationTest, BadInputGetsTheRuntimesAnswer) {
  MakeView();
  EXPECT_EQ(view_->Navigate(nullptr), E_INVALIDARG);
  for (const wchar_t* malformed : {L"", L"not a uri", L"http://", L"http:// spaced.test/", L"://x"})
    EXPECT_EQ(view_->Navigate(malformed), E_INVALIDARG) << Narrow(malformed);
  EXPECT_EQ(view_->get_Source(nullptr), E_POINTER);
  EXPECT_EQ(view_->get_DocumentTitle(nullptr), E_POINTER);

  // Tokens are nonzero and increasing; remove_ knows only the tokens it gave, once.
  TestHandler<ICoreWebView2DocumentTitleChangedEventHandler> handler(
      IidText::ICoreWebView2DocumentTitleChangedEventHandler);
  EventRegistrationToken first{}, second{};
  ASSERT_EQ(view_->add_DocumentTitleChanged(&handler, &first), S_OK);
  ASSERT_EQ(view_->add_DocumentTitleChanged(&handler, &second), S_OK);
  EXPECT_NE(first.value, 0);
  EXPECT_GT(second.value, first.value);
  EXPECT_EQ(handler.references(), 2);
  EXPECT_EQ(view_->remove_DocumentTitleChanged(first), S_OK);
  EXPECT_EQ(view_->remove_DocumentTitleChanged(first), E_INVALIDARG);
  EXPECT_EQ(view_->remove_NavigationCompleted(second), E_INVALIDARG) << "a token of another event";
  EXPECT_EQ(view_->remove_DocumentTitleChanged(EventRegistrationToken{12345}), E_INVALIDARG);
  EXPECT_EQ(handler.references(), 1);
  EXPECT_EQ(view_->add_DocumentTitleChanged(nullptr, &first), E_INVALIDARG);
  EXPECT_EQ(view_->add_DocumentTitleChanged(&handler, nullptr), E_POINTER);
  EXPECT_EQ(view_->remove_DocumentTitleChanged(second), S_OK);
  EXPECT_EQ(handler.references(), 0);

  // The later versions' events are kept by token alike, though the stand-in never raises them.
  Owned<ICoreWebView2_15> view15 = Query<ICoreWebView2_15>(view_.get(), IidText::ICoreWebView2_15);
  ASSERT_TRUE(view15);
  CountedObject<IUnknown> quiet;
  auto* domContentLoaded = reinterpret_cast<ICoreWebView2DOMContentLoadedEventHandler*>(&quiet);
  EventRegistrationToken third{};
  ASSERT_EQ(view15->add_DOMContentLoaded(domContentLoaded, &third), S_OK);
  EXPECT_GT(third.value, second.value);
  EXPECT_EQ(quiet.references(), 1);
  EXPECT_EQ(view15->remove_DOMContentLoaded(third), S_OK);
  EXPECT_EQ(view15->remove_DOMContentLoaded(third), E_INVALIDARG);
  EXPECT_EQ(quiet.references(), 0);
}

TEST_F(NavigationTest, CloseEndsTheViewAndLetsGoOfEveryHandler) {
  MakeView();
  NavigateAndWait(server_.Uri("/"));
  ASSERT_EQ(controller_->Close(), S_OK);
  for (LONG references : {starting_.references(), sourceChanged_.references(), contentLoading_.references(),
                          historyChanged_.references(), titleChanged_.references(), completed_.references()})
    EXPECT_EQ(references, 0);
  const HRESULT ended = HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
  EXPECT_EQ(view_->Navigate(server_.Uri("/").c_str()), ended);
  LPWSTR title = nullptr;
  EXPECT_EQ(view_->get_DocumentTitle(&title), ended);
  Owned<ICoreWebView2> again;
  EXPECT_EQ(controller_->get_CoreWebView2(again.out()), ended);
  PumpFor(100);
  EXPECT_EQ(log_.completions, 1) << "nothing more after Close";
}

TEST_F(NavigationTest, CloseFromInsideAnEventEndsTheNavigationQuietly) {
  MakeView();
  bool closed = false;
  contentLoading_.onInvoke = [&](ICoreWebView2*, ICoreWebView2ContentLoadingEventArgs*) {
    EXPECT_EQ(controller_->Close(), S_OK);
    closed = true;
  };
  ASSERT_EQ(view_->Navigate(server_.Uri("/").c_str()), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return closed; }));
  PumpFor(300);
  EXPECT_EQ(log_.completions, 0);
  EXPECT_EQ(completed_.references(), 0);
  EXPECT_EQ(view_->Reload(), HRESULT_FROM_WIN32(ERROR_INVALID_STATE));
}

TEST_F(NavigationTest, LettingGoOfEverythingInsideAnEventClosesTheView) {
  MakeView();
  HWND child = GetWindow(parent_, GW_CHILD);
  ASSERT_NE(child, nullptr);
  bool released = false;
  titleChanged_.onInvoke = [&](ICoreWebView2*, IUnknown*) {
    view_.reset();
    controller_.reset();
    environment_.reset();
    released = true;
  };
  ASSERT_EQ(view_->Navigate(server_.Uri("/").c_str()), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return released; }));
  PumpFor(300);
  EXPECT_FALSE(IsWindow(child)) << "the last reference to the controller closes it";
  EXPECT_EQ(log_.completions, 0);
  EXPECT_EQ(titleChanged_.references(), 0);
  EXPECT_EQ(completed_.references(), 0);
}

TEST_F(NavigationTest, TheJournalHasALinePerCallAndPerEvent) {
  MakeView();
  NavigateAndWait(server_.Uri("/"));
  const std::vector<std::string> lines = JournalLines();
  bool created = false, navigated = false, raised = false;
  for (const std::string& line : lines) {
    // <microseconds> <thread id> <text>
    const size_t first = line.find(' ');
    const size_t second = line.find(' ', first + 1);
    ASSERT_NE(second, std::string::npos) << line;
    EXPECT_EQ(line.find_first_not_of("0123456789"), first) << line;
    const std::string text = line.substr(second + 1);
    created |= text.rfind("CreateCoreWebView2EnvironmentWithOptions", 0) == 0;
    navigated |= text.rfind("ICoreWebView2::Navigate " + Narrow(server_.Uri("/")), 0) == 0;
    raised |= text.rfind("event NavigationCompleted", 0) == 0;
  }
  EXPECT_TRUE(created);
  EXPECT_TRUE(navigated);
  EXPECT_TRUE(raised);
}

}  // namespace
