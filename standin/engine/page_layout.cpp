#include "engine/page_layout.h"

#include <algorithm>

namespace {

// Body text and headings in pixels, as browsers size them by default.
constexpr int kFontHeights[7] = {16, 32, 24, 19, 16, 13, 11};
constexpr const wchar_t* kFaces[] = {L"Microsoft YaHei", L"\x5FAE\x8F6F\x96C5\x9ED1", L"WenQuanYi Micro Hei", L"SimSun",
                                     L"\x5B8B\x4F53",    L"Noto Sans CJK SC",         L"Droid Sans Fallback"};

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

std::wstring InstalledCjkFace() {
  HDC screen = GetDC(nullptr);
  std::wstring chosen;
  for (const wchar_t* face : kFaces) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(screen, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    if (found) {
      chosen = face;
      break;
    }
  }
  ReleaseDC(nullptr, screen);
  return chosen;
}

bool IsCjk(wchar_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFF00 && c <= 0xFFEF);
}

bool IsBlank(wchar_t c) { return c == L' ' || c == 0x3000; }

// Whether a line may break before text[i] (0 < i < size).
bool MayBreakBefore(const std::wstring& text, size_t i) {
  return IsBlank(text[i - 1]) || IsCjk(text[i]) || IsCjk(text[i - 1]);
}

struct Paragraph {
  int headingLevel = 0;
  bool preformatted = false;
  bool spaced = false;
  std::vector<const Piece*> runs;
};

class Builder {
 public:
  Builder(const PageFonts& fonts, HDC dc, int width)
      : fonts_(fonts), dc_(dc), width_(std::max(width - 2 * kPageMargin, 40)) {}

  void Add(const Paragraph& paragraph) {
    bool hasText = false;
    for (const Piece* run : paragraph.runs) hasText = hasText || !run->text.empty();
    if (!hasText) return;
    SelectObject(dc_, fonts_.Font(paragraph.headingLevel, false));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    lineHeight_ = metrics.tmHeight + metrics.tmExternalLeading + metrics.tmHeight / 4;
    ascent_ = metrics.tmAscent + metrics.tmHeight / 8;
    maxFit_ = width_ / std::max<int>(1, metrics.tmAveCharWidth / 3) + 8;
    // Spaced paragraphs apart by most of a line of their own text, as browsers set off p and h1..h6.
    if (paragraph.spaced && !layout_.lines.empty()) y_ += metrics.tmHeight * 3 / 4;
    level_ = paragraph.headingLevel;
    preformatted_ = paragraph.preformatted;
    NewLine();
    for (const Piece* run : paragraph.runs) AddRun(*run);
  }

  PageLayout Finish() {
    layout_.height = y_ + 2 * kPageMargin;
    return std::move(layout_);
  }

 private:
  void NewLine() {
    LayoutLine line;
    line.top = y_ + kPageMargin;
    line.height = lineHeight_;
    line.baseline = ascent_;
    line.headingLevel = level_;
    layout_.lines.push_back(std::move(line));
    y_ += lineHeight_;
    x_ = 0;
  }

  void AddRun(const Piece& run) {
    std::wstring text = run.text;
    for (wchar_t& c : text) {
      if (c == L'\t') c = L' ';
    }
    size_t at = 0;
    size_t lineEnd = text.find(L'\n');  // searched again only once passed: long runs stay linear
    while (at < text.size()) {
      if (lineEnd < at) lineEnd = text.find(L'\n', at);
      if (lineEnd == std::wstring::npos) lineEnd = text.size();
      if (text[at] == L'\n') {
        NewLine();
        ++at;
        continue;
      }
      if (x_ == 0 && !preformatted_ && IsBlank(text[at]) && wrapped_) {
        ++at;
        continue;
      }
      wrapped_ = false;
      const int count = static_cast<int>(std::min<size_t>(lineEnd - at, maxFit_));
      INT fit = 0;
      SIZE size{};
      GetTextExtentExPointW(dc_, text.data() + at, count, width_ - x_, &fit, nullptr, &size);
      size_t take = static_cast<size_t>(fit);
      if (take < static_cast<size_t>(count)) {
        // Back up to the last place a line may break; none means the word goes to the next line,
        // or is cut when it fills a line by itself.
        size_t cut = at + take;
        while (cut > at && !MayBreakBefore(text, cut)) --cut;
        if (cut > at) {
          take = cut - at;
        } else if (x_ > 0 && (at == 0 || MayBreakBefore(text, at))) {
          NewLine();
          wrapped_ = true;
          continue;
        } else {
          take = std::max<size_t>(take, 1);
        }
      }
      Place(text.substr(at, take), run);
      at += take;
      if (at < lineEnd && take < static_cast<size_t>(count)) {
        NewLine();
        wrapped_ = true;
      }
    }
  }

  void Place(const std::wstring& text, const Piece& run) {
    SIZE size{};
    GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &size);
    LineSegment segment;
    segment.x = x_ + kPageMargin;
    segment.width = size.cx;
    segment.text = text;
    segment.href = run.href;
    segment.onclick = run.onclick;
    layout_.lines.back().segments.push_back(std::move(segment));
    x_ += size.cx;
  }

  const PageFonts& fonts_;
  HDC dc_;
  const int width_;
  PageLayout layout_;
  int y_ = 0;  // top of the next line, margins excluded
  int x_ = 0;
  int lineHeight_ = 0;
  int ascent_ = 0;
  size_t maxFit_ = 0;
  int level_ = 0;
  bool preformatted_ = false;
  bool wrapped_ = false;
};

}  // namespace

PageFonts::PageFonts() : face_(InstalledCjkFace()) {
  for (int level = 0; level < 7; ++level) {
    for (int link = 0; link < 2; ++link) {
      fonts_[level][link] = CreateFontW(-kFontHeights[level], 0, 0, 0, level ? FW_BOLD : FW_NORMAL, FALSE, link, FALSE,
                                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                        DEFAULT_PITCH | FF_DONTCARE, face_.c_str());
    }
  }
}

PageFonts::~PageFonts() {
  for (auto& level : fonts_) {
    for (HFONT font : level) {
      if (font) DeleteObject(font);
    }
  }
}

HFONT PageFonts::Font(int headingLevel, bool link) const {
  if (headingLevel < 0 || headingLevel > 6) headingLevel = 0;
  return fonts_[headingLevel][link ? 1 : 0];
}

PageLayout LayOutPage(const HtmlDocument& document, const PageFonts& fonts, HDC dc, int width) {
  const HGDIOBJ previous = SelectObject(dc, fonts.Font(0, false));
  Builder builder(fonts, dc, width);
  Paragraph paragraph;
  for (const Piece& piece : document.pieces) {
    if (piece.kind == Piece::Kind::kBreak) {
      builder.Add(paragraph);
      paragraph = Paragraph();
      paragraph.headingLevel = piece.headingLevel;
      paragraph.preformatted = piece.preformatted;
      paragraph.spaced = piece.spaced;
      continue;
    }
    paragraph.runs.push_back(&piece);
  }
  builder.Add(paragraph);
  SelectObject(dc, previous);
  return builder.Finish();
}
