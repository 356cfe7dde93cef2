#pragma once

// The one way the program ends. Start-up tells the shutdown what it has set up; ending undoes it
// in this order: destroy MainWindow (which removes the tray icon), run the shutdown routines in
// the order of their registration, uninitialise COM, end the process with the exit code.

#include "com/text.h"

class MainWindow;

using ShutdownRoutine = void (*)();

// What start-up has set up, in the order it does so.
void UninitializeOleAtShutdown();
void DestroyAtShutdown(MainWindow* window);
void AtShutdown(ShutdownRoutine routine);

// Ends the program with the exit code through the whole shutdown sequence.
[[noreturn]] void EndProgram(int exitCode);

// The fatal ends: a message box, then the shutdown sequence without the shutdown routines, and
// exit code -1. The first is the new handler for a failed allocation; the second is for an
// external function that cannot be bound, and names its library and the function.
[[noreturn]] void EndOnFailedAllocation();
[[noreturn]] void EndOnUnbindableFunction(TextArg library, TextArg function);
