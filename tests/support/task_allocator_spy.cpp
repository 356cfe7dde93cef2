#include "support/task_allocator_spy.h"

#include <cstdlib>
#include <cstdio>

TaskAllocatorSpy::TaskAllocatorSpy() {
  if (FAILED(CoRegisterMallocSpy(this))) {
    std::fprintf(stderr, "TaskAllocatorSpy: CoRegisterMallocSpy failed\n");
    std::abort();
  }
  // Wine keeps a list of spied blocks in the process heap from the first one on; let that list
  // exist before a test counts the heap's blocks.
  CoTaskMemFree(CoTaskMemAlloc(1));
  allocations_ = frees_ = 0;
  freed_.clear();
}

TaskAllocatorSpy::~TaskAllocatorSpy() { CoRevokeMallocSpy(); }

int TaskAllocatorSpy::FreeCount(const void* block) const {
  const auto found = freed_.find(block);
  return found == freed_.end() ? 0 : found->second;
}

HRESULT TaskAllocatorSpy::QueryInterface(REFIID id, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IMallocSpy)) {
    *object = static_cast<IMallocSpy*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

SIZE_T TaskAllocatorSpy::PreAlloc(SIZE_T requested) {
  // Zero bytes is COM's way of failing the allocation; an allocation of none cannot be failed.
  if (requested == 0 || failures_ <= 0) return requested;
  --failures_;
  return 0;
}

void* TaskAllocatorSpy::PostAlloc(void* actual) {
  if (actual != nullptr) {
    ++allocations_;
    live_[actual] = 1;
  }
  return actual;
}

void* TaskAllocatorSpy::PreFree(void* request, BOOL) {
  if (request != nullptr) {
    ++frees_;
    ++freed_[request];
    live_.erase(request);
  }
  return request;
}

SIZE_T TaskAllocatorSpy::PreRealloc(void* request, SIZE_T requested, void** newRequest, BOOL) {
  reallocating_ = request;
  *newRequest = request;
  return requested;
}

void* TaskAllocatorSpy::PostRealloc(void* actual, BOOL) {
  if (actual != nullptr) {
    live_.erase(reallocating_);
    live_[actual] = 1;
  }
  reallocating_ = nullptr;
  return actual;
}
