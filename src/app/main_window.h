#pragma once

// MainWindow: the program's only top-level window. It never closes by itself: what it does on
// each event is up to the handlers in its table, which start-up fills with the real ones.

#include <windows.h>

#include <functional>

class MainWindow {
 public:
  static constexpr wchar_t kClassName[] = L"CuixiaoClientWindow";
  static constexpr int kWidth = 954;
  static constexpr int kHeight = 719;

  struct Events {
    std::function<void(HWND)> created;
    std::function<void(HWND)> moved;        // every WM_MOVE, after default processing
    std::function<void(HWND)> sizeChanged;  // every WM_SIZE, after default processing
    // WM_CLOSE and WM_QUERYENDSESSION: true lets the window close, false keeps it.
    std::function<bool(HWND)> closeQuery;
    std::function<void(HWND, int kind)> trayEvent;  // kind 1, 2 or 3 (see TrayEventKind)
    std::function<void(HWND)> exitItemSelected;
  };

  explicit MainWindow(Events events);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window centred on the primary screen, raises created, position changed and size
  // changed in that order, then shows it. False when the window cannot be made. CreateWindowEx
  // sends an overlapped window no WM_MOVE or WM_SIZE: its first show sends WM_SIZE, then WM_MOVE,
  // and those raise their events like any later ones.
  bool Create(HINSTANCE instance);

  // Destroys the window, which removes its tray icon; nothing when there is none.
  void Destroy();

  // Null before Create and after the window is destroyed.
  HWND handle() const { return window_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool AllowsClose();

  Events events_;
  HWND window_ = nullptr;
  UINT taskbarCreated_ = 0;
};
