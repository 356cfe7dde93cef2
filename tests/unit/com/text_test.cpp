#include "com/text.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include "support/task_allocator_spy.h"

namespace {

std::vector<WCHAR> UnitsOf(const WideBuffer& buffer) {
  return std::vector<WCHAR>(buffer.units(), buffer.units() + buffer.unitCount());
}

// Texts of the cases, spelt as bytes so that the code page of this file does not matter.
const char kNiHaoUtf8[] = "\xE4\xBD\xA0\xE5\xA5\xBD";  // 你好
const char kNiHaoGbk[] = "\xC4\xE3\xBA\xC3";
const WCHAR kNiHaoWide[] = {0x4F60, 0x597D, 0};
const WCHAR kThaiKoKai[] = {0x0E01, 0};  // not in code page 936
const char kPlaceholder[] = "?";         // code page 936's default character

TEST(TextToWide, ConvertsTextAndTerminatorUnderItsCodePage) {
  struct Case {
    const char* name;
    const char* text;
    CodePage codePage;
    std::vector<WCHAR> units;
  } const cases[] = {
      {"empty text", "", std::nullopt, {0}},
      {"absent text", nullptr, std::nullopt, {0}},
      {"ASCII, little-endian units", "abc", std::nullopt, {0x61, 0x62, 0x63, 0}},
      {"code page 936 when none is given", kNiHaoGbk, std::nullopt, {0x4F60, 0x597D, 0}},
      {"UTF-8 when given", kNiHaoUtf8, kCodePageUtf8, {0x4F60, 0x597D, 0}},
      {"an unusable code page gives the empty wide text", "abc", 12345u, {0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const WideBuffer wide = TextToWide(c.text, c.codePage);
    EXPECT_EQ(UnitsOf(wide), c.units);
    EXPECT_EQ(wide.byteLength(), 2 * c.units.size());
  }
}

TEST(TextToWide, WideDataIsNullOnlyForAnAbsentBuffer) {
  EXPECT_EQ(WideData(WideBuffer()), nullptr);
  const WideBuffer empty = TextToWide("");
  ASSERT_NE(WideData(empty), nullptr);
  EXPECT_EQ(WideData(empty)[0], 0);
}

TEST(TextFromWide, ConvertsUnderItsCodePage) {
  struct Case {
    const char* name;
    const WCHAR* text;
    CodePage codePage;
    std::string bytes;
  } const cases[] = {
      {"null string", nullptr, std::nullopt, ""},
      {"empty string", L"", std::nullopt, ""},
      {"code page 936 when none is given", kNiHaoWide, std::nullopt, kNiHaoGbk},
      {"UTF-8 when given", kNiHaoWide, kCodePageUtf8, kNiHaoUtf8},
      {"U+00E9 in UTF-8", L"\x00E9", kCodePageUtf8, "\xC3\xA9"},
      {"a character code page 936 lacks", kThaiKoKai, std::nullopt, kPlaceholder},
      {"an unusable code page gives the empty text", L"abc", 12345u, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextFromWide(c.text, c.codePage), c.bytes);
  }
}

TEST(TextToGbk, ReencodesIntoCodePage936) {
  struct Case {
    const char* name;
    const char* text;
    CodePage codePage;
    std::string bytes;
  } const cases[] = {
      {"UTF-8 when none is given", kNiHaoUtf8, std::nullopt, kNiHaoGbk},
      {"the given code page", kNiHaoGbk, kCodePageGbk, kNiHaoGbk},
      {"empty text", "", std::nullopt, ""},
      {"absent text", nullptr, std::nullopt, ""},
      {"a character code page 936 lacks", "\xE0\xB8\x81", std::nullopt, kPlaceholder},
      {"malformed UTF-8", "\xFF", std::nullopt, kPlaceholder},
      {"an unusable code page gives the empty text", "abc", 12345u, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextToGbk(c.text, c.codePage), c.bytes);
  }
}

TEST(ParseInterfaceId, GivesTheBytesInIidLayout) {
  EXPECT_EQ(ParseInterfaceId("{00000000-0000-0000-C000-000000000046}"),
            (ByteBuffer{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                        0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}));
  EXPECT_EQ(ParseInterfaceId("{2fde08a8-1e9a-4766-8c05-95a9ceb9d1c5}"),
            (ByteBuffer{0xA8, 0x08, 0xDE, 0x2F, 0x9A, 0x1E, 0x66, 0x47,
                        0x8C, 0x05, 0x95, 0xA9, 0xCE, 0xB9, 0xD1, 0xC5}));
}

TEST(InterfaceIdEquals, ComparesBytesNotLetterCase) {
  EXPECT_TRUE(InterfaceIdEquals(ParseInterfaceId("{517B2D1D-7DAE-4A66-A4F4-10352FFB9518}"),
                                ParseInterfaceId("{517b2d1d-7dae-4a66-a4f4-10352ffb9518}")));
  EXPECT_FALSE(InterfaceIdEquals(ParseInterfaceId("{517b2d1d-7dae-4a66-a4f4-10352ffb9518}"),
                                 ParseInterfaceId("{517b2d1d-7dae-4a66-a4f4-10352ffb9519}")));
  EXPECT_TRUE(InterfaceIdEquals(ByteBuffer{}, ByteBuffer{}));
  EXPECT_FALSE(InterfaceIdEquals(ByteBuffer{1, 2}, ByteBuffer{1, 2, 0}));
}

TEST(CoTaskMemDupWide, CopiesIntoAFreshTaskBlock) {
  TaskAllocatorSpy spy;
  IMalloc* allocator = nullptr;
  ASSERT_EQ(CoGetMalloc(1, &allocator), S_OK);

  EXPECT_EQ(CoTaskMemDupWide(nullptr), nullptr);

  WCHAR* empty = CoTaskMemDupWide(L"");
  ASSERT_TRUE(spy.IsLive(empty));
  EXPECT_EQ(allocator->GetSize(empty), 2u);
  EXPECT_EQ(empty[0], 0);

  const WCHAR source[] = L"ab";
  WCHAR* copy = CoTaskMemDupWide(source);
  ASSERT_TRUE(spy.IsLive(copy));
  EXPECT_NE(copy, source);
  EXPECT_EQ(allocator->GetSize(copy), sizeof(source));
  EXPECT_EQ(std::wstring(copy), L"ab");

  CoTaskMemFree(empty);
  CoTaskMemFree(copy);
  allocator->Release();
  EXPECT_EQ(spy.liveBlocks(), 0);
}

}  // namespace
