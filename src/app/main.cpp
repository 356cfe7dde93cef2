#include <windows.h>

#include "app/shutdown.h"
#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Without its window nobody could reach the program, not even to end it.
  if (StartClient(instance) == nullptr) EndProgram(-1);
  RunMessageLoop();
}
