#include "engine/page_view.h"

#include <algorithm>

namespace {

constexpr COLORREF kTextColor = RGB(0, 0, 0);
constexpr COLORREF kLinkColor = RGB(0, 0, 238);
constexpr int kPixelsPerNotch = 48;

// The first line whose bottom is below y.
size_t FirstLineBelow(const PageLayout& layout, int y) {
  const auto found =
      std::lower_bound(layout.lines.begin(), layout.lines.end(), y,
                       [](const LayoutLine& line, int value) { return line.top + line.height <= value; });
  return static_cast<size_t>(found - layout.lines.begin());
}

}  // namespace

void PageView::Show(const HtmlDocument* document) {
  document_ = document;
  scroll_ = 0;
  DocumentChanged();
}

void PageView::DocumentChanged() {
  stale_ = true;
  Invalidate();
}

void PageView::Invalidate() const {
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void PageView::EnsureLayout(HDC dc, int width) {
  if (!stale_ && width == layoutWidth_) return;
  layout_ = document_ ? LayOutPage(*document_, fonts_, dc, width) : PageLayout();
  layoutWidth_ = width;
  stale_ = false;
}

void PageView::Paint(HDC dc, const RECT& client) {
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;
  HDC buffer = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  const HGDIOBJ oldBitmap = SelectObject(buffer, bitmap);
  const HGDIOBJ oldFont = SelectObject(buffer, fonts_.Font(0, false));

  EnsureLayout(buffer, width);
  viewHeight_ = height;
  scroll_ = std::max(0, std::min(scroll_, layout_.height - height));

  const RECT area{0, 0, width, height};
  FillRect(buffer, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(buffer, TRANSPARENT);
  for (size_t i = FirstLineBelow(layout_, scroll_); i < layout_.lines.size(); ++i) {
    const LayoutLine& line = layout_.lines[i];
    const int top = line.top - scroll_;
    if (top >= height) break;
    for (const LineSegment& segment : line.segments) {
      const bool link = !segment.href.empty() || !segment.onclick.empty();
      SelectObject(buffer, fonts_.Font(line.headingLevel, link));
      SetTextColor(buffer, link ? kLinkColor : kTextColor);
      SetTextAlign(buffer, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
      ExtTextOutW(buffer, segment.x, top + line.baseline, 0, nullptr, segment.text.data(),
                  static_cast<UINT>(segment.text.size()), nullptr);
    }
  }
  BitBlt(dc, client.left, client.top, width, height, buffer, 0, 0, SRCCOPY);
  SelectObject(buffer, oldFont);
  SelectObject(buffer, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(buffer);
}

void PageView::Scroll(int wheelDelta) {
  const int before = scroll_;
  const int limit = std::max(0, layout_.height - viewHeight_);
  scroll_ = std::max(0, std::min(limit, scroll_ - wheelDelta * kPixelsPerNotch / WHEEL_DELTA));
  if (scroll_ != before) Invalidate();
}

const LineSegment* PageView::SegmentAt(POINT point) const {
  const int y = point.y + scroll_;
  const size_t i = FirstLineBelow(layout_, y);
  if (i >= layout_.lines.size() || layout_.lines[i].top > y) return nullptr;
  for (const LineSegment& segment : layout_.lines[i].segments) {
    if (point.x >= segment.x && point.x < segment.x + segment.width) return &segment;
  }
  return nullptr;
}
