#include "view_window.h"

#include <windowsx.h>

namespace {

constexpr wchar_t kClassName[] = L"WebView2StandInView";

ViewWindowOwner* OwnerOf(HWND window) {
  return reinterpret_cast<ViewWindowOwner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK ViewWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  ViewWindowOwner* owner = OwnerOf(window);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      if (owner) {
        owner->PaintWindow(dc, client);
      } else {
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      }
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the page paints every pixel itself
    case WM_LBUTTONDOWN:
      SetFocus(window);
      return 0;
    case WM_LBUTTONUP:
      if (owner) owner->ClickWindow(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_MOUSEWHEEL:
      if (owner) owner->WheelWindow(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (owner) owner->WindowFocusChanged(message == WM_SETFOCUS);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ViewWindowProcedure), &module);
  return module;
}

}  // namespace

HWND CreateViewWindow(HWND parent, const RECT& bounds, ViewWindowOwner* owner) {
  static const ATOM atom = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = ViewWindowProcedure;
    windowClass.hInstance = ThisModule();
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass);
  }();
  (void)atom;
  return CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, bounds.left, bounds.top,
                         bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr, ThisModule(), owner);
}

void ForgetViewWindowOwner(HWND window) {
  if (IsWindow(window)) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}
