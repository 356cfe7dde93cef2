// The client exe started as Windows starts it, and driven from outside as the user would.

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "e2e/child_process.h"
#include "support/shell_probes.h"

namespace {

std::u16string Caption(HWND window) {
  wchar_t caption[128] = L"";
  GetWindowTextW(window, caption, 128);
  return reinterpret_cast<const char16_t*>(caption);
}

TEST(Client, ShowsItsWindowAndTrayIconHidesOnCloseAndEndsFromTheTrayMenu) {
  const ChildProcess client(ProgramFromEnvironment("CLIENT_EXE"), L"", FreshFolder(L"client-run"));
  ASSERT_TRUE(client.started());
  const HWND window = WaitForWindow(client, MainWindow::kClassName);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(Caption(window), u"翠鸮交流群-cuixiao.club");
  EXPECT_TRUE(WaitUntil([&] { return TrayIconExists(window); }));

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
  EXPECT_TRUE(client.running());
  EXPECT_TRUE(TrayIconExists(window));

  // A click on the tray icon brings the window back with the menu open; "退出" is its only item.
  PostMessageW(window, kShellCallbackMessage, kShellIconId, WM_LBUTTONUP);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (menu = FindOpenMenu(client.id())) != nullptr; }));
  EXPECT_TRUE(IsWindowVisible(window));
  PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);

  DWORD exitCode = 1;
  ASSERT_TRUE(client.WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_FALSE(TrayIconExists(window));
}

}  // namespace
