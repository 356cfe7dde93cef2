#include "support/process_heap.h"

#include <windows.h>

int ProcessHeapBusyBlocks() {
  const HANDLE heap = GetProcessHeap();
  int busy = 0;
  HeapLock(heap);
  PROCESS_HEAP_ENTRY entry{};
  while (HeapWalk(heap, &entry)) {
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++busy;
  }
  HeapUnlock(heap);
  return busy;
}
