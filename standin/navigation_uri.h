#pragma once

// What the view makes of a URI it is asked to navigate to.

#include <string>

enum class UriKind {
  kMalformed,   // not an absolute URI: Navigate answers E_INVALIDARG
  kWeb,         // http:// or https:// with a host: the engine loads it
  kAboutBlank,  // about:blank: the engine shows an empty page
  kOther,       // another scheme: the navigation fails, as the stand-in cannot show it
};

UriKind KindOfUri(const std::wstring& uri);

// The page's default icon, scheme://host[:port]/favicon.ico; empty for a URI that is no web URI.
std::wstring FaviconUriOf(const std::wstring& uri);
