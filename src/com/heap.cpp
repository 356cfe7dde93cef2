#include "com/heap.h"

#include <windows.h>

namespace ProcessHeap {

namespace {
int g_skipped = 0;
int g_failures = 0;
}  // namespace

void* AllocateZeroed(std::size_t bytes) {
  if (g_failures > 0) {
    if (g_skipped > 0) {
      --g_skipped;
    } else {
      --g_failures;
      return nullptr;
    }
  }
  return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
}

void Free(void* block) {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

void FailAllocations(int count, int skipped) {
  g_failures = count > 0 ? count : 0;
  g_skipped = g_failures > 0 && skipped > 0 ? skipped : 0;
}

int PendingFailures() { return g_failures; }

}  // namespace ProcessHeap
