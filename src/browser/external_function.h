#pragma once

// Functions of libraries that the program does not link against: bound by name at their first
// call and kept for the rest of the run. A function that cannot be bound is fatal.

#include <windows.h>

#include <string>

#include "com/text.h"

// The folder of the running executable with its trailing backslash; empty if it cannot be told.
std::wstring ExecutableFolder();

// Shows the fatal message naming the library and the function and ends the process with exit
// code -1; it does not return. Start-up hands over the shell's own.
using UnbindableFunctionEnd = void (*)(TextArg library, TextArg function);
void SetUnbindableFunctionEnd(UnbindableFunctionEnd end);

struct ExternalFunction {
  const wchar_t* library;  // a plain file name
  const char* function;
  FARPROC bound = nullptr;
};

// The function, bound at the first call: from the library in the executable's folder, else from
// the module of that name already loaded, else from the library found in the application folder
// or System32 (never the current folder or PATH, which a user may write). Ends the process
// through the UnbindableFunctionEnd when there is no such library or no such export.
FARPROC BindExternalFunction(ExternalFunction& entry);
