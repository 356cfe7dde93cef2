#include "engine/charset.h"

#include <algorithm>
#include <cctype>

namespace {

// How far into the page a meta tag counts, as browsers look only near the top.
constexpr size_t kMetaWindow = 4096;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trim(const std::string& text, const char* blanks = " \t\r\n\"'") {
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The value after "charset=" in text (lower case), up to a delimiter.
std::string CharsetParameter(const std::string& lowerText) {
  const size_t at = lowerText.find("charset");
  if (at == std::string::npos) return std::string();
  size_t i = at + 7;
  while (i < lowerText.size() && (lowerText[i] == ' ' || lowerText[i] == '\t')) ++i;
  if (i >= lowerText.size() || lowerText[i] != '=') return std::string();
  ++i;
  while (i < lowerText.size() && (lowerText[i] == ' ' || lowerText[i] == '"' || lowerText[i] == '\'')) ++i;
  const size_t end = lowerText.find_first_of(" \t;\"'>/", i);
  return lowerText.substr(i, end == std::string::npos ? std::string::npos : end - i);
}

std::wstring Decode(const char* bytes, size_t length, UINT codePage) {
  if (length == 0) return std::wstring();
  const int count = static_cast<int>(std::min<size_t>(length, 0x7fffffff));
  const int units = MultiByteToWideChar(codePage, 0, bytes, count, nullptr, 0);
  if (units <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(codePage, 0, bytes, count, &text[0], units);
  return text;
}

std::wstring DecodeUtf16(const std::string& page, size_t start, bool bigEndian) {
  std::wstring text;
  text.reserve((page.size() - start) / 2);
  for (size_t i = start; i + 1 < page.size(); i += 2) {
    const unsigned char first = static_cast<unsigned char>(page[i]);
    const unsigned char second = static_cast<unsigned char>(page[i + 1]);
    text.push_back(static_cast<wchar_t>(bigEndian ? (first << 8 | second) : (second << 8 | first)));
  }
  return text;
}

}  // namespace

UINT CodePageForCharset(const std::string& label) {
  struct Known {
    const char* label;
    UINT codePage;
  };
  static const Known kKnown[] = {
      {"utf-8", CP_UTF8},     {"utf8", CP_UTF8},       {"unicode-1-1-utf-8", CP_UTF8},
      {"gbk", 936},           {"gb2312", 936},         {"gb18030", 936},
      {"x-gbk", 936},         {"cp936", 936},          {"windows-936", 936},
      {"chinese", 936},       {"csgb2312", 936},       {"iso-ir-58", 936},
      {"big5", 950},          {"big5-hkscs", 950},     {"shift_jis", 932},
      {"shift-jis", 932},     {"sjis", 932},           {"euc-jp", 20932},
      {"euc-kr", 949},        {"ks_c_5601-1987", 949}, {"iso-8859-1", 1252},
      {"latin1", 1252},       {"us-ascii", 1252},      {"ascii", 1252},
      {"windows-1252", 1252}, {"iso-8859-2", 28592},   {"windows-1251", 1251},
      {"koi8-r", 20866},      {"iso-8859-15", 28605},  {"windows-1250", 1250},
  };
  const std::string wanted = Lower(Trim(label));
  for (const Known& known : kKnown) {
    if (wanted == known.label) return known.codePage;
  }
  return 0;
}

std::string CharsetFromContentType(const std::wstring& contentType) {
  std::string narrow;
  for (wchar_t c : contentType) narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return Trim(CharsetParameter(Lower(narrow)));
}

std::string CharsetFromMeta(const std::string& page) {
  const std::string top = Lower(page.substr(0, kMetaWindow));
  size_t at = 0;
  while ((at = top.find("<meta", at)) != std::string::npos) {
    const size_t end = top.find('>', at);
    const std::string tag = top.substr(at, end == std::string::npos ? std::string::npos : end - at);
    at += 5;
    // <meta charset="..."> and the content of <meta http-equiv="Content-Type" content="...">
    // both read as "charset=" followed by the label.
    const std::string label = CharsetParameter(tag);
    if (!label.empty()) return label;
  }
  return std::string();
}

std::wstring DecodePage(const std::string& page, const std::wstring& contentType) {
  if (page.size() >= 3 && page.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    return Decode(page.data() + 3, page.size() - 3, CP_UTF8);
  }
  if (page.size() >= 2 && page.compare(0, 2, "\xFF\xFE") == 0) return DecodeUtf16(page, 2, false);
  if (page.size() >= 2 && page.compare(0, 2, "\xFE\xFF") == 0) return DecodeUtf16(page, 2, true);
  UINT codePage = CodePageForCharset(CharsetFromContentType(contentType));
  if (codePage == 0) codePage = CodePageForCharset(CharsetFromMeta(page));
  if (codePage == 0) codePage = CP_UTF8;
  std::wstring text = Decode(page.data(), page.size(), codePage);
  // A code page this system lacks decodes nothing; UTF-8 still shows the ASCII parts.
  if (text.empty() && !page.empty() && codePage != CP_UTF8) text = Decode(page.data(), page.size(), CP_UTF8);
  return text;
}
