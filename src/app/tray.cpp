#include "app/tray.h"

#include <shellapi.h>

#include "app/resource_ids.h"
#include "app/texts.h"

namespace {

constexpr int kTrayImageSize = 48;

// The icon the shell shows, kept until the tray icon is removed.
UniqueIcon g_trayIcon;

std::uint32_t ReadLittleEndian(const std::uint8_t* at, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | at[i];
  return value;
}

// The record in its first form, which every shell version reads.
NOTIFYICONDATAW TrayRecord(HWND window) {
  NOTIFYICONDATAW record{};
  record.cbSize = NOTIFYICONDATAW_V1_SIZE;
  record.hWnd = window;
  record.uID = kTrayIconId;
  return record;
}

}  // namespace

int TrayEventKind(LPARAM lParam) {
  switch (lParam) {
    case WM_LBUTTONUP:
      return 1;
    case WM_LBUTTONDBLCLK:
      return 2;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
      return 3;
    default:
      return 0;
  }
}

std::optional<IconImage> FindIconImage(const std::uint8_t* file, std::size_t size, int width) {
  constexpr std::size_t kHeaderBytes = 6;
  constexpr std::size_t kEntryBytes = 16;
  if (file == nullptr || size < kHeaderBytes) return std::nullopt;
  // The header: reserved 0, type 1 (icon), the number of entries.
  if (ReadLittleEndian(file, 2) != 0 || ReadLittleEndian(file + 2, 2) != 1) return std::nullopt;
  const std::size_t count = ReadLittleEndian(file + 4, 2);
  if (count > (size - kHeaderBytes) / kEntryBytes) return std::nullopt;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = file + kHeaderBytes + i * kEntryBytes;
    const int entryWidth = entry[0] != 0 ? entry[0] : 256;
    const int entryHeight = entry[1] != 0 ? entry[1] : 256;
    if (entryWidth != width || entryHeight != width) continue;
    const std::uint32_t bytes = ReadLittleEndian(entry + 8, 4);
    const std::uint32_t offset = ReadLittleEndian(entry + 12, 4);
    if (offset > size || bytes > size - offset || bytes < sizeof(BITMAPINFOHEADER)) continue;
    return IconImage{file + offset, bytes, entryWidth, entryHeight};
  }
  return std::nullopt;
}

UniqueIcon MakeTrayIcon() {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDR_TRAY_ICON), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (resource == nullptr) return UniqueIcon();
  const auto* file = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, resource)));
  const auto image = FindIconImage(file, SizeofResource(module, resource), kTrayImageSize);
  if (!image) return UniqueIcon();
  return UniqueIcon(CreateIconFromResourceEx(const_cast<PBYTE>(image->bits), image->size, TRUE, 0x00030000,
                                             image->width, image->height, LR_DEFAULTCOLOR));
}

void AddTrayIcon(HWND window) {
  if (!g_trayIcon) g_trayIcon = MakeTrayIcon();
  if (!g_trayIcon) return;
  NOTIFYICONDATAW record = TrayRecord(window);
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = kTrayCallbackMessage;
  record.hIcon = g_trayIcon.get();
  const WideBuffer tip = TextToWide(CutAtCharBoundary(TrayTip(), kTrayTipBytes));
  lstrcpynW(record.szTip, WideData(tip), 64);
  Shell_NotifyIconW(NIM_ADD, &record);
}

void RemoveTrayIcon(HWND window) {
  NOTIFYICONDATAW record = TrayRecord(window);
  Shell_NotifyIconW(NIM_DELETE, &record);
  g_trayIcon.reset();
}

void TrackTrayMenu(HWND owner) {
  const UniqueMenu menu(CreatePopupMenu());
  if (!menu) return;
  AppendMenuW(menu.get(), MF_STRING, kExitItemId, WideData(TextToWide(texts::kExitItem)));
  POINT cursor{};
  GetCursorPos(&cursor);
  TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, cursor.x + 3, cursor.y + 3, 0, owner, nullptr);
}
