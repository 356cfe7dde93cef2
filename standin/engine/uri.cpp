#include "engine/uri.h"

#include <cwctype>
#include <vector>

namespace {

bool HasScheme(const std::wstring& text) {
  if (text.empty() || !std::iswalpha(text[0])) return false;
  for (size_t i = 1; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L':') return true;
    if (!std::iswalnum(c) && c != L'+' && c != L'-' && c != L'.') return false;
  }
  return false;
}

// "scheme://authority" of base, or empty when base has no authority.
std::wstring Origin(const std::wstring& base) {
  const size_t slashes = base.find(L"://");
  if (slashes == std::wstring::npos) return std::wstring();
  const size_t end = base.find_first_of(L"/?#", slashes + 3);
  return base.substr(0, end);
}

std::wstring WithoutFragment(const std::wstring& uri) { return uri.substr(0, uri.find(L'#')); }

// Collapses "." and ".." segments of an absolute path (query and fragment untouched).
std::wstring RemoveDotSegments(const std::wstring& pathAndMore) {
  const size_t tailAt = pathAndMore.find_first_of(L"?#");
  const std::wstring path = pathAndMore.substr(0, tailAt);
  const std::wstring tail = tailAt == std::wstring::npos ? std::wstring() : pathAndMore.substr(tailAt);
  std::vector<std::wstring> segments;
  size_t start = 1;
  bool endsWithSlash = false;
  while (start <= path.size()) {
    size_t slash = path.find(L'/', start);
    if (slash == std::wstring::npos) slash = path.size();
    const std::wstring segment = path.substr(start, slash - start);
    const bool last = slash == path.size();
    if (segment == L"..") {
      if (!segments.empty()) segments.pop_back();
      endsWithSlash = true;
    } else if (segment == L".") {
      endsWithSlash = true;
    } else {
      segments.push_back(segment);
      endsWithSlash = false;
    }
    if (last) break;
    start = slash + 1;
  }
  std::wstring result;
  for (const std::wstring& segment : segments) result += L"/" + segment;
  if (endsWithSlash || result.empty()) result += L"/";
  return result + tail;
}

}  // namespace

bool ParsePort(const std::wstring& text, int& port) {
  if (text.empty() || text.size() > 5) return false;
  int value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    value = value * 10 + (c - L'0');
  }
  if (value < 1 || value > 65535) return false;
  port = value;
  return true;
}

bool SplitHttpUri(const std::wstring& uri, HttpUri& parts) {
  size_t rest;
  if (uri.compare(0, 7, L"http://") == 0 || uri.compare(0, 7, L"HTTP://") == 0) {
    parts.secure = false;
    rest = 7;
  } else if (uri.compare(0, 8, L"https://") == 0 || uri.compare(0, 8, L"HTTPS://") == 0) {
    parts.secure = true;
    rest = 8;
  } else {
    return false;
  }
  size_t end = uri.find_first_of(L"/?#", rest);
  if (end == std::wstring::npos) end = uri.size();
  std::wstring authority = uri.substr(rest, end - rest);
  const size_t at = authority.rfind(L'@');
  if (at != std::wstring::npos) authority = authority.substr(at + 1);
  std::wstring port;
  if (!authority.empty() && authority[0] == L'[') {
    const size_t close = authority.find(L']');
    if (close == std::wstring::npos) return false;
    parts.host = authority.substr(1, close - 1);
    if (close + 1 < authority.size() && authority[close + 1] == L':') port = authority.substr(close + 2);
  } else {
    const size_t colon = authority.find(L':');
    parts.host = authority.substr(0, colon);
    if (colon != std::wstring::npos) port = authority.substr(colon + 1);
  }
  if (parts.host.empty()) return false;
  parts.port = parts.secure ? 443 : 80;
  if (!port.empty() && !ParsePort(port, parts.port)) return false;
  std::wstring path = WithoutFragment(uri.substr(end));
  if (path.empty() || path[0] != L'/') path = L"/" + path;
  parts.pathAndQuery = path;
  return true;
}

std::wstring ResolveUri(const std::wstring& base, const std::wstring& reference) {
  size_t first = 0, last = reference.size();
  while (first < last && std::iswspace(reference[first])) ++first;
  while (last > first && std::iswspace(reference[last - 1])) --last;
  const std::wstring ref = reference.substr(first, last - first);
  if (HasScheme(ref)) return ref;
  if (ref.empty()) return WithoutFragment(base);
  if (ref[0] == L'#') return WithoutFragment(base) + ref;
  const std::wstring origin = Origin(base);
  if (origin.empty()) return ref;
  if (ref.compare(0, 2, L"//") == 0) return base.substr(0, base.find(L':') + 1) + ref;
  if (ref[0] == L'/') return origin + RemoveDotSegments(ref);
  const std::wstring basePath = base.substr(origin.size());
  const size_t pathEnd = basePath.find_first_of(L"?#");
  const std::wstring path = basePath.substr(0, pathEnd);
  if (ref[0] == L'?') return origin + (path.empty() ? L"/" : path) + ref;
  const size_t slash = path.rfind(L'/');
  const std::wstring directory = slash == std::wstring::npos ? L"/" : path.substr(0, slash + 1);
  return origin + RemoveDotSegments(directory + ref);
}
