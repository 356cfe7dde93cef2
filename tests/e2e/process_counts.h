#pragma once

// What another process holds, read from outside: kernel handles, GDI and USER objects, private
// bytes, CPU time. Where Wine leaves the usual call a stub (GetGuiResources; GetProcessHandleCount
// in some versions), an equivalent reading stands in, and `source` says which was used.

#include <windows.h>

#include <cstdint>
#include <string>

struct ProcessCounts {
  long handles = -1;  // -1: not readable
  long gdi = -1;
  long user = -1;
  std::uint64_t privateBytes = 0;
  std::string source;  // e.g. "handles:api gdi:table user:windows"
};

ProcessCounts ReadProcessCounts(DWORD processId);

// User plus kernel CPU time of the process in 100 ns units; zero when unreadable.
std::uint64_t ProcessCpuTime(DWORD processId);

// The process answers a message within the time (SendMessageTimeout on its window).
bool Answers(HWND window, UINT milliseconds = 5000);
