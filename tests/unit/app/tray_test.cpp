#include "app/tray.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "app/resource_ids.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteObject>;

void Put(Bytes& bytes, std::size_t at, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// An ICO file with one 48 x 48 entry whose image is 40 bytes at offset 22.
Bytes SmallIcoFile() {
  Bytes file(22 + 40, 0);
  Put(file, 2, 1, 2);  // type: icon
  Put(file, 4, 1, 2);  // one entry
  file[6] = 48;
  file[7] = 48;
  Put(file, 6 + 8, 40, 4);
  Put(file, 6 + 12, 22, 4);
  return file;
}

Bytes ClientIcoFile() {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDR_TRAY_ICON), MAKEINTRESOURCEW(10));
  if (resource == nullptr) return {};
  const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, resource)));
  return Bytes(bytes, bytes + SizeofResource(module, resource));
}

TEST(IconFile, TheClientIconHoldsThreeImagesOfTheirSizes) {
  const Bytes file = ClientIcoFile();
  ASSERT_EQ(file.size(), 15086u);
  const struct {
    int width;
    DWORD bytes;
  } images[] = {{16, 1128}, {32, 4264}, {48, 9640}};
  for (const auto& image : images) {
    const auto found = FindIconImage(file.data(), file.size(), image.width);
    ASSERT_TRUE(found) << image.width;
    EXPECT_EQ(found->size, image.bytes);
    EXPECT_EQ(found->height, image.width);
    BITMAPINFOHEADER header;
    std::memcpy(&header, found->bits, sizeof(header));
    EXPECT_EQ(header.biBitCount, 32);
    EXPECT_EQ(header.biWidth, image.width);
  }
  EXPECT_FALSE(FindIconImage(file.data(), file.size(), 24));
}

TEST(IconFile, MalformedFilesGiveNoImage) {
  ASSERT_TRUE(FindIconImage(SmallIcoFile().data(), SmallIcoFile().size(), 48));
  const struct {
    const char* name;
    std::function<void(Bytes&)> spoil;
  } cases[] = {
      {"empty", [](Bytes& f) { f.clear(); }},
      {"header cut short", [](Bytes& f) { f.resize(5); }},
      {"a cursor file", [](Bytes& f) { Put(f, 2, 2, 2); }},
      {"reserved field set", [](Bytes& f) { Put(f, 0, 1, 2); }},
      {"more entries than bytes", [](Bytes& f) { Put(f, 4, 4, 2); }},
      {"image starts past the end", [](Bytes& f) { Put(f, 6 + 12, 63, 4); }},
      {"image runs past the end", [](Bytes& f) { Put(f, 6 + 8, 41, 4); }},
      {"offset and size wrap around", [](Bytes& f) { Put(f, 6 + 8, 0xFFFFFFF0u, 4); Put(f, 6 + 12, 0x20, 4); }},
      {"image smaller than its header", [](Bytes& f) { Put(f, 6 + 8, 39, 4); }},
  };
  for (const auto& c : cases) {
    Bytes file = SmallIcoFile();
    c.spoil(file);
    EXPECT_FALSE(FindIconImage(file.empty() ? nullptr : file.data(), file.size(), 48)) << c.name;
  }
}

TEST(TrayIcon, IsMadeFromThe48PixelImage) {
  const UniqueIcon icon = MakeTrayIcon();
  ASSERT_TRUE(icon);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon.get(), &info));
  const UniqueBitmap colourBitmap(info.hbmColor), mask(info.hbmMask);
  BITMAP colour{};
  GetObjectW(colourBitmap.get(), sizeof(colour), &colour);
  EXPECT_EQ(colour.bmWidth, 48);
  EXPECT_EQ(colour.bmHeight, 48);
  EXPECT_EQ(colour.bmBitsPixel, 32);
}

}  // namespace
