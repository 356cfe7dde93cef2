#include "dispatcher.h"

#include <map>
#include <memory>

namespace {

constexpr UINT kRunPosted = WM_APP + 1;
constexpr wchar_t kClassName[] = L"WebView2StandInDispatcher";

struct ThreadQueue {
  HWND window = nullptr;
  std::map<UINT_PTR, std::function<void()>> timers;
  UINT_PTR nextTimer = 1;
};

thread_local ThreadQueue t_queue;

LRESULT CALLBACK DispatcherProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunPosted) {
    std::unique_ptr<std::function<void()>> work(reinterpret_cast<std::function<void()>*>(lParam));
    (*work)();
    return 0;
  }
  if (message == WM_TIMER) {
    KillTimer(window, wParam);
    auto found = t_queue.timers.find(wParam);
    if (found == t_queue.timers.end()) return 0;
    std::function<void()> work = std::move(found->second);
    t_queue.timers.erase(found);
    work();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The module this code is in (the stand-in's DLL, or a test exe that links it): the class is
// registered as that module's, so that two copies in one process never share one procedure.
HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&DispatcherProcedure), &module);
  return module;
}

HWND ThreadWindow() {
  if (t_queue.window) return t_queue.window;
  static ATOM atom = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DispatcherProcedure;
    windowClass.hInstance = ThisModule();
    windowClass.lpszClassName = kClassName;
    return RegisterClassW(&windowClass);
  }();
  (void)atom;
  t_queue.window =
      CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ThisModule(), nullptr);
  return t_queue.window;
}

}  // namespace

void PostToThisThread(std::function<void()> work) { PosterForThisThread().Post(std::move(work)); }

ThreadPoster PosterForThisThread() {
  ThreadPoster poster;
  poster.window_ = ThreadWindow();
  return poster;
}

void ThreadPoster::Post(std::function<void()> work) const {
  auto* posted = new std::function<void()>(std::move(work));
  if (!PostMessageW(window_, kRunPosted, 0, reinterpret_cast<LPARAM>(posted))) delete posted;
}

UINT_PTR PostDelayed(UINT milliseconds, std::function<void()> work) {
  const UINT_PTR id = t_queue.nextTimer++;
  t_queue.timers[id] = std::move(work);
  SetTimer(ThreadWindow(), id, milliseconds, nullptr);
  return id;
}

void CancelDelayed(UINT_PTR id) {
  if (t_queue.timers.erase(id) && t_queue.window) KillTimer(t_queue.window, id);
}
