#include "app/startup.h"

#include <ole2.h>

#include <new>
#include <string>

#include "app/handlers.h"
#include "app/main_window.h"
#include "app/shutdown.h"

namespace {

void SetCurrentDirectoryToExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length;
  while ((length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()))) == path.size()) {
    path.resize(path.size() * 2);
  }
  path.resize(length);
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return;
  path.resize(slash + 1);
  SetCurrentDirectoryW(path.c_str());
}

}  // namespace

HWND StartClient(HINSTANCE instance) {
  std::set_new_handler(EndOnFailedAllocation);
  // WebView2 wants this thread to be a single-threaded apartment.
  if (SUCCEEDED(OleInitialize(nullptr))) UninitializeOleAtShutdown();
  SetCurrentDirectoryToExecutableFolder();
  // Browser hosting creates its globals here (InitGlobals) and registers their end with
  // AtShutdown (DestroyGlobals), before the window that uses them exists.

  static MainWindow window(ClientEvents());
  DestroyAtShutdown(&window);
  window.Create(instance);
  return window.handle();
}

void RunMessageLoop() {
  MSG message{};
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // Only a WM_QUIT posted from outside, or a broken queue, gets here.
  EndProgram(got == 0 ? static_cast<int>(message.wParam) : -1);
}
