#pragma once

// Work that runs later on the thread that asked for it, through that thread's message loop, as
// WebView2 delivers its completions and events: each thread gets a message-only window, and
// posted work never runs inside the call that posted it.

#include <windows.h>

#include <functional>

// Runs work once the thread's message loop next dispatches; work posted earlier runs earlier.
void PostToThisThread(std::function<void()> work);

// Runs work once, no sooner than `milliseconds` from now (a thread timer). Answers an id for
// CancelDelayed, never 0.
UINT_PTR PostDelayed(UINT milliseconds, std::function<void()> work);
void CancelDelayed(UINT_PTR id);

// A way back to the thread that made it, for work finished on another thread (a download): Post
// may be called from any thread and runs the work on the poster's thread, like PostToThisThread.
// Work posted after that thread's window is gone is dropped.
class ThreadPoster {
 public:
  void Post(std::function<void()> work) const;

 private:
  friend ThreadPoster PosterForThisThread();
  HWND window_ = nullptr;
};
ThreadPoster PosterForThisThread();
