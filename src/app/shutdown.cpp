#include "app/shutdown.h"

#include <ole2.h>

#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/texts.h"

namespace {

struct Shutdown {
  bool ole = false;
  MainWindow* window = nullptr;
  std::vector<ShutdownRoutine> routines;
  bool ending = false;
  UINT exitCode = 0;
};

Shutdown& State() {
  static Shutdown state;
  return state;
}

// An end asked for while one is under way (from a routine, or from the message loop of a fatal
// message box: the tray's "退出", another failed allocation) finishes the process at once with
// the first end's exit code. The window still goes first, so that its tray icon goes with the
// process; the first end's routines and COM are left where they are.
void BeginEnd(int exitCode) {
  Shutdown& state = State();
  if (state.ending) {
    // Taken before the destruction, so that an end from inside it does not destroy again.
    if (MainWindow* window = std::exchange(state.window, nullptr)) window->Destroy();
    ExitProcess(state.exitCode);
  }
  state.ending = true;
  state.exitCode = static_cast<UINT>(exitCode);
}

[[noreturn]] void FinishEnd(bool runRoutines) {
  Shutdown& state = State();
  if (MainWindow* window = std::exchange(state.window, nullptr)) window->Destroy();
  if (runRoutines) {
    for (ShutdownRoutine routine : state.routines) routine();
  }
  if (state.ole) OleUninitialize();
  ExitProcess(state.exitCode);
}

[[noreturn]] void EndFatally(const WCHAR* message, const WCHAR* title) {
  BeginEnd(-1);
  MessageBoxW(nullptr, message, title, MB_OK | MB_ICONERROR | MB_TASKMODAL);
  FinishEnd(false);
}

}  // namespace

void UninitializeOleAtShutdown() { State().ole = true; }

void DestroyAtShutdown(MainWindow* window) { State().window = window; }

void AtShutdown(ShutdownRoutine routine) { State().routines.push_back(routine); }

void EndProgram(int exitCode) {
  BeginEnd(exitCode);
  FinishEnd(true);
}

void EndOnFailedAllocation() {
  // No memory to spare: the texts are converted into fixed buffers instead of TextToWide's.
  WCHAR message[64] = L"";
  WCHAR title[32] = L"";
  MultiByteToWideChar(kCodePageGbk, 0, texts::kOutOfMemory, -1, message, ARRAYSIZE(message));
  MultiByteToWideChar(kCodePageGbk, 0, texts::kFatalTitle, -1, title, ARRAYSIZE(title));
  EndFatally(message, title);
}

void EndOnUnbindableFunction(TextArg library, TextArg function) {
  const AnsiText message = AnsiText(texts::kUnbindableFunction) + "\n\n" + texts::kLibraryLabel +
                           library.c_str() + "\n" + texts::kFunctionLabel + function.c_str();
  EndFatally(WideData(TextToWide(message)), WideData(TextToWide(texts::kFatalTitle)));
}
