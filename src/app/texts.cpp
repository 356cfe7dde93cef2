#include "app/texts.h"

#include "site.h"

AnsiText InitialCaption() { return AnsiText(texts::kCaptionPrefix) + kSiteHost; }

AnsiText TrayTip() { return AnsiText(texts::kTrayTipPrefix) + kSiteHost + ")"; }

AnsiText CutAtCharBoundary(const AnsiText& text, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    const bool lead = IsDBCSLeadByteEx(kCodePageGbk, static_cast<BYTE>(text[end])) && end + 1 < text.size();
    const std::size_t next = end + (lead ? 2 : 1);
    if (next > maxBytes) break;
    end = next;
  }
  return text.substr(0, end);
}
