#pragma once

// A small, forgiving HTML reader: no tree, no layout, one pass over the text. It keeps what the
// painter and the page's script need (see html_document.h) and never fails: broken markup reads
// as text or as the nearest sensible structure.

#include <string>

#include "engine/html_document.h"

// The page read; links are resolved against baseUri.
HtmlDocument ReadHtml(const std::wstring& html, const std::wstring& baseUri);
