// Waits for the client's window to show, then saves the whole screen as a PNG file.
//   screenshot OUTPUT.png [SECONDS]   (default: wait up to 60 seconds)
// The PNG holds its pixels in stored (uncompressed) deflate blocks: simple, and needs no library.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_window.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutBigEndian(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  static std::uint32_t table[256];
  if (table[1] == 0) {
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
  }
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

void PutChunk(Bytes& png, const char* type, const Bytes& data) {
  PutBigEndian(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  PutBigEndian(png, Crc32(png.data() + start, png.size() - start));
}

// A zlib stream of stored deflate blocks.
Bytes Zlib(const Bytes& raw) {
  Bytes out{0x78, 0x01};
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  std::size_t at = 0;
  do {
    const std::size_t length = raw.size() - at < 65535 ? raw.size() - at : 65535;
    out.push_back(at + length == raw.size() ? 1 : 0);
    out.push_back(static_cast<std::uint8_t>(length));
    out.push_back(static_cast<std::uint8_t>(length >> 8));
    out.push_back(static_cast<std::uint8_t>(~length));
    out.push_back(static_cast<std::uint8_t>(~length >> 8));
    out.insert(out.end(), raw.begin() + at, raw.begin() + at + length);
    at += length;
  } while (at < raw.size());
  PutBigEndian(out, b << 16 | a);
  return out;
}

// The screen as PNG bytes (8-bit RGB); empty when it cannot be read.
Bytes CaptureScreen() {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  Bytes png;
  if (bitmap != nullptr) {
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY)) {
      Bytes raw;
      raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * width));
      const auto* pixels = static_cast<const std::uint8_t*>(bits);
      for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < width; ++x) {
          const std::uint8_t* bgra = pixels + (static_cast<std::size_t>(y) * width + x) * 4;
          raw.insert(raw.end(), {bgra[2], bgra[1], bgra[0]});
        }
      }
      png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
      Bytes header;
      PutBigEndian(header, width);
      PutBigEndian(header, height);
      header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter set, no interlace
      PutChunk(png, "IHDR", header);
      PutChunk(png, "IDAT", Zlib(raw));
      PutChunk(png, "IEND", {});
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return png;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: screenshot OUTPUT.png [SECONDS]\n");
    return 2;
  }
  const DWORD wait = (argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 60) * 1000;
  const DWORD start = GetTickCount();
  HWND window;
  while ((window = FindWindowW(MainWindow::kClassName, nullptr)) == nullptr || !IsWindowVisible(window)) {
    if (GetTickCount() - start > wait) {
      std::fprintf(stderr, "screenshot: the client's window did not show\n");
      return 1;
    }
    Sleep(100);
  }
  Sleep(1500);  // let it paint
  const Bytes png = CaptureScreen();
  FILE* out = png.empty() ? nullptr : std::fopen(argv[1], "wb");
  if (out == nullptr || std::fwrite(png.data(), 1, png.size(), out) != png.size() || std::fclose(out) != 0) {
    std::fprintf(stderr, "screenshot: cannot save %s\n", argv[1]);
    return 1;
  }
  return 0;
}
