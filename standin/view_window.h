#pragma once

// The controller's child window, where the page is shown: its own window class, a child of the
// host's window. It hands painting, the mouse and focus changes to its owner.

#include <windows.h>

class ViewWindowOwner {
 public:
  virtual ~ViewWindowOwner() = default;
  virtual void PaintWindow(HDC dc, const RECT& client) = 0;
  virtual void ClickWindow(POINT point) = 0;
  virtual void WheelWindow(int delta) = 0;
  virtual void WindowFocusChanged(bool gotFocus) = 0;
};

// WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS in parent, covering bounds. Null on failure (see
// GetLastError). The owner must outlive the window or call ForgetViewWindowOwner first.
HWND CreateViewWindow(HWND parent, const RECT& bounds, ViewWindowOwner* owner);
void ForgetViewWindowOwner(HWND window);
