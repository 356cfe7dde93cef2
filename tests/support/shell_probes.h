#pragma once

// What the shell tests look at from outside the code under test: the message queue, the tray
// icon, the tray menu. Usable in process and from another process.

#include <windows.h>
#include <shellapi.h>

#include <cwchar>

// The tray icon as the shell knows it: the identifier and callback message are fixed facts of
// the client, written here as such rather than taken from the code under test.
inline constexpr UINT kShellIconId = 100;
inline constexpr UINT kShellCallbackMessage = 0x8064;

inline void PumpMessages(DWORD milliseconds = 100) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (GetTickCount() - start < milliseconds);
}

// NIM_MODIFY that changes nothing succeeds only for an icon the shell has.
inline bool TrayIconExists(HWND window) {
  NOTIFYICONDATAW record{};
  record.cbSize = NOTIFYICONDATAW_V1_SIZE;
  record.hWnd = window;
  record.uID = kShellIconId;
  return Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

inline bool HasClass(HWND window, const wchar_t* className) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return std::wcscmp(name, className) == 0;
}

struct WindowSearch {
  DWORD processId;
  const wchar_t* className;
  HWND found;
};

inline BOOL CALLBACK MatchWindow(HWND candidate, LPARAM context) {
  auto& search = *reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(candidate, &owner);
  if (owner != search.processId || !IsWindowVisible(candidate) || !HasClass(candidate, search.className)) return TRUE;
  search.found = candidate;
  return FALSE;
}

// A visible top-level window of the class that belongs to the process; null when there is none.
inline HWND FindProcessWindow(DWORD processId, const wchar_t* className) {
  WindowSearch search{processId, className, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The open popup menu of the process (menus are windows of class #32768); null when none is open.
inline HWND FindOpenMenu(DWORD processId) { return FindProcessWindow(processId, L"#32768"); }
