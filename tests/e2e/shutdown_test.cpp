// The ends of the program, through a test-only client that journals its shutdown routines.

#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "e2e/child_process.h"
#include "unit/app/shell_probes.h"

namespace {

std::string ReadJournal(const std::wstring& path) {
  std::string text;
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[1024];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

TEST(Shutdown, EachEndRunsItsStepsAndExitCode) {
  const struct {
    const wchar_t* mode;
    std::u16string message;  // the fatal message box's text holds these; empty: no message box
    std::u16string detail;
    DWORD exitCode;
    std::string journal;
  } cases[] = {
      // routines in registration order, after the window and its tray icon are gone, before COM
      // ends; start-up had moved into the executable's folder
      {L"exit", u"", u"", 0,
       "first window=gone icon=gone com=on folder=exe\nsecond window=gone icon=gone com=on folder=exe\n"},
      {L"out-of-memory", u"内存不足，程序无法继续运行。", u"", 0xFFFFFFFF, ""},
      {L"unbindable", u"无法调用外部函数", u"库：WebView2Loader.dll\n函数：CreateCoreWebView2EnvironmentWithOptions",
       0xFFFFFFFF, ""},
  };
  const std::wstring folder = FreshFolder(L"shutdown");
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mode, c.mode + wcslen(c.mode)));
    const std::wstring journal = folder + L"\\" + c.mode + L".txt";
    const ChildProcess probe(ProgramFromEnvironment("SHELL_PROBE_EXE"), std::wstring(c.mode) + L" \"" + journal + L"\"",
                             folder);
    ASSERT_TRUE(probe.started());
    if (!c.message.empty()) {
      const HWND box = WaitForWindow(probe, L"#32770");
      ASSERT_NE(box, nullptr);
      const HWND window = FindProcessWindow(probe.id(), MainWindow::kClassName);
      EXPECT_TRUE(TrayIconExists(window));
      const std::u16string text = AllText(box);
      EXPECT_NE(text.find(c.message), std::u16string::npos);
      EXPECT_NE(text.find(c.detail), std::u16string::npos);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      DWORD exitCode = 0;
      ASSERT_TRUE(probe.WaitForExit(10000, &exitCode));
      EXPECT_EQ(exitCode, c.exitCode);
      EXPECT_FALSE(TrayIconExists(window));
    } else {
      DWORD exitCode = 1;
      ASSERT_TRUE(probe.WaitForExit(20000, &exitCode));
      EXPECT_EQ(exitCode, c.exitCode);
    }
    EXPECT_EQ(ReadJournal(journal), c.journal);
  }
}

}  // namespace
