#pragma once

// Where the hand-built COM objects get their routine tables and records: zero-filled blocks of
// the process heap, through this one place, so that a test can make allocations fail and run the
// paths that follow a failure.

#include <cstddef>

namespace ProcessHeap {

// A zero-filled block of the process heap, or null when none can be had.
void* AllocateZeroed(std::size_t bytes);

// Gives back a block from AllocateZeroed; null does nothing.
void Free(void* block);

// For tests: after `skipped` more allocations succeed, the next `count` fail as if the heap were
// exhausted. The one thread that makes the objects sets it; a new call replaces the last one.
void FailAllocations(int count, int skipped = 0);

// Failures asked for that have not happened yet.
int PendingFailures();

// A test's failures for its scope: whatever did not happen is dropped when it goes.
class ScopedFailures {
 public:
  explicit ScopedFailures(int count, int skipped = 0) { FailAllocations(count, skipped); }
  ~ScopedFailures() { FailAllocations(0); }
  ScopedFailures(const ScopedFailures&) = delete;
  ScopedFailures& operator=(const ScopedFailures&) = delete;
};

}  // namespace ProcessHeap
