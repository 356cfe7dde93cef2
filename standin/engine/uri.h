#pragma once

// Just enough of URI handling for pages: splitting an http(s) URI for a request and resolving a
// link against the page's URI.

#include <string>

struct HttpUri {
  bool secure = false;
  std::wstring host;          // without brackets for an IPv6 literal
  int port = 0;               // the scheme's default when the URI names none
  std::wstring pathAndQuery;  // at least "/", never the fragment
};

// A port number as a URI or a host rule writes it: 1 to 65535 in decimal digits only.
bool ParsePort(const std::wstring& text, int& port);

// False when uri is no absolute http:// or https:// URI with a host.
bool SplitHttpUri(const std::wstring& uri, HttpUri& parts);

// reference resolved against base as browsers resolve hrefs; a reference with a scheme of its own
// (https:, mailto:, javascript:) comes back unchanged.
std::wstring ResolveUri(const std::wstring& base, const std::wstring& reference);
