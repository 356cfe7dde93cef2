// A test-only client: the client's own start-up and shutdown, with two shutdown routines and the
// window's destruction writing what they see into a journal, and a way to reach each end.
//   shell_probe MODE JOURNAL
//   exit            "退出" through the window's own command message: exit code 0
//   out-of-memory   an allocation that fails: message box, exit code -1
//   unbindable      an external function that cannot be bound: message box, exit code -1
// The registered message "ShellProbeFailAllocation" sent to the window makes an allocation fail
// then, for a second end while a message box is up.

#include <windows.h>
#include <objbase.h>

#include <cstdint>
#include <string>

#include "app/shutdown.h"
#include "app/startup.h"
#include "app/tray.h"
#include "com/unique_handle.h"
#include "support/shell_probes.h"

namespace {

HWND g_window = nullptr;
std::wstring g_journal;
void* volatile g_kept = nullptr;
WNDPROC g_windowProcedure = nullptr;
UINT g_failAllocation = 0;

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

void Append(const std::string& line) {
  const UniqueFile file(CreateFileW(g_journal.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
  DWORD written;
  WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// The apartment this thread is in: WebView2 needs a single-threaded one.
const char* Apartment() {
  APTTYPE type;
  APTTYPEQUALIFIER qualifier;
  if (FAILED(CoGetApartmentType(&type, &qualifier))) return "off";
  return type == APTTYPE_STA || type == APTTYPE_MAINSTA ? "sta" : "other";
}

void Note(const char* routine) {
  Append(std::string(routine) + " window=" + (IsWindow(g_window) ? "alive" : "gone") +
         " icon=" + (TrayIconExists(g_window) ? "shown" : "gone") + " com=" + Apartment() +
         " folder=" + (InExecutableFolder() ? "exe" : "elsewhere") + "\n");
}

void FailAnAllocation() {
  volatile std::size_t huge = SIZE_MAX / 2;
  g_kept = ::operator new(huge);
}

// Around the window's own procedure: notes its destruction, once the tray icon should be gone.
LRESULT CALLBACK WatchWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == g_failAllocation) FailAnAllocation();
  const LRESULT result = CallWindowProcW(g_windowProcedure, window, message, wParam, lParam);
  if (message == WM_DESTROY) Append(std::string("destroyed icon=") + (TrayIconExists(window) ? "shown" : "gone") + "\n");
  return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int count = 0;
  const UniqueHandle<wchar_t**, LocalFree> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
  if (!arguments || count != 3) return 2;
  const std::wstring mode = arguments.get()[1];
  g_journal = arguments.get()[2];

  AtShutdown([] { Note("first"); });
  AtShutdown([] { Note("second"); });
  g_window = StartClient(instance);
  g_failAllocation = RegisterWindowMessageW(L"ShellProbeFailAllocation");
  g_windowProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(g_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchWindow)));
  if (mode == L"exit") {
    PostMessageW(g_window, WM_COMMAND, kExitItemId, 0);
  } else if (mode == L"out-of-memory") {
    FailAnAllocation();
  } else if (mode == L"unbindable") {
    EndOnUnbindableFunction("WebView2Loader.dll", "CreateCoreWebView2EnvironmentWithOptions");
  } else {
    return 2;
  }
  RunMessageLoop();
}
