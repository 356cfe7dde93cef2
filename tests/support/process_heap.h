#pragma once

// The hand-built COM objects live in process-heap blocks: counting the heap's busy blocks before
// and after a piece of work shows whether everything it made was freed.

#include <gtest/gtest.h>

int ProcessHeapBusyBlocks();

// Expects, when it goes, as many busy process-heap blocks as when it came.
class HeapBalance {
 public:
  HeapBalance() : before_(ProcessHeapBusyBlocks()) {}
  ~HeapBalance() { EXPECT_EQ(ProcessHeapBusyBlocks(), before_) << "process-heap blocks left behind"; }
  HeapBalance(const HeapBalance&) = delete;
  HeapBalance& operator=(const HeapBalance&) = delete;

 private:
  int before_;
};
