#include "engine/html_reader.h"

#include <cwctype>
#include <vector>

#include "engine/uri.h"

namespace {

// How deep an end tag looks for its element: stray end tags in broken pages stay cheap.
constexpr size_t kEndTagReach = 256;

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f'; }
bool IsAsciiAlpha(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }

bool OneOf(const std::wstring& name, std::initializer_list<const wchar_t*> names) {
  for (const wchar_t* candidate : names) {
    if (name == candidate) return true;
  }
  return false;
}

bool IsVoid(const std::wstring& name) {
  return OneOf(name, {L"area", L"base", L"br", L"col", L"embed", L"hr", L"img", L"input", L"link", L"meta", L"param",
                      L"source", L"track", L"wbr", L"keygen", L"basefont", L"frame"});
}

bool IsBlock(const std::wstring& name) {
  return OneOf(name,
               {L"address", L"article",  L"aside",  L"blockquote", L"body",   L"caption", L"center",   L"dd",
                L"details", L"dialog",   L"dir",    L"div",        L"dl",     L"dt",      L"fieldset", L"figcaption",
                L"figure",  L"footer",   L"form",   L"h1",         L"h2",     L"h3",      L"h4",       L"h5",
                L"h6",      L"header",   L"hgroup", L"html",       L"legend", L"li",      L"listing",  L"main",
                L"menu",    L"nav",      L"ol",     L"p",          L"pre",    L"section", L"summary",  L"table",
                L"tbody",   L"textarea", L"tfoot",  L"thead",      L"tr",     L"ul"});
}

// Blocks that browsers set off with margins; the others (div, li, tr) only start a new line.
bool IsSpaced(const std::wstring& name) {
  return OneOf(name,
               {L"p",  L"h1",         L"h2",    L"h3",   L"h4",       L"h5",     L"h6",      L"pre", L"ul",   L"ol",
                L"dl", L"blockquote", L"table", L"form", L"fieldset", L"figure", L"listing", L"xmp", L"menu", L"dir"});
}

// Elements whose content is no markup: it runs to their end tag.
bool IsRawText(const std::wstring& name) {
  return OneOf(name, {L"script", L"style", L"title", L"textarea", L"xmp", L"noscript", L"template", L"iframe",
                      L"noembed", L"noframes"});
}

bool IsRunnableScriptType(const std::wstring& type) {
  std::wstring lower;
  for (wchar_t c : type) {
    if (!IsSpace(c)) lower.push_back(AsciiLower(c));
  }
  return OneOf(lower, {L"", L"text/javascript", L"application/javascript", L"text/ecmascript",
                       L"application/ecmascript", L"text/jscript", L"application/x-javascript", L"text/x-javascript"});
}

struct Entity {
  const wchar_t* name;
  wchar_t character;
};
const Entity kEntities[] = {
    {L"amp", L'&'},      {L"lt", L'<'},       {L"gt", L'>'},      {L"quot", L'"'},     {L"apos", L'\''},
    {L"nbsp", 0x00A0},   {L"copy", 0x00A9},   {L"reg", 0x00AE},   {L"trade", 0x2122},  {L"hellip", 0x2026},
    {L"mdash", 0x2014},  {L"ndash", 0x2013},  {L"lsquo", 0x2018}, {L"rsquo", 0x2019},  {L"ldquo", 0x201C},
    {L"rdquo", 0x201D},  {L"laquo", 0x00AB},  {L"raquo", 0x00BB}, {L"middot", 0x00B7}, {L"bull", 0x2022},
    {L"times", 0x00D7},  {L"divide", 0x00F7}, {L"yen", 0x00A5},   {L"euro", 0x20AC},   {L"pound", 0x00A3},
    {L"cent", 0x00A2},   {L"sect", 0x00A7},   {L"deg", 0x00B0},   {L"plusmn", 0x00B1}, {L"larr", 0x2190},
    {L"rarr", 0x2192},   {L"uarr", 0x2191},   {L"darr", 0x2193},  {L"ensp", 0x2002},   {L"emsp", 0x2003},
    {L"thinsp", 0x2009}, {L"zwj", 0x200D},    {L"zwnj", 0x200C},  {L"shy", 0x00AD},
};
// Written without ';' by old pages; browsers still read them.
bool IsLegacyEntity(const std::wstring& name) {
  return OneOf(name, {L"amp", L"lt", L"gt", L"quot", L"nbsp", L"copy", L"reg"});
}

void AppendCodePoint(std::wstring& out, unsigned long value) {
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) value = 0xFFFD;
  if (value < 0x10000) {
    out.push_back(static_cast<wchar_t>(value));
  } else {
    value -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 + (value >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + (value & 0x3FF)));
  }
}

// Decodes the reference at text[at] == '&' into out; answers the index after it, or at when no
// reference is there.
size_t DecodeReference(const std::wstring& text, size_t at, std::wstring& out) {
  size_t i = at + 1;
  if (i < text.size() && text[i] == L'#') {
    ++i;
    const bool hex = i < text.size() && (text[i] == L'x' || text[i] == L'X');
    if (hex) ++i;
    const size_t digitsAt = i;
    unsigned long value = 0;
    while (i < text.size() && i - digitsAt < 8) {
      const wchar_t c = text[i];
      int digit;
      if (c >= L'0' && c <= L'9')
        digit = c - L'0';
      else if (hex && c >= L'a' && c <= L'f')
        digit = c - L'a' + 10;
      else if (hex && c >= L'A' && c <= L'F')
        digit = c - L'A' + 10;
      else
        break;
      value = value * (hex ? 16 : 10) + digit;
      ++i;
    }
    if (i == digitsAt) return at;
    if (i < text.size() && text[i] == L';') ++i;
    AppendCodePoint(out, value);
    return i;
  }
  const size_t nameAt = i;
  while (i < text.size() && i - nameAt < 10 && (IsAsciiAlpha(text[i]) || (text[i] >= L'0' && text[i] <= L'9'))) ++i;
  const std::wstring name = text.substr(nameAt, i - nameAt);
  const bool terminated = i < text.size() && text[i] == L';';
  if (!terminated && !IsLegacyEntity(name)) return at;
  for (const Entity& entity : kEntities) {
    if (name == entity.name) {
      out.push_back(entity.character);
      return terminated ? i + 1 : i;
    }
  }
  return at;
}

// Character references decoded: named ones the reader knows, &#NNN; and &#xHH;. Unknown or
// malformed references stay as written.
std::wstring DecodeEntities(const std::wstring& text) {
  if (text.find(L'&') == std::wstring::npos) return text;
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const size_t amp = text.find(L'&', i);
    if (amp == std::wstring::npos) {
      out.append(text, i, std::wstring::npos);
      break;
    }
    out.append(text, i, amp - i);
    const size_t after = DecodeReference(text, amp, out);
    if (after == amp) {
      out.push_back(L'&');
      i = amp + 1;
    } else {
      i = after;
    }
  }
  return out;
}

// Runs of white space as one space, none at either end.
std::wstring CollapseWhiteSpace(const std::wstring& text) {
  std::wstring out;
  bool space = false;
  for (wchar_t c : text) {
    if (IsSpace(c)) {
      space = !out.empty();
      continue;
    }
    if (space) out.push_back(L' ');
    space = false;
    out.push_back(c);
  }
  return out;
}

struct Tag {
  std::wstring name;  // lower case
  bool end = false;
  bool selfClosing = false;
  std::vector<std::pair<std::wstring, std::wstring>> attributes;  // names lower case, values decoded

  const std::wstring* Attribute(const wchar_t* wanted) const {
    for (const auto& attribute : attributes) {
      if (attribute.first == wanted) return &attribute.second;
    }
    return nullptr;
  }
};

struct OpenElement {
  std::wstring name;
  bool block = false;
  int headingLevel = 0;  // style inside the element
  bool preformatted = false;
  int elementIndex = -1;  // into HtmlDocument::elements
  std::wstring onclick;   // its own or the nearest enclosing element's
};

class Reader {
 public:
  Reader(const std::wstring& html, const std::wstring& baseUri) : html_(html), baseUri_(baseUri) {}

  HtmlDocument Read() {
    size_t i = 0;
    while (i < html_.size()) {
      const size_t open = html_.find(L'<', i);
      const size_t textEnd = open == std::wstring::npos ? html_.size() : open;
      if (textEnd > i) AppendText(DecodeEntities(html_.substr(i, textEnd - i)));
      if (open == std::wstring::npos) break;
      i = Markup(open);
    }
    while (!stack_.empty()) Pop();
    return std::move(document_);
  }

 private:
  // Reads the markup at html_[at] == '<'; answers where reading goes on.
  size_t Markup(size_t at) {
    const size_t next = at + 1;
    if (html_.compare(next, 3, L"!--") == 0) {
      const size_t close = html_.find(L"-->", at + 4);
      return close == std::wstring::npos ? html_.size() : close + 3;
    }
    if (next < html_.size() && (html_[next] == L'!' || html_[next] == L'?')) {
      const size_t close = html_.find(L'>', next);
      return close == std::wstring::npos ? html_.size() : close + 1;
    }
    const bool end = next < html_.size() && html_[next] == L'/';
    const size_t nameAt = end ? next + 1 : next;
    if (nameAt >= html_.size() || !IsAsciiAlpha(html_[nameAt])) {
      AppendText(L"<");
      return next;
    }
    Tag tag;
    tag.end = end;
    const size_t after = ParseTag(nameAt, tag);
    if (tag.end) {
      EndTag(tag.name);
      return after;
    }
    if (IsRawText(tag.name) && !tag.selfClosing) return RawText(tag, after);
    StartTag(tag);
    return after;
  }

  // Name and attributes from html_[at]; answers the index after '>' (the end of input when the
  // tag never closes).
  size_t ParseTag(size_t at, Tag& tag) {
    size_t i = at;
    while (i < html_.size() && !IsSpace(html_[i]) && html_[i] != L'>' && html_[i] != L'/') {
      tag.name.push_back(AsciiLower(html_[i++]));
    }
    while (i < html_.size()) {
      while (i < html_.size() && (IsSpace(html_[i]) || html_[i] == L'/')) {
        if (html_[i] == L'/' && i + 1 < html_.size() && html_[i + 1] == L'>') tag.selfClosing = true;
        ++i;
      }
      if (i >= html_.size()) break;
      if (html_[i] == L'>') return i + 1;
      std::wstring name;
      while (i < html_.size() && !IsSpace(html_[i]) && html_[i] != L'>' && html_[i] != L'=' &&
             (html_[i] != L'/' || name.empty())) {
        name.push_back(AsciiLower(html_[i++]));
      }
      size_t j = i;
      while (j < html_.size() && IsSpace(html_[j])) ++j;
      std::wstring value;
      if (j < html_.size() && html_[j] == L'=') {
        ++j;
        while (j < html_.size() && IsSpace(html_[j])) ++j;
        if (j < html_.size() && (html_[j] == L'"' || html_[j] == L'\'')) {
          const wchar_t quote = html_[j];
          const size_t close = html_.find(quote, j + 1);
          const size_t valueEnd = close == std::wstring::npos ? html_.size() : close;
          value = html_.substr(j + 1, valueEnd - j - 1);
          j = close == std::wstring::npos ? html_.size() : close + 1;
        } else {
          const size_t valueAt = j;
          while (j < html_.size() && !IsSpace(html_[j]) && html_[j] != L'>') ++j;
          value = html_.substr(valueAt, j - valueAt);
        }
        i = j;
      }
      if (!name.empty()) tag.attributes.emplace_back(name, DecodeEntities(value));
    }
    return html_.size();
  }

  // The content of a raw-text element up to its end tag; answers the index after that tag.
  size_t RawText(const Tag& tag, size_t contentAt) {
    size_t close = contentAt;
    while ((close = html_.find(L"</", close)) != std::wstring::npos) {
      size_t k = 0;
      while (k < tag.name.size() && close + 2 + k < html_.size() && AsciiLower(html_[close + 2 + k]) == tag.name[k])
        ++k;
      const size_t afterName = close + 2 + k;
      if (k == tag.name.size() && (afterName >= html_.size() || !IsAsciiAlpha(html_[afterName]))) break;
      close += 2;
    }
    const size_t contentEnd = close == std::wstring::npos ? html_.size() : close;
    const std::wstring content = html_.substr(contentAt, contentEnd - contentAt);
    if (tag.name == L"title") {
      if (!titleSeen_ && svgDepth_ == 0) {
        document_.title = CollapseWhiteSpace(DecodeEntities(content));
        titleSeen_ = true;
      }
    } else if (tag.name == L"script") {
      const std::wstring* type = tag.Attribute(L"type");
      const std::wstring* language = tag.Attribute(L"language");
      const bool runnable = IsRunnableScriptType(type ? *type : std::wstring()) &&
                            (!language || language->empty() || AsciiLower((*language)[0]) == L'j');
      if (runnable && !tag.Attribute(L"src")) document_.scripts.push_back(content);
    } else if (tag.name == L"textarea" || tag.name == L"xmp") {
      StartTag(tag);
      AppendText(tag.name == L"xmp" ? content : DecodeEntities(content));
      EndTag(tag.name);
    }
    if (close == std::wstring::npos) return html_.size();
    const size_t gt = html_.find(L'>', close);
    return gt == std::wstring::npos ? html_.size() : gt + 1;
  }

  void StartTag(const Tag& tag) {
    const std::wstring& name = tag.name;
    if (name == L"br") {
      AppendLineBreak();
      return;
    }
    if (name == L"hr") {
      Break(true);
      return;
    }
    if (name == L"base" && !baseSeen_) {
      // The first <base href> is what the page's links resolve against.
      if (const std::wstring* href = tag.Attribute(L"href")) {
        baseUri_ = ResolveUri(baseUri_, *href);
        baseSeen_ = true;
      }
    }
    if (name == L"td" || name == L"th") AppendText(L" ");
    const bool block = IsBlock(name);
    CloseImplied(name, block);
    if (name == L"input") AppendInputButton(tag);
    if (IsVoid(name) || tag.selfClosing) return;

    OpenElement element;
    element.name = name;
    element.block = block;
    if (!stack_.empty()) {
      element.headingLevel = stack_.back().headingLevel;
      element.preformatted = stack_.back().preformatted;
      element.onclick = stack_.back().onclick;
    }
    if (const std::wstring* onclick = tag.Attribute(L"onclick")) element.onclick = *onclick;
    if (name.size() == 2 && name[0] == L'h' && name[1] >= L'1' && name[1] <= L'6')
      element.headingLevel = name[1] - L'0';
    if (name == L"pre" || name == L"listing" || name == L"textarea" || name == L"xmp") element.preformatted = true;
    if (name == L"svg") ++svgDepth_;
    stack_.push_back(element);
    if (block) Break(IsSpaced(name));
    if (name == L"a") {
      const std::wstring* href = tag.Attribute(L"href");
      href_ = href ? ResolveUri(baseUri_, *href) : std::wstring();
    }
    if (const std::wstring* id = tag.Attribute(L"id")) {
      if (!id->empty()) {
        stack_.back().elementIndex = static_cast<int>(document_.elements.size());
        document_.elements.push_back(ElementRange{*id, document_.pieces.size(), document_.pieces.size()});
        mergeFrom_ = document_.pieces.size();
      }
    }
    if (name == L"li") AppendText(L"\x2022 ");
  }

  // A button made with <input>: its value as text that runs its onclick.
  void AppendInputButton(const Tag& tag) {
    const std::wstring* type = tag.Attribute(L"type");
    const std::wstring* value = tag.Attribute(L"value");
    const std::wstring* onclick = tag.Attribute(L"onclick");
    if (!type || !value || !onclick || (*type != L"button" && *type != L"submit")) return;
    OpenElement button;
    button.onclick = *onclick;
    if (!stack_.empty()) button.headingLevel = stack_.back().headingLevel;
    stack_.push_back(button);
    AppendText(L"[" + *value + L"]");
    stack_.pop_back();
  }

  // What HTML closes without an end tag: a paragraph before a block, a list item before the next.
  void CloseImplied(const std::wstring& name, bool block) {
    size_t i = stack_.size();
    while (i > 0 && !stack_[i - 1].block && stack_.size() - i < kEndTagReach) --i;
    if (i == 0 || !stack_[i - 1].block) return;
    const std::wstring& open = stack_[i - 1].name;
    const bool closes = (block && open == L"p") || (name == L"li" && open == L"li") ||
                        ((name == L"dt" || name == L"dd") && (open == L"dt" || open == L"dd")) ||
                        (name == L"tr" && open == L"tr");
    if (!closes) return;
    while (stack_.size() >= i) Pop();
  }

  void EndTag(const std::wstring& name) {
    if (name == L"br") {
      AppendLineBreak();
      return;
    }
    for (size_t reach = 0; reach < kEndTagReach && reach < stack_.size(); ++reach) {
      if (stack_[stack_.size() - 1 - reach].name != name) continue;
      for (size_t k = 0; k <= reach; ++k) Pop();
      return;
    }
  }

  void Pop() {
    const OpenElement element = stack_.back();
    stack_.pop_back();
    if (element.elementIndex >= 0) {
      document_.elements[element.elementIndex].end = document_.pieces.size();
      mergeFrom_ = document_.pieces.size();
    }
    if (element.name == L"a") href_.clear();
    if (element.name == L"svg") --svgDepth_;
    if (element.block) Break(IsSpaced(element.name));
  }

  // A paragraph break in the style of the innermost open element; breaks in a row merge, and the
  // merged one is spaced when any of them was.
  void Break(bool spaced) {
    Piece piece;
    piece.kind = Piece::Kind::kBreak;
    piece.spaced = spaced;
    if (!stack_.empty()) {
      piece.headingLevel = stack_.back().headingLevel;
      piece.preformatted = stack_.back().preformatted;
    }
    std::vector<Piece>& pieces = document_.pieces;
    TrimTrailingSpace();
    if (!pieces.empty() && pieces.back().kind == Piece::Kind::kBreak && pieces.size() - 1 >= mergeFrom_) {
      piece.spaced = piece.spaced || pieces.back().spaced;
      pieces.back() = piece;
    } else {
      pieces.push_back(piece);
    }
    atLineStart_ = true;
  }

  void AppendLineBreak() {
    TrimTrailingSpace();
    Emit(L"\n");
    atLineStart_ = true;
  }

  // A collapsed space at the end of a line shows nothing: drop it.
  void TrimTrailingSpace() {
    if (lastSpace_ && !document_.pieces.empty() && document_.pieces.back().kind == Piece::Kind::kText) {
      std::wstring& text = document_.pieces.back().text;
      if (!text.empty() && text.back() == L' ') text.pop_back();
    }
    lastSpace_ = false;
  }

  void AppendText(const std::wstring& text) {
    const bool preformatted = !stack_.empty() && stack_.back().preformatted;
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
      if (preformatted) {
        if (c != L'\r') out.push_back(c);
        continue;
      }
      // A run of white space is one space, kept with the text before it (so a link does not start
      // with an underlined space); none at the start of a line.
      if (IsSpace(c)) {
        if (!atLineStart_ && !lastSpace_) {
          out.push_back(L' ');
          lastSpace_ = true;
        }
        continue;
      }
      lastSpace_ = false;
      atLineStart_ = false;
      out.push_back(c);
    }
    if (preformatted && !out.empty()) {
      atLineStart_ = false;
      lastSpace_ = false;
    }
    Emit(out);
  }

  void Emit(const std::wstring& text) {
    if (text.empty()) return;
    std::vector<Piece>& pieces = document_.pieces;
    if (!pieces.empty() && pieces.size() - 1 >= mergeFrom_ && pieces.back().kind == Piece::Kind::kText &&
        pieces.back().href == href_ && pieces.back().onclick == CurrentOnclick()) {
      pieces.back().text += text;
      return;
    }
    Piece piece;
    piece.text = text;
    piece.href = href_;
    piece.onclick = CurrentOnclick();
    pieces.push_back(std::move(piece));
  }

  std::wstring CurrentOnclick() const { return stack_.empty() ? std::wstring() : stack_.back().onclick; }

  const std::wstring& html_;
  std::wstring baseUri_;
  HtmlDocument document_;
  std::vector<OpenElement> stack_;
  std::wstring href_;
  size_t mergeFrom_ = 0;    // pieces before this index belong to a closed element range: keep them
  bool lastSpace_ = false;  // the last text written ends in a collapsed space
  bool atLineStart_ = true;
  bool titleSeen_ = false;
  bool baseSeen_ = false;
  int svgDepth_ = 0;
};

}  // namespace

HtmlDocument ReadHtml(const std::wstring& html, const std::wstring& baseUri) { return Reader(html, baseUri).Read(); }
