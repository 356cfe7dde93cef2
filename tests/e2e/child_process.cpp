#include "e2e/child_process.h"

#include <vector>

#include "support/shell_probes.h"

std::wstring ProgramFromEnvironment(const char* variable) {
  char path[MAX_PATH * 2] = "";
  if (GetEnvironmentVariableA(variable, path, sizeof(path)) == 0) return std::wstring();
  return WindowsPath(path);
}

std::wstring FreshFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + name + L"-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  return folder;
}

namespace {

// Our environment block with TEMP and TMP replaced.
std::vector<wchar_t> EnvironmentWithTemp(const std::wstring& tempFolder) {
  std::vector<wchar_t> block;
  auto add = [&block](const std::wstring& entry) {
    block.insert(block.end(), entry.begin(), entry.end());
    block.push_back(L'\0');
  };
  wchar_t* strings = GetEnvironmentStringsW();
  for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
    if (_wcsnicmp(entry, L"TEMP=", 5) != 0 && _wcsnicmp(entry, L"TMP=", 4) != 0) add(entry);
  }
  FreeEnvironmentStringsW(strings);
  add(L"TEMP=" + tempFolder);
  add(L"TMP=" + tempFolder);
  block.push_back(L'\0');
  return block;
}

}  // namespace

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments,
                           const std::wstring& tempFolder) {
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  std::vector<wchar_t> environment = EnvironmentWithTemp(tempFolder);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                      environment.data(), tempFolder.c_str(), &startup, &info_)) {
    info_ = PROCESS_INFORMATION{};
  }
}

ChildProcess::~ChildProcess() {
  if (!started()) return;
  if (running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool ChildProcess::running() const { return started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

bool ChildProcess::WaitForExit(DWORD milliseconds, DWORD* exitCode) const {
  if (!started() || WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
  return GetExitCodeProcess(info_.hProcess, exitCode) != FALSE;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= milliseconds) return condition();
    Sleep(50);
  }
  return true;
}

HWND WaitForWindow(const ChildProcess& process, const wchar_t* className, DWORD milliseconds) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindProcessWindow(process.id(), className)) != nullptr || !process.running(); },
            milliseconds);
  return window;
}

std::u16string AllText(HWND window) {
  std::u16string text;
  auto append = [&text](HWND part) {
    wchar_t buffer[512] = L"";
    GetWindowTextW(part, buffer, 512);
    text += reinterpret_cast<const char16_t*>(buffer);
    text += u"\n";
  };
  append(window);
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    append(child);
  }
  return text;
}
