#pragma once

// Calls a routine the way a 32-bit COM caller does, pushing 32-bit arguments right to left, and
// reports how many bytes the routine took off the stack. A stdcall routine must take exactly the
// arguments pushed; any other count corrupts the caller's stack on a real machine.

#include <windows.h>

#include <initializer_list>

struct StdcallResult {
  ULONG_PTR value;     // what the routine returned in EAX
  int bytesPopped;     // stack bytes the routine removed
};

StdcallResult CallStdcall(const void* routine, std::initializer_list<ULONG_PTR> arguments);

// Entry `slot` of the routine table of a COM object.
const void* TableEntry(const void* object, int slot);
