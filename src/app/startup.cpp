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
  const std::wstring folder = ExecutableFolder();
  if (!folder.empty()) SetCurrentDirectoryW(folder.c_str());
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
