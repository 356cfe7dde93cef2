#pragma once

// A page's bytes as text: the charset from a byte order mark, the Content-Type header or a meta
// tag near the top, else UTF-8; GBK and its relatives decode through code page 936.

#include <windows.h>

#include <string>

// The Windows code page for a charset label (any case, surrounding blanks allowed); 0 when the
// label is unknown.
UINT CodePageForCharset(const std::string& label);

// The charset parameter of a Content-Type value, or empty.
std::string CharsetFromContentType(const std::wstring& contentType);

// The charset a <meta charset> or <meta http-equiv content="...; charset=..."> names in the first
// kilobytes of the page, or empty.
std::string CharsetFromMeta(const std::string& page);

// The page decoded. Invalid sequences become replacement characters, never an error.
std::wstring DecodePage(const std::string& page, const std::wstring& contentType);
