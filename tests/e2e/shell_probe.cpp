// A test-only client: the client's own start-up and shutdown, with two shutdown routines that
// write what they see into a journal, and a way to reach each end.
//   shell_probe MODE JOURNAL
//   exit            "退出" through the window's own command message: exit code 0
//   out-of-memory   an allocation that fails: message box, exit code -1
//   unbindable      an external function that cannot be bound: message box, exit code -1

#include <windows.h>
#include <objbase.h>

#include <cstdint>
#include <string>

#include "app/shutdown.h"
#include "app/startup.h"
#include "unit/app/shell_probes.h"

namespace {

HWND g_window = nullptr;
std::wstring g_journal;
void* volatile g_kept = nullptr;

// Whether the current directory is the executable's folder.
bool InExecutableFolder() {
  wchar_t executable[MAX_PATH] = L"";
  wchar_t current[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, executable, MAX_PATH);
  GetCurrentDirectoryW(MAX_PATH, current);
  std::wstring folder = executable;
  folder.resize(folder.find_last_of(L'\\'));
  std::wstring directory = current;
  if (!directory.empty() && directory.back() == L'\\') directory.pop_back();
  return lstrcmpiW(folder.c_str(), directory.c_str()) == 0;
}

void Note(const char* routine) {
  APTTYPE type;
  APTTYPEQUALIFIER qualifier;
  const std::string line = std::string(routine) + " window=" + (IsWindow(g_window) ? "alive" : "gone") +
                           " icon=" + (TrayIconExists(g_window) ? "shown" : "gone") +
                           " com=" + (SUCCEEDED(CoGetApartmentType(&type, &qualifier)) ? "on" : "off") +
                           " folder=" + (InExecutableFolder() ? "exe" : "elsewhere") + "\n";
  const HANDLE file = CreateFileW(g_journal.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  DWORD written;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count != 3) return 2;
  const std::wstring mode = arguments[1];
  g_journal = arguments[2];

  AtShutdown([] { Note("first"); });
  AtShutdown([] { Note("second"); });
  g_window = StartClient(instance);
  if (mode == L"exit") {
    PostMessageW(g_window, WM_COMMAND, kExitItemId, 0);
  } else if (mode == L"out-of-memory") {
    volatile std::size_t huge = SIZE_MAX / 2;
    g_kept = ::operator new(huge);
  } else if (mode == L"unbindable") {
    EndOnUnbindableFunction("WebView2Loader.dll", "CreateCoreWebView2EnvironmentWithOptions");
  } else {
    return 2;
  }
  RunMessageLoop();
}
