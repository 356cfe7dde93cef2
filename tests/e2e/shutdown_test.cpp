// The ends of the program, through a test-only client that journals its shutdown routines.

#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "app/tray.h"
#include "com/unique_handle.h"
#include "e2e/child_process.h"
#include "support/shell_probes.h"

namespace {

std::string ReadJournal(const std::wstring& path) {
  std::string text;
  const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return text;
  char buffer[1024];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) text.append(buffer, read);
  return text;
}

const std::u16string kOutOfMemory = u"内存不足，程序无法继续运行。";
const std::u16string kUnbindable = u"无法调用外部函数";
const std::u16string kUnbindableDetail = u"库：WebView2Loader.dll\n函数：CreateCoreWebView2EnvironmentWithOptions";

TEST(Shutdown, EachEndRunsItsStepsAndExitCode) {
  const struct {
    const wchar_t* mode;
    std::u16string message;  // the fatal message box's text holds these; empty: no message box
    std::u16string detail;
    DWORD exitCode;
    std::string journal;
  } cases[] = {
      // the window goes first, taking its tray icon; then the routines in registration order,
      // before COM (a single-threaded apartment) ends; start-up had moved into the executable's folder
      {L"exit", u"", u"", 0,
       "destroyed icon=gone\nfirst window=gone icon=gone com=sta folder=exe\n"
       "second window=gone icon=gone com=sta folder=exe\n"},
      {L"out-of-memory", kOutOfMemory, u"", 0xFFFFFFFF, "destroyed icon=gone\n"},
      {L"unbindable", kUnbindable, kUnbindableDetail, 0xFFFFFFFF, "destroyed icon=gone\n"},
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

// A second end while the fatal message box is up (its message loop still dispatches the window's
// messages) destroys the window, so the tray icon goes with the process, and keeps exit code -1.
TEST(Shutdown, ASecondEndDuringTheFatalMessageBoxStillDestroysTheWindow) {
  const struct {
    const wchar_t* mode;
    std::u16string message;
    const char* second;
    UINT (*post)();  // the message that makes the second end
  } cases[] = {
      {L"out-of-memory", kOutOfMemory, "退出", [] { return UINT{WM_COMMAND}; }},
      {L"out-of-memory", kOutOfMemory, "another failed allocation",
       [] { return RegisterWindowMessageW(L"ShellProbeFailAllocation"); }},
      {L"unbindable", kUnbindable, "退出", [] { return UINT{WM_COMMAND}; }},
  };
  const std::wstring folder = FreshFolder(L"second-end");
  int run = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mode, c.mode + wcslen(c.mode)) + " then " + c.second);
    const std::wstring journal = folder + L"\\" + std::to_wstring(++run) + L".txt";
    const ChildProcess probe(ProgramFromEnvironment("SHELL_PROBE_EXE"), std::wstring(c.mode) + L" \"" + journal + L"\"",
                             folder);
    ASSERT_TRUE(probe.started());
    const HWND box = WaitForWindow(probe, L"#32770");
    ASSERT_NE(box, nullptr);
    ASSERT_NE(AllText(box).find(c.message), std::u16string::npos);
    const HWND window = FindProcessWindow(probe.id(), MainWindow::kClassName);
    ASSERT_TRUE(TrayIconExists(window));
    EXPECT_EQ(ReadJournal(journal), "");

    const UINT message = c.post();
    PostMessageW(window, message, message == WM_COMMAND ? kExitItemId : 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(probe.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0xFFFFFFFFu) << "the first end's exit code";
    EXPECT_FALSE(TrayIconExists(window));
    EXPECT_EQ(ReadJournal(journal), "destroyed icon=gone\n") << "the window went, its icon first; no routine ran";
  }
}

}  // namespace
