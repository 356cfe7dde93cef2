#pragma once

// Programs under test, started as Windows starts them, each with its own environment block.

#include <windows.h>

#include <functional>
#include <string>

#include "support/windows_path.h"


// The Windows path of a program whose path ctest gives in the environment variable.
std::wstring ProgramFromEnvironment(const char* variable);

// A fresh empty folder for one test, inside the temporary folder.
std::wstring FreshFolder(const wchar_t* name);

class ChildProcess {
 public:
  // Starts the program with the arguments in `tempFolder`, which is also its TEMP and TMP: the
  // environment is ours otherwise. Nothing it writes there is shared with other runs.
  ChildProcess(const std::wstring& program, const std::wstring& arguments, const std::wstring& tempFolder);
  ~ChildProcess();  // ends the process if it is still running
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  bool running() const;
  // Waits for the end; true with the exit code when it ended in time.
  bool WaitForExit(DWORD milliseconds, DWORD* exitCode) const;

 private:
  PROCESS_INFORMATION info_{};
};

// Polls until the condition holds or the time is up; answers the last result.
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds = 10000);

// A visible top-level window of the class in the process, waiting for it to appear.
HWND WaitForWindow(const ChildProcess& process, const wchar_t* className, DWORD milliseconds = 20000);

// The window's text and that of its children, one after the other.
std::u16string AllText(HWND window);
