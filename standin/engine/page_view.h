#pragma once

// The page on screen: paints the laid-out text into the child window, double-buffered, scrolls
// with the wheel and finds the link under a point. Lays out again only when the document or the
// width changed.

#include <windows.h>

#include <string>

#include "engine/html_document.h"
#include "engine/page_layout.h"

class PageView {
 public:
  void Attach(HWND window) { window_ = window; }
  // A new document: back to its top. The document must outlive the view's use of it.
  void Show(const HtmlDocument* document);
  // The shown document changed in place (a script wrote to it).
  void DocumentChanged();

  void Paint(HDC dc, const RECT& client);
  void Scroll(int wheelDelta);
  // The text under a point of the client area, for a click: its link and onclick script, or null.
  const LineSegment* SegmentAt(POINT point) const;

 private:
  void Invalidate() const;
  void EnsureLayout(HDC dc, int width);

  HWND window_ = nullptr;
  const HtmlDocument* document_ = nullptr;
  PageFonts fonts_;
  PageLayout layout_;
  bool stale_ = true;
  int layoutWidth_ = -1;
  int viewHeight_ = 0;
  int scroll_ = 0;
};
