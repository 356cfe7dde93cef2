// Soak: the client under a long run of what a user and the site do to it (tray menus, resizes,
// navigations), checked by what it holds afterwards, not by how long it took.

#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "e2e/browser_client.h"
#include "e2e/loopback_site.h"
#include "e2e/navigation_counter.h"
#include "e2e/process_counts.h"
#include "support/shell_probes.h"

namespace {

constexpr int kMenus = 1000;
constexpr int kResizes = 10000;
constexpr int kNavigations = 200;
// Whatever a run settles into once (worker threads, caches) may move a count by a few; a leak per
// step moves it by hundreds.
constexpr long kSlack = 8;

std::string Page(const std::string& title, const std::string& link) {
  return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title + "</title></head><body><p><a href=\"" +
         link + "\">下一页 下一页 下一页</a></p></body></html>";
}

// Polls often: a thousand steps each waiting 50 ms would take most of the run.
template <typename Condition>
bool WaitBriefly(Condition condition, DWORD milliseconds = 10000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= milliseconds) return false;
    Sleep(1);
  }
  return true;
}

// Clicks the page's link, the first line, and waits for each navigation to complete. A click that
// comes before the new page is laid out finds no link: it is given again.
bool Navigate(BrowserClient& client, NavigationCounter& completions, int count) {
  for (int i = 0; i < count; ++i) {
    const int before = completions.Count();
    bool completed = false;
    for (int attempt = 0; attempt < 5 && !completed; ++attempt) {
      const HWND browser = client.BrowserWindow();
      PostMessageW(browser, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 16));
      PostMessageW(browser, WM_LBUTTONUP, 0, MAKELPARAM(20, 16));
      completed = WaitBriefly([&] { return completions.Count() > before; }, 2000);
    }
    if (!completed) return false;
  }
  return true;
}

bool OpenAndDismissTrayMenus(const BrowserClient& client, int count) {
  const DWORD id = client.process().id();
  for (int i = 0; i < count; ++i) {
    PostMessageW(client.window(), kShellCallbackMessage, kShellIconId, WM_LBUTTONUP);
    HWND menu = nullptr;
    if (!WaitBriefly([&] { return (menu = FindOpenMenu(id)) != nullptr; })) return false;
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    if (!WaitBriefly([&] { return FindOpenMenu(id) == nullptr; })) return false;
  }
  return true;
}

void Resize(HWND window, int count) {
  RECT original{};
  GetWindowRect(window, &original);
  constexpr UINT kFlags = SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE;
  for (int i = 0; i < count; ++i) {
    // Sizes wander over a range, so that every step is a real change of the client area. The
    // requests queue up as a drag's do, and paints coalesce between them; a sent message now and
    // then waits for the client to catch up.
    SetWindowPos(window, nullptr, 0, 0, 320 + i % 200, 240 + (i * 7) % 120, kFlags | SWP_ASYNCWINDOWPOS);
    if (i % 100 == 99) Answers(window, 20000);
  }
  SetWindowPos(window, nullptr, 0, 0, original.right - original.left, original.bottom - original.top, kFlags);
}

std::string Describe(const ProcessCounts& counts) {
  return "handles " + std::to_string(counts.handles) + ", GDI " + std::to_string(counts.gdi) + ", USER " +
         std::to_string(counts.user) + ", private bytes " + std::to_string(counts.privateBytes) + " (" +
         counts.source + ")";
}

TEST(Soak, MenusResizesAndNavigationsLeaveTheCountsWhereTheyWere) {
  LoopbackSite site({{"/", {Page("甲", "/b.html")}}, {"/b.html", {Page("乙", "/")}}});
  ASSERT_TRUE(site.listening());
  const std::wstring folder = FreshFolder(L"soak");
  BrowserClient client(ClientProgram(), folder, {{L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", site.HostRule()}});
  ASSERT_NE(client.window(), nullptr);
  ASSERT_TRUE(client.WaitForCaption(CaptionWith(u"甲")));
  NavigationCounter completions(folder + L"\\standin-journal.txt");
  ASSERT_TRUE(WaitBriefly([&] { return completions.Count() == 1; }));

  // A few of each first, so that what the first use creates once is in the baseline.
  ASSERT_TRUE(Navigate(client, completions, 4));
  ASSERT_TRUE(OpenAndDismissTrayMenus(client, 5));
  Resize(client.window(), 50);
  ASSERT_TRUE(Answers(client.window()));
  Sleep(300);
  const ProcessCounts before = ReadProcessCounts(client.process().id());
  ASSERT_GE(before.handles, 0);
  ASSERT_GE(before.gdi, 0);
  ASSERT_GE(before.user, 0);

  DWORD phase = GetTickCount();
  auto took = [&phase](const char* what) {
    std::cout << what << ": " << GetTickCount() - phase << " ms\n";
    phase = GetTickCount();
  };
  ASSERT_TRUE(Navigate(client, completions, kNavigations));
  took("navigations");
  ASSERT_TRUE(OpenAndDismissTrayMenus(client, kMenus)) << "a tray menu did not open or close";
  took("tray menus");
  const int boundsBefore = client.CountJournal("ICoreWebView2Controller::put_Bounds");
  Resize(client.window(), kResizes);
  took("resizes");
  ASSERT_TRUE(Answers(client.window())) << "the client no longer answers";
  Sleep(300);
  const ProcessCounts after = ReadProcessCounts(client.process().id());
  std::cout << "before: " << Describe(before) << "\nafter:  " << Describe(after) << "\n";

  // The favicon handlers kept on purpose are COM objects, one per completed navigation: they hold
  // no handle, GDI or USER object, so their share of these counts is nothing.
  EXPECT_LE(after.handles, before.handles + kSlack);
  EXPECT_LE(after.gdi, before.gdi + kSlack);
  EXPECT_LE(after.user, before.user + kSlack);
  const int navigations = 1 + 4 + kNavigations;
  EXPECT_EQ(completions.Count(), navigations);
  // One favicon subscription per completion, a navigation cut short by a second click included.
  int completionsOfAnyKind = 0;
  for (const std::string& line : client.Journal()) {
    completionsOfAnyKind += line.find(" completes: success ") != std::string::npos;
  }
  EXPECT_GE(completionsOfAnyKind, navigations);
  EXPECT_EQ(client.CountJournal("add_FaviconChanged gives token"), completionsOfAnyKind);
  // Every resize, and the return to the first size, reached the browser.
  EXPECT_EQ(client.CountJournal("ICoreWebView2Controller::put_Bounds") - boundsBefore, kResizes + 1);
  // A click that comes while a page is still being replaced may follow the link of the page being
  // left, so either page may be the last.
  const std::u16string caption = client.Caption();
  EXPECT_TRUE(caption == CaptionWith(u"甲") || caption == CaptionWith(u"乙"));
  EXPECT_EQ(client.ExitThroughTrayMenu(), 0);
}

}  // namespace
