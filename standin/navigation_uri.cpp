#include "navigation_uri.h"

#include <cwctype>

namespace {

std::wstring Lower(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

// The scheme in lower case, or empty when the text does not begin with one.
std::wstring SchemeOf(const std::wstring& uri) {
  const size_t colon = uri.find(L':');
  if (colon == std::wstring::npos || colon == 0) return {};
  if (!std::iswalpha(uri[0])) return {};
  for (size_t i = 1; i < colon; ++i) {
    const wchar_t c = uri[i];
    if (!std::iswalnum(c) && c != L'+' && c != L'-' && c != L'.') return {};
  }
  return Lower(uri.substr(0, colon));
}

// scheme://authority: the authority; empty when there is none.
std::wstring AuthorityOf(const std::wstring& uri, const std::wstring& scheme) {
  const size_t start = scheme.size() + 3;
  if (uri.compare(scheme.size(), 3, L"://") != 0) return {};
  const size_t end = uri.find_first_of(L"/?#", start);
  return uri.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

}  // namespace

UriKind KindOfUri(const std::wstring& uri) {
  for (wchar_t c : uri) {
    if (c <= L' ') return UriKind::kMalformed;
  }
  const std::wstring scheme = SchemeOf(uri);
  if (scheme.empty()) return UriKind::kMalformed;
  if (scheme == L"http" || scheme == L"https") {
    const std::wstring authority = AuthorityOf(uri, scheme);
    const size_t at = authority.rfind(L'@');
    const std::wstring hostAndPort = at == std::wstring::npos ? authority : authority.substr(at + 1);
    if (hostAndPort.empty() || hostAndPort[0] == L':') return UriKind::kMalformed;
    return UriKind::kWeb;
  }
  if (scheme == L"about") return Lower(uri) == L"about:blank" ? UriKind::kAboutBlank : UriKind::kOther;
  return UriKind::kOther;
}

std::wstring FaviconUriOf(const std::wstring& uri) {
  if (KindOfUri(uri) != UriKind::kWeb) return {};
  const std::wstring scheme = SchemeOf(uri);
  return scheme + L"://" + AuthorityOf(uri, scheme) + L"/favicon.ico";
}
