// The client with its browser, end to end: the real exe under Wine on the stand-in runtime, the
// site served on loopback, watched through the caption, the stand-in's journal and the tray.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/browser_client.h"
#include "e2e/loopback_site.h"
#include "support/shell_probes.h"

namespace {

// Page script: waits for TestHost to be published, then puts what calls of it gave into the
// title, a failing call as its error number in hexadecimal.
constexpr char kCallsScript[] = R"(<script>
function hex(n) { if (n < 0) n += 4294967296; return '0x' + n.toString(16); }
function attempt(call) { try { return String(call()); } catch (e) { return hex(e.number); } }
function run() {
  var host = chrome.webview.hostObjects.sync.TestHost;
  if (!host) { setTimeout(run, 20); return; }
  document.title = [attempt(function () { return host.add(2, 3); }),
                    attempt(function () { return host.add(1.5, 2.25); }),
                    attempt(function () { return host.add('7', true); }),
                    attempt(function () { return host.add(1); }),
                    attempt(function () { return host.add(1, 2, 3); }),
                    attempt(function () { return host.Add(2, 3); })].join(' ');
}
run();
</script>)";

std::string Page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title + "</title></head><body>" + body +
         "</body></html>";
}

EnvironmentSettings MappedTo(const LoopbackSite& site, EnvironmentSettings more = {}) {
  more.push_back({L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", site.HostRule()});
  return more;
}

std::string BoundsLine(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return "ICoreWebView2Controller::put_Bounds 0,0," + std::to_string(client.right) + "," +
         std::to_string(client.bottom);
}

TEST(Browser, ShowsTheSiteWithTheCaptionsInOrderAndTestHostAnswersPageScript) {
  // The home page comes late, so that the version caption stands for a while.
  LoopbackSite site({{"/", {Page("翠鸮交流群 - 首页", "<p>欢迎</p>" + std::string(kCallsScript)), 1500}}});
  ASSERT_TRUE(site.listening());
  BrowserClient client(ClientProgram(), FreshFolder(L"browser-main"), MappedTo(site));
  ASSERT_NE(client.window(), nullptr);

  const std::u16string results = CaptionWith(u"5 3.75 6 0x80020003 0x80020003 0x800a01b6");
  std::vector<std::u16string> seen{client.Caption()};
  WaitUntil([&] {
    const std::u16string caption = client.Caption();
    if (caption != seen.back()) seen.push_back(caption);
    return caption == results;
  }, 30000);
  const std::vector<std::u16string> order{CreationCaption(), CaptionWith(u"138.0.3351.48"),
                                          CaptionWith(u"翠鸮交流群 - 首页"), results};
  EXPECT_EQ(seen.back(), results);
  EXPECT_NE(std::find(seen.begin(), seen.end(), order[1]), seen.end()) << "the runtime's version was shown";
  // Whatever was seen came in the order of the forms.
  auto next = order.begin();
  for (const std::u16string& caption : seen) {
    next = std::find(next, order.end(), caption);
    ASSERT_NE(next, order.end()) << "unexpected or out of order: " << std::string(caption.begin(), caption.end());
  }

  EXPECT_EQ(client.CountJournal("ICoreWebView2::Navigate http://cuixiao.club/"), 1);
  EXPECT_EQ(client.CountJournal("ICoreWebView2::AddHostObjectToScript TestHost"), 1);
  EXPECT_EQ(client.ExitThroughTrayMenu(), 0);
}

TEST(Browser, TheBrowserCoversTheClientAreaAfterEveryResizeAndNothingWhileMinimised) {
  LoopbackSite site({{"/", {Page("首页", "<p>欢迎</p>")}}});
  BrowserClient client(ClientProgram(), FreshFolder(L"browser-bounds"), MappedTo(site));
  ASSERT_NE(client.window(), nullptr);
  ASSERT_TRUE(client.WaitForCaption(CaptionWith(u"首页")));
  const HWND window = client.window();
  EXPECT_TRUE(client.WaitForJournal(BoundsLine(window)));

  for (const SIZE size : {SIZE{700, 500}, SIZE{1000, 760}, SIZE{320, 240}}) {
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    EXPECT_TRUE(client.WaitForJournal(BoundsLine(window))) << size.cx << " x " << size.cy;
    RECT browser{};
    GetWindowRect(client.BrowserWindow(), &browser);
    RECT client_area{};
    GetClientRect(window, &client_area);
    EXPECT_EQ(browser.right - browser.left, client_area.right);
    EXPECT_EQ(browser.bottom - browser.top, client_area.bottom);
  }
  ShowWindow(window, SW_MINIMIZE);
  EXPECT_TRUE(client.WaitForJournal("ICoreWebView2Controller::put_Bounds 0,0,0,0"));
  EXPECT_EQ(client.ExitThroughTrayMenu(), 0);
}

TEST(Browser, EveryCompletedNavigationPublishesTestHostAndSubscribesFavicons) {
  // A link click to the second page, whose first answer reloads it; the reloaded page uses TestHost.
  const std::string reloadOnce = "<script>setTimeout(function () { location.reload(); }, 50);</script>";
  const std::string useHost =
      "<script>function run() { var host = chrome.webview.hostObjects.sync.TestHost;"
      " if (!host) { setTimeout(run, 20); return; } document.title = 'sum ' + host.add(20, 22); } run();</script>";
  LoopbackSite site({{"/", {Page("首页", "<p><a href=\"/two.html\">第二页 第二页 第二页</a></p>")}},
                     {"/two.html", {Page("第二页", reloadOnce), 0, Page("第二页", useHost)}}});
  BrowserClient client(ClientProgram(), FreshFolder(L"browser-navigations"), MappedTo(site));
  ASSERT_NE(client.window(), nullptr);
  ASSERT_TRUE(client.WaitForCaption(CaptionWith(u"首页")));
  ASSERT_TRUE(client.WaitForJournal("ICoreWebView2::AddHostObjectToScript TestHost"));

  // The link is the page's first line.
  const HWND browser = client.BrowserWindow();
  ASSERT_NE(browser, nullptr);
  PostMessageW(browser, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 16));
  PostMessageW(browser, WM_LBUTTONUP, 0, MAKELPARAM(20, 16));

  EXPECT_TRUE(client.WaitForCaption(CaptionWith(u"sum 42")));
  EXPECT_EQ(site.Requests("/two.html"), 2);
  EXPECT_EQ(client.CountJournal("ICoreWebView2::AddHostObjectToScript TestHost"), 3);
  EXPECT_EQ(client.CountJournal("add_FaviconChanged gives token"), 3);
  EXPECT_EQ(client.CountJournal("add_NavigationCompleted gives token"), 1);
  EXPECT_EQ(client.CountJournal("add_DocumentTitleChanged gives token"), 1);
  EXPECT_EQ(client.ExitThroughTrayMenu(), 0);
}

TEST(Browser, TitlesAreShownInCodePage936) {
  const std::string retitle =
      "<script>var titles = ['Thai \\u0e01 Arabic \\u0627', '', '第二个'];"
      " var i = 0; function next() { if (i < titles.length) { document.title = titles[i++]; setTimeout(next, 400); } }"
      " setTimeout(next, 400);</script>";
  LoopbackSite site({{"/", {Page("首页", retitle)}}});
  BrowserClient client(ClientProgram(), FreshFolder(L"browser-titles"), MappedTo(site));
  ASSERT_NE(client.window(), nullptr);
  std::vector<std::u16string> seen;
  WaitUntil([&] {
    const std::u16string caption = client.Caption();
    if (seen.empty() || caption != seen.back()) seen.push_back(caption);
    return caption == CaptionWith(u"第二个");
  }, 20000);
  EXPECT_NE(std::find(seen.begin(), seen.end(), CaptionWith(u"Thai ? Arabic ?")), seen.end());
  // For an empty title the runtime, like WebView2's, answers the page's address, which the caption
  // shows as it is (an empty answer would leave the prefix alone: the unit tests show that).
  EXPECT_NE(std::find(seen.begin(), seen.end(), CaptionWith(u"http://cuixiao.club/")), seen.end());
  EXPECT_EQ(seen.back(), CaptionWith(u"第二个"));
  EXPECT_EQ(client.ExitThroughTrayMenu(), 0);
}

// Each failure leaves the window as far as the browser got, and the tray still ends the program.
TEST(Browser, FailuresLeaveTheWindowWithoutBrowserOrWithAnOlderCaption) {
  LoopbackSite site({{"/", {Page("首页", "<p>欢迎</p>" + std::string(kCallsScript))}}});
  const std::u16string version = CaptionWith(u"138.0.3351.48");
  const std::u16string results = CaptionWith(u"5 3.75 6 0x80020003 0x80020003 0x800a01b6");
  struct Case {
    const wchar_t* name;
    EnvironmentSettings knobs;
    std::string reached;  // the journal line that shows the step was taken
    std::u16string caption;
    bool browser;
    int favicons;
  } const cases[] = {
      {L"no-runtime", {{L"WEBVIEW2_STANDIN_FAIL", L"runtime"}}, "no runtime: 0x80070002", CreationCaption(), false, 0},
      {L"environment", {{L"WEBVIEW2_STANDIN_FAIL", L"environment"}}, "environment completes: 0x80004005",
       CreationCaption(), false, 0},
      {L"controller", {{L"WEBVIEW2_STANDIN_FAIL", L"controller"}}, "controller completes", version, false, 0},
      {L"navigation", {{L"WEBVIEW2_STANDIN_FAIL", L"navigation"}}, "ICoreWebView2::AddHostObjectToScript TestHost",
       u"", true, 1},
      {L"no-environment4", {{L"WEBVIEW2_STANDIN_WITHHOLD", L"environment4"}}, "ICoreWebView2::AddHostObjectToScript",
       results, true, 1},
      {L"no-webview15", {{L"WEBVIEW2_STANDIN_WITHHOLD", L"webview15"}}, "ICoreWebView2::AddHostObjectToScript",
       results, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
    BrowserClient client(ClientProgram(), FreshFolder((std::wstring(L"browser-fail-") + c.name).c_str()),
                         MappedTo(site, c.knobs));
    ASSERT_NE(client.window(), nullptr);
    EXPECT_TRUE(client.WaitForJournal(c.reached));
    if (!c.caption.empty()) {
      EXPECT_TRUE(client.WaitForCaption(c.caption)) << std::string(c.caption.begin(), c.caption.end());
    }
    Sleep(500);  // nothing more comes
    if (!c.caption.empty()) {
      EXPECT_EQ(client.Caption(), c.caption);
    }
    EXPECT_EQ(client.BrowserWindow() != nullptr, c.browser);
    EXPECT_EQ(client.CountJournal("add_FaviconChanged gives token"), c.favicons);
    if (std::wstring(c.name) == L"no-environment4") {
      EXPECT_EQ(client.CountJournal("ICoreWebView2Environment::get_BrowserVersionString"), 0);
    }
    if (!c.browser) {
      // Resizing a window without browser changes nothing else.
      const int before = client.CountJournal("ICoreWebView2Controller::put_Bounds");
      SetWindowPos(client.window(), nullptr, 0, 0, 600, 400, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
      Sleep(300);
      EXPECT_EQ(client.CountJournal("ICoreWebView2Controller::put_Bounds"), before);
      EXPECT_EQ(client.CountJournal("ICoreWebView2::Navigate"), 0);
    }
    EXPECT_TRUE(TrayIconExists(client.window()));
    EXPECT_EQ(client.ExitThroughTrayMenu(), 0);
  }
}

TEST(Browser, ExitWhileThePageIsStillComingEndsWithZero) {
  LoopbackSite site({{"/", {Page("首页", "<p>慢</p>"), 4000}}});
  BrowserClient client(ClientProgram(), FreshFolder(L"browser-early-exit"), MappedTo(site));
  ASSERT_NE(client.window(), nullptr);
  EXPECT_EQ(client.ExitThroughTrayMenu(), 0);
  EXPECT_EQ(client.CountJournal("navigation "), 0) << "no navigation completed";
}

TEST(Browser, ExitWhileTheControllerIsStillBeingCreatedEndsWithZero) {
  // The shell probe is the client's own start-up that chooses "退出" as soon as its window exists:
  // the environment's answer is already queued then, the controller's is not.
  const std::wstring folder = FreshFolder(L"browser-exit-pending");
  BrowserClient probe(ProgramFromEnvironment("SHELL_PROBE_EXE"), folder, {},
                      L"exit \"" + folder + L"\\probe-journal.txt\"");
  ASSERT_TRUE(probe.started());
  DWORD exitCode = 1;
  ASSERT_TRUE(probe.process().WaitForExit(20000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(probe.CountJournal("ICoreWebView2Environment::CreateCoreWebView2Controller"), 1);
  EXPECT_EQ(probe.CountJournal("controller completes"), 0) << "the controller was still being created";
}

}  // namespace
