// The floor for start-up figures: the barest program that shows a window of the client's size
// and styles. With "ole-tray" it first does what the client must do before its first show
// (OleInitialize, a tray icon), so that the difference is what the client adds on top; with
// "load PATH" as well it loads that DLL before the show, as the client loads its WebView2 loader.

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <cstring>

namespace {

constexpr int kWidth = 954;  // the client's window
constexpr int kHeight = 719;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  const bool oleAndTray = std::strstr(commandLine, "ole-tray") != nullptr;
  if (oleAndTray) OleInitialize(nullptr);
  const char* load = std::strstr(commandLine, "load ");

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"BenchFloorWindow";
  if (!RegisterClassExW(&windowClass)) return 1;
  const HWND window = CreateWindowExW(0, L"BenchFloorWindow", L"floor", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                      (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2,
                                      (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2, kWidth, kHeight, nullptr,
                                      nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  NOTIFYICONDATAW record{};
  if (oleAndTray) {
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = window;
    record.uID = 100;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = WM_APP;
    record.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
    lstrcpynW(record.szTip, L"floor", 64);
    Shell_NotifyIconW(NIM_ADD, &record);
  }
  if (load != nullptr) LoadLibraryA(load + 5);
  ShowWindow(window, SW_SHOW);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (oleAndTray) {
    Shell_NotifyIconW(NIM_DELETE, &record);
    OleUninitialize();
  }
  return 0;
}
