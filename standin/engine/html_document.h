#pragma once

// What the engine keeps of a page: a flat list of pieces (text runs and paragraph breaks), the
// title, the inline scripts and the ranges of elements with an id. Flat, so that a page of several
// megabytes costs one pass to read and to lay out, and a script can replace an element's text.

#include <cstddef>
#include <string>
#include <vector>

struct Piece {
  enum class Kind { kText, kBreak };
  Kind kind = Kind::kText;
  std::wstring text;     // kText: may hold '\n' for a line break
  std::wstring href;     // kText: the resolved link target, empty outside links
  std::wstring onclick;  // kText: the onclick script of the innermost element that has one
  // kBreak: the style of the paragraph that follows.
  int headingLevel = 0;  // 1..6 for h1..h6
  bool preformatted = false;
  bool spaced = false;  // set off from the text before by a gap (p, headings, lists), not by a bare line (div, li)
};

struct ElementRange {
  std::wstring id;
  size_t first = 0;  // pieces [first, end)
  size_t end = 0;
};

struct HtmlDocument {
  std::wstring title;  // white space collapsed; empty when the page has none
  std::vector<Piece> pieces;
  std::vector<std::wstring> scripts;  // inline scripts in document order
  std::vector<ElementRange> elements;
};

// The text of pieces [first, end): runs as they are, breaks between text as '\n'.
std::wstring RangeText(const HtmlDocument& document, size_t first, size_t end);

// Replaces pieces [first, end) with replacement, moving every element range accordingly; elements
// inside the replaced range become empty at its start.
void ReplaceRange(HtmlDocument& document, size_t first, size_t end, std::vector<Piece> replacement);

// One text piece of the text, or nothing for the empty text.
std::vector<Piece> TextPieces(const std::wstring& text);

// The element with the id, first in document order; null when none.
const ElementRange* FindElement(const HtmlDocument& document, const std::wstring& id);
