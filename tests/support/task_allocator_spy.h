#pragma once

// Watches COM's task allocator (CoTaskMemAlloc and CoTaskMemFree) through IMallocSpy, so that a
// test can see which blocks were handed out and how often each was freed.

#include <windows.h>
#include <objbase.h>

#include <map>

class TaskAllocatorSpy : public IMallocSpy {
 public:
  // Registered with COM from construction to destruction; one spy at a time.
  TaskAllocatorSpy();
  ~TaskAllocatorSpy();
  TaskAllocatorSpy(const TaskAllocatorSpy&) = delete;
  TaskAllocatorSpy& operator=(const TaskAllocatorSpy&) = delete;

  int allocations() const { return allocations_; }
  int frees() const { return frees_; }
  // Blocks allocated while the spy watched and not freed yet.
  int liveBlocks() const { return static_cast<int>(live_.size()); }
  bool IsLive(const void* block) const { return live_.count(block) != 0; }
  // How often this block was given to CoTaskMemFree while the spy watched.
  int FreeCount(const void* block) const;
  // The next `count` allocations of a nonzero size fail, as COM lets a spy ask.
  void FailAllocations(int count) { failures_ = count; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  // IMallocSpy
  SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T requested) override;
  void* STDMETHODCALLTYPE PostAlloc(void* actual) override;
  void* STDMETHODCALLTYPE PreFree(void* request, BOOL spied) override;
  void STDMETHODCALLTYPE PostFree(BOOL) override {}
  SIZE_T STDMETHODCALLTYPE PreRealloc(void* request, SIZE_T requested, void** newRequest, BOOL spied) override;
  void* STDMETHODCALLTYPE PostRealloc(void* actual, BOOL spied) override;
  void* STDMETHODCALLTYPE PreGetSize(void* request, BOOL) override { return request; }
  SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T actual, BOOL) override { return actual; }
  void* STDMETHODCALLTYPE PreDidAlloc(void* request, BOOL) override { return request; }
  int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
  void STDMETHODCALLTYPE PreHeapMinimize() override {}
  void STDMETHODCALLTYPE PostHeapMinimize() override {}

 private:
  int allocations_ = 0;
  int frees_ = 0;
  std::map<const void*, int> live_;
  std::map<const void*, int> freed_;
  void* reallocating_ = nullptr;
  int failures_ = 0;
};
