#pragma once

// The page's text broken into lines for a width: paragraphs from the document's breaks, words
// wrapped at spaces and between CJK characters, one font per paragraph (its heading level).

#include <windows.h>

#include <string>
#include <vector>

#include "engine/html_document.h"

// The fonts a layout measures and paints with; level 0 is body text, 1..6 the headings.
class PageFonts {
 public:
  PageFonts();
  ~PageFonts();
  PageFonts(const PageFonts&) = delete;
  PageFonts& operator=(const PageFonts&) = delete;

  HFONT Font(int headingLevel, bool link) const;
  // The face chosen: the first installed of the CJK-capable faces wanted.
  const std::wstring& FaceName() const { return face_; }

 private:
  std::wstring face_;
  HFONT fonts_[7][2] = {};
};

struct LineSegment {
  int x = 0;
  int width = 0;
  std::wstring text;
  std::wstring href;
  std::wstring onclick;
};

struct LayoutLine {
  int top = 0;  // from the top of the page
  int height = 0;
  int baseline = 0;  // from top
  int headingLevel = 0;
  std::vector<LineSegment> segments;
};

struct PageLayout {
  std::vector<LayoutLine> lines;
  int height = 0;  // of the whole page, margins included
};

// Lays the document out for the width with dc measuring (its font is changed and restored).
PageLayout LayOutPage(const HtmlDocument& document, const PageFonts& fonts, HDC dc, int width);

inline constexpr int kPageMargin = 8;
