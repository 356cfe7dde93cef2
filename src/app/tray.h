#pragma once

// The tray icon and TrayMenu.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "com/unique_handle.h"

inline constexpr UINT kTrayIconId = 100;
inline constexpr UINT kTrayCallbackMessage = WM_APP + 0x64;
inline constexpr UINT kExitItemId = 1;  // TrayMenu's only item, "退出"
// The tip's share of the record's 64 units, counted in code page 936 bytes.
inline constexpr std::size_t kTrayTipBytes = 62;

// The kind of tray event a callback message's lParam raises: 1 for WM_LBUTTONUP, 2 for
// WM_LBUTTONDBLCLK, 3 for WM_RBUTTONUP and WM_CONTEXTMENU, 0 (none) for anything else.
int TrayEventKind(LPARAM lParam);

// One image of an ICO file, as CreateIconFromResourceEx takes it.
struct IconImage {
  const std::uint8_t* bits;
  DWORD size;
  int width;
  int height;
};

// The square image of the given width in the bytes of an ICO file; none when the file holds no
// such image or is malformed. Nothing outside the given bytes is read.
std::optional<IconImage> FindIconImage(const std::uint8_t* file, std::size_t size, int width);

// The 48 x 48 image of the program's ICO resource as an icon; empty when none can be made.
UniqueIcon MakeTrayIcon();

// Adds the window's tray icon; nothing happens when the icon cannot be made, and the shell's
// answer is not examined.
void AddTrayIcon(HWND window);

// Removes the window's tray icon, if it has one.
void RemoveTrayIcon(HWND window);

// Opens TrayMenu at the cursor, owned by the window, and returns once the menu has closed. A
// chosen item reaches the window as WM_COMMAND.
void TrackTrayMenu(HWND owner);
