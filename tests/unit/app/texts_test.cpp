#include "app/texts.h"

#include <gtest/gtest.h>

#include <string>

#include "app/tray.h"

namespace {

std::u16string Wide(const AnsiText& text) {
  return reinterpret_cast<const char16_t*>(WideData(TextToWide(text, kCodePageGbk)));
}

// The constants are bytes in the source: a slip in one byte shows here as a wrong character.
TEST(Texts, ReadAsTheirCharactersInCodePage936) {
  const struct {
    const char* bytes;
    std::u16string text;
  } cases[] = {
      {texts::kCaptionPrefix, u"翠鸮交流群-"},
      {texts::kTrayTipPrefix, u"右键弹出菜单，翠鸮交流群客户端("},
      {texts::kExitItem, u"退出"},
      {texts::kFatalTitle, u"翠鸮交流群客户端"},
      {texts::kOutOfMemory, u"内存不足，程序无法继续运行。"},
      {texts::kUnbindableFunction, u"无法调用外部函数，程序无法继续运行。"},
      {texts::kLibraryLabel, u"库："},
      {texts::kFunctionLabel, u"函数："},
  };
  for (const auto& c : cases) EXPECT_EQ(Wide(c.bytes), c.text);
}

TEST(Texts, CaptionAndTipCarryTheHostName) {
  EXPECT_EQ(Wide(InitialCaption()), u"翠鸮交流群-cuixiao.club");
  EXPECT_EQ(Wide(TrayTip()), u"右键弹出菜单，翠鸮交流群客户端(cuixiao.club)");
  EXPECT_LE(TrayTip().size(), kTrayTipBytes);
}

TEST(Texts, CutKeepsDoubleByteCharactersWhole) {
  const std::string han = texts::kExitItem;  // two double-byte characters
  const std::string a62(62, 'a');
  const struct {
    std::string text;
    std::size_t maxBytes;
    std::string expected;
  } cases[] = {
      {"", 62, ""},
      {a62, 62, a62},
      {a62 + "a", 62, a62},
      {std::string(60, 'a') + han, 62, std::string(60, 'a') + "\xcd\xcb"},  // the cut falls after a character
      {std::string(61, 'a') + han, 62, std::string(61, 'a')},               // ... and would fall inside one
      {han + "z", 3, "\xcd\xcb"},
      {"ab\xb4", 62, "ab\xb4"},  // a lead byte that ends the text stands alone
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CutAtCharBoundary(c.text, c.maxBytes), c.expected) << "of " << c.text.size() << " bytes";
  }
}

}  // namespace
