#pragma once

// Calls a routine the way a 32-bit COM caller does, pushing 32-bit arguments right to left, and
// reports how many bytes the routine took off the stack. A stdcall routine must take exactly the
// arguments pushed; any other count corrupts the caller's stack on a real machine.
//
// On x64 there is one calling convention and the caller cleans the stack, so there is nothing to
// measure: the routine is called with the same arguments and bytesPopped stays unknown.

#include <windows.h>

#include <initializer_list>

inline constexpr bool kStackBytesMeasurable = sizeof(void*) == 4;
inline constexpr int kStackBytesUnknown = -1;

struct StdcallResult {
  ULONG_PTR value;  // what the routine returned (EAX)
  int bytesPopped;  // stack bytes the routine removed; kStackBytesUnknown on x64
};

// At most nine arguments, `this` included.
StdcallResult CallStdcall(const void* routine, std::initializer_list<ULONG_PTR> arguments);

// Entry `slot` of the routine table of a COM object.
const void* TableEntry(const void* object, int slot);

// Expects the published stack bytes where they can be measured; the measuring call always runs.
#define EXPECT_STACK_BYTES(measured, published)     \
  do {                                             \
    const int measuredStackBytes = (measured);     \
    if (kStackBytesMeasurable) {                   \
      EXPECT_EQ(measuredStackBytes, (published));  \
    }                                              \
  } while (0)
