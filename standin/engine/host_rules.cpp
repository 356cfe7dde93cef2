#include "engine/host_rules.h"

#include <cwctype>

#include "engine/uri.h"

namespace {

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::wstring Trim(const std::wstring& text) {
  size_t first = 0, last = text.size();
  while (first < last && IsSpace(text[first])) ++first;
  while (last > first && IsSpace(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::vector<std::wstring> Words(const std::wstring& text) {
  std::vector<std::wstring> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsSpace(text[i])) ++i;
    const size_t start = i;
    while (i < text.size() && !IsSpace(text[i])) ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

// The value of the last occurrence of the switch: quoted (up to the closing quote) or bare (up to
// white space).
std::wstring LastSwitchValue(const std::wstring& arguments, const std::wstring& name) {
  std::wstring value;
  size_t at = 0;
  while ((at = arguments.find(name, at)) != std::wstring::npos) {
    size_t i = at + name.size();
    at = i;
    if (i < arguments.size() && arguments[i] == L'"') {
      const size_t close = arguments.find(L'"', i + 1);
      value = arguments.substr(i + 1, close == std::wstring::npos ? std::wstring::npos : close - i - 1);
    } else {
      size_t end = i;
      while (end < arguments.size() && !IsSpace(arguments[end])) ++end;
      value = arguments.substr(i, end - i);
    }
  }
  return value;
}

// "host", "host:port", "[v6]" or "[v6]:port"; false when the port is not a number in range.
bool SplitTarget(const std::wstring& target, HostRule& rule) {
  std::wstring host = target;
  std::wstring port;
  if (!target.empty() && target[0] == L'[') {
    const size_t close = target.find(L']');
    if (close == std::wstring::npos) return false;
    host = target.substr(0, close + 1);
    if (close + 1 < target.size()) {
      if (target[close + 1] != L':') return false;
      port = target.substr(close + 2);
    }
  } else {
    const size_t colon = target.rfind(L':');
    if (colon != std::wstring::npos) {
      host = target.substr(0, colon);
      port = target.substr(colon + 1);
    }
  }
  if (host.empty()) return false;
  rule.targetHost = host;
  rule.targetPort = 0;
  return port.empty() || ParsePort(port, rule.targetPort);
}

// Glob match with '*' only; iterative, so long names cost no recursion.
bool Matches(const std::wstring& pattern, const std::wstring& text) {
  size_t p = 0, t = 0, star = std::wstring::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == L'*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && pattern[p] == text[t]) {
      ++p;
      ++t;
    } else if (star != std::wstring::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

}  // namespace

std::vector<HostRule> ParseHostResolverRules(const std::wstring& browserArguments) {
  std::vector<HostRule> rules;
  const std::wstring value = LastSwitchValue(browserArguments, L"--host-resolver-rules=");
  size_t start = 0;
  while (start <= value.size()) {
    size_t comma = value.find(L',', start);
    if (comma == std::wstring::npos) comma = value.size();
    const std::vector<std::wstring> words = Words(Trim(value.substr(start, comma - start)));
    start = comma + 1;
    if (words.size() != 3 || Lower(words[0]) != L"map") continue;
    HostRule rule;
    rule.pattern = Lower(words[1]);
    if (!SplitTarget(words[2], rule)) continue;
    rules.push_back(rule);
  }
  return rules;
}

HostTarget MapHost(const std::vector<HostRule>& rules, const std::wstring& host, int port) {
  // As with Chromium, a pattern may name the host alone or the host and port.
  const std::wstring name = Lower(host);
  const std::wstring nameAndPort = name + L":" + std::to_wstring(port);
  for (const HostRule& rule : rules) {
    if (!Matches(rule.pattern, name) && !Matches(rule.pattern, nameAndPort)) continue;
    HostTarget target;
    target.notFound = rule.targetHost == L"~NOTFOUND";
    target.host = rule.targetHost;
    target.port = rule.targetPort ? rule.targetPort : port;
    return target;
  }
  return HostTarget{host, port, false};
}
