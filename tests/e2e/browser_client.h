#pragma once

// The client exe on the stand-in runtime, started with the stand-in's knobs and its journal, and
// watched from outside: the caption, the journal, the browser's child window, the tray menu.

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "e2e/child_process.h"

using EnvironmentSettings = std::vector<std::pair<std::wstring, std::wstring>>;

class BrowserClient {
 public:
  // Starts the exe with the folder as its temporary folder, a new journal there and the variables
  // given (the host mapping, a step to fail, interfaces to withhold).
  BrowserClient(const std::wstring& program, const std::wstring& folder, const EnvironmentSettings& environment,
                const std::wstring& arguments = std::wstring());
  ~BrowserClient();

  bool started() const { return process_ && process_->started(); }
  const ChildProcess& process() const { return *process_; }
  const std::wstring& folder() const { return folder_; }
  // The main window, once it is visible; null when it never came.
  HWND window() const { return window_; }

  std::u16string Caption() const;
  bool WaitForCaption(const std::u16string& caption, DWORD milliseconds = 20000) const;
  // The journal's texts, without their time and thread fields.
  std::vector<std::string> Journal() const;
  int CountJournal(const std::string& start) const;
  bool WaitForJournal(const std::string& start, int count = 1, DWORD milliseconds = 20000) const;
  // The browser's window inside the main window; null before the controller exists.
  HWND BrowserWindow() const;

  // "退出" through a click on the tray icon and the menu; the exit code, or -2 when the process
  // did not end in time.
  long ExitThroughTrayMenu();

 private:
  std::wstring folder_;
  std::wstring journal_;
  std::unique_ptr<ChildProcess> process_;
  HWND window_ = nullptr;
};

// The client exe built here; empty when ctest did not say.
std::wstring ClientProgram();

// The caption forms.
std::u16string CreationCaption();
std::u16string CaptionWith(const std::u16string& text);
