#include "app/startup.h"

#include <ole2.h>

#include <new>
#include <string>

#include "app/handlers.h"
#include "app/main_window.h"
#include "app/shutdown.h"
#include "browser/external_function.h"
#include "browser/globals.h"

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
  // The browser's globals exist before the window that uses them, and go after it at shutdown.
  InitGlobals();
  AtShutdown(DestroyGlobals);
  SetUnbindableFunctionEnd(EndOnUnbindableFunction);

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
