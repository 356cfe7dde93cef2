#pragma once

// Start-up of the client, in order: the fatal end for failed allocations, COM as a single-threaded
// apartment, the executable's folder as the current directory, the browser's globals (destroyed
// at shutdown) and its fatal end for an unbindable function, MainWindow.

#include <windows.h>

// Runs start-up and answers the main window (null if it could not be made).
HWND StartClient(HINSTANCE instance);

// Dispatches the thread's messages; the program ends from inside, through EndProgram.
[[noreturn]] void RunMessageLoop();
