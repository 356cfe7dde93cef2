#include "app/main_window.h"

#include "app/resource_ids.h"
#include "app/texts.h"
#include "app/tray.h"

namespace {

template <typename Handler, typename... Args>
void Raise(const Handler& handler, Args... args) {
  if (handler) handler(args...);
}

bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  if (GetClassInfoExW(instance, MainWindow::kClassName, &windowClass)) return true;
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_CLIENT), IMAGE_ICON,
      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_CLIENT), IMAGE_ICON,
      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = MainWindow::kClassName;
  return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

MainWindow::MainWindow(Events events) : events_(std::move(events)) {}

MainWindow::~MainWindow() { Destroy(); }

bool MainWindow::Create(HINSTANCE instance) {
  if (window_ != nullptr || !RegisterWindowClass(instance, &Procedure)) return false;
  // The shell broadcasts this when it starts again; its new tray lacks our icon.
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

  // Integer division truncates toward zero, as the centring asks for on screens smaller than us.
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  const WideBuffer caption = TextToWide(InitialCaption());
  CreateWindowExW(0, kClassName, WideData(caption), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, left, top,
                  kWidth, kHeight, nullptr, nullptr, instance, this);
  if (window_ == nullptr) return false;

  // The process runs elevated, and the unelevated shell's broadcast would be filtered out.
  if (taskbarCreated_ != 0) ChangeWindowMessageFilterEx(window_, taskbarCreated_, MSGFLT_ALLOW, nullptr);
  // The window has had no WM_MOVE or WM_SIZE yet, so these two are the creation's own.
  Raise(events_.created, window_);
  Raise(events_.moved, window_);
  Raise(events_.sizeChanged, window_);
  ShowWindow(window_, SW_SHOW);
  return true;
}

void MainWindow::Destroy() {
  if (window_ != nullptr) DestroyWindow(window_);
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->Handle(message, wParam, lParam);
}

bool MainWindow::AllowsClose() { return !events_.closeQuery || events_.closeQuery(window_); }

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    AddTrayIcon(window_);
    return 0;
  }
  switch (message) {
    case WM_MOVE:
    case WM_SIZE: {
      const LRESULT result = DefWindowProcW(window_, message, wParam, lParam);
      Raise(message == WM_MOVE ? events_.moved : events_.sizeChanged, window_);
      return result;
    }
    case WM_CLOSE:
      // Refused, the close ends here: DefWindowProc would destroy the window.
      return AllowsClose() ? DefWindowProcW(window_, message, wParam, lParam) : 0;
    case WM_QUERYENDSESSION:
      return DefWindowProcW(window_, message, wParam, lParam) != 0 && AllowsClose() ? TRUE : FALSE;
    case kTrayCallbackMessage:
      if (const int kind = TrayEventKind(lParam)) Raise(events_.trayEvent, window_, kind);
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0 && LOWORD(wParam) == kExitItemId) Raise(events_.exitItemSelected, window_);
      return 0;
    case WM_LBUTTONDOWN: {
      // A press on the bare client area moves the window, as one on the title bar would.
      POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(window_, &point);
      PostMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
      return 0;
    }
    case WM_NCACTIVATE:
      // The title bar stays drawn as active while another window has the focus.
      return DefWindowProcW(window_, message, wParam || IsWindowEnabled(window_), lParam);
    case WM_DESTROY:
      RemoveTrayIcon(window_);
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}
