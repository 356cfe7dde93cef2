#include "engine/html_document.h"

#include <iterator>

std::wstring RangeText(const HtmlDocument& document, size_t first, size_t end) {
  std::wstring text;
  bool pendingBreak = false;
  for (size_t i = first; i < end && i < document.pieces.size(); ++i) {
    const Piece& piece = document.pieces[i];
    if (piece.kind == Piece::Kind::kBreak) {
      pendingBreak = !text.empty();
      continue;
    }
    if (piece.text.empty()) continue;
    if (pendingBreak && text.back() != L'\n') text += L'\n';
    pendingBreak = false;
    text += piece.text;
  }
  return text;
}

void ReplaceRange(HtmlDocument& document, size_t first, size_t end, std::vector<Piece> replacement) {
  std::vector<Piece>& pieces = document.pieces;
  if (end > pieces.size()) end = pieces.size();
  if (first > end) first = end;
  const size_t added = replacement.size();
  const size_t removed = end - first;
  pieces.erase(pieces.begin() + first, pieces.begin() + end);
  pieces.insert(pieces.begin() + first, std::make_move_iterator(replacement.begin()),
                std::make_move_iterator(replacement.end()));
  const auto move = [&](size_t position) {
    if (position <= first) return position;
    if (position >= end) return position - removed + added;
    return first;
  };
  for (ElementRange& element : document.elements) {
    if (element.first <= first && element.end >= end) {
      element.end = element.end - removed + added;  // encloses the replaced pieces
    } else if (element.first >= first && element.end <= end) {
      element.first = element.end = first;  // replaced with them
    } else {
      element.first = move(element.first);
      element.end = move(element.end);
      if (element.end < element.first) element.end = element.first;
    }
  }
}

std::vector<Piece> TextPieces(const std::wstring& text) {
  std::vector<Piece> pieces;
  if (text.empty()) return pieces;
  Piece piece;
  piece.text = text;
  pieces.push_back(piece);
  return pieces;
}

const ElementRange* FindElement(const HtmlDocument& document, const std::wstring& id) {
  for (const ElementRange& element : document.elements) {
    if (element.id == id) return &element;
  }
  return nullptr;
}
