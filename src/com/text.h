#pragma once

// Texts, encodings and interface identifiers at the boundary between the program and COM.
// The program keeps 8-bit texts; COM wants UTF-16, 16-byte identifiers and task-allocator strings.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Owned zero-terminated 8-bit texts. The name says the code page: AnsiText holds code page 936
// (the program's own texts), Utf8Text holds UTF-8 (texts exchanged with the browser).
using AnsiText = std::string;
using Utf8Text = std::string;

// An 8-bit text argument borrowed for one call: a literal, a std::string, or null for an absent
// text, which reads as the empty one.
class TextArg {
 public:
  TextArg(std::nullptr_t) {}
  TextArg(const char* text) : text_(text) {}
  TextArg(const std::string& text) : text_(text.c_str()) {}

  const char* c_str() const { return text_ ? text_ : ""; }
  bool absent() const { return text_ == nullptr; }

 private:
  const char* text_ = nullptr;
};

// A length-counted byte array owned by the program.
using ByteBuffer = std::vector<std::uint8_t>;

// UTF-16 units followed by one zero unit. A default-made buffer is absent and holds no units.
class WideBuffer {
 public:
  WideBuffer() = default;
  // Takes units that end in a zero unit.
  explicit WideBuffer(std::vector<WCHAR> units) : units_(std::move(units)) {}

  bool absent() const { return units_.empty(); }
  // Units including the terminating zero unit; 0 when absent.
  std::size_t unitCount() const { return units_.size(); }
  std::size_t byteLength() const { return units_.size() * sizeof(WCHAR); }
  const WCHAR* units() const { return absent() ? nullptr : units_.data(); }

 private:
  std::vector<WCHAR> units_;
};

// A code page that is given or not; a conversion given none uses its own default.
using CodePage = std::optional<UINT>;
inline constexpr UINT kCodePageGbk = 936;
inline constexpr UINT kCodePageUtf8 = CP_UTF8;

// The text and its terminator as UTF-16 (default code page 936). Never absent: a text that cannot
// be converted, and the empty text, give the empty wide text (one zero unit).
WideBuffer TextToWide(TextArg text, CodePage codePage = std::nullopt);

// The first unit of the buffer; null for an absent buffer.
const WCHAR* WideData(const WideBuffer& buffer);

// A zero-terminated UTF-16 string (null allowed) as 8-bit text (default code page 936); a null
// string or a failed conversion gives the empty text.
std::string TextFromWide(const WCHAR* text, CodePage codePage = std::nullopt);

// 8-bit text in the given code page (default UTF-8) re-encoded into code page 936; characters that
// code page lacks become its default character, a failed conversion gives the empty text.
AnsiText TextToGbk(TextArg text, CodePage codePage = std::nullopt);

// The 16 bytes of an identifier text such as "{00000000-0000-0000-C000-000000000046}", in the
// memory layout of an IID. Parsed afresh at every use.
ByteBuffer ParseInterfaceId(TextArg interfaceIdText);

// The 16 bytes of an identifier that COM hands over.
ByteBuffer InterfaceIdBytes(const IID& id);

// Byte-wise equality of two identifiers.
bool InterfaceIdEquals(const ByteBuffer& first, const ByteBuffer& second);

// A CoTaskMemAlloc copy of a zero-terminated UTF-16 string, owned by the caller; null for a null
// string, an oversized one, or a failed allocation.
WCHAR* CoTaskMemDupWide(const WCHAR* text);
