#include "com/text.h"

#include <objbase.h>

#include <cstring>

WideBuffer TextToWide(TextArg text, CodePage codePage) {
  const UINT page = codePage.value_or(kCodePageGbk);
  const char* source = text.c_str();
  const int sourceBytes = lstrlenA(source) + 1;
  const int units = MultiByteToWideChar(page, 0, source, sourceBytes, nullptr, 0);
  if (units > 0) {
    std::vector<WCHAR> wide(units, L'\0');
    if (MultiByteToWideChar(page, 0, source, sourceBytes, wide.data(), units) != 0) {
      return WideBuffer(std::move(wide));
    }
  }
  return WideBuffer(std::vector<WCHAR>{L'\0'});
}

const WCHAR* WideData(const WideBuffer& buffer) { return buffer.units(); }

std::string TextFromWide(const WCHAR* text, CodePage codePage) {
  if (text == nullptr) return std::string();
  const UINT page = codePage.value_or(kCodePageGbk);
  const int bytes = WideCharToMultiByte(page, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::vector<char> converted(bytes, '\0');
  if (WideCharToMultiByte(page, 0, text, -1, converted.data(), bytes, nullptr, nullptr) == 0) {
    return std::string();
  }
  return std::string(converted.data());  // up to the first zero byte
}

AnsiText TextToGbk(TextArg text, CodePage codePage) {
  // A failed conversion to UTF-16 gives the empty wide text, and so the empty text here.
  return TextFromWide(WideData(TextToWide(text, codePage.value_or(kCodePageUtf8))), kCodePageGbk);
}

ByteBuffer ParseInterfaceId(TextArg interfaceIdText) {
  IID id{};
  const WideBuffer wide = TextToWide(interfaceIdText);
  CLSIDFromString(WideData(wide), &id);
  return InterfaceIdBytes(id);
}

ByteBuffer InterfaceIdBytes(const IID& id) {
  ByteBuffer bytes(sizeof(id));
  std::memcpy(bytes.data(), &id, sizeof(id));
  return bytes;
}

bool InterfaceIdEquals(const ByteBuffer& first, const ByteBuffer& second) { return first == second; }

WCHAR* CoTaskMemDupWide(const WCHAR* text) {
  if (text == nullptr) return nullptr;
  const int length = lstrlenW(text);
  // The size as a signed 32-bit number: a product that leaves that range is refused.
  const std::int64_t exact = (static_cast<std::int64_t>(length) + 1) * 2;
  const auto size = static_cast<std::int32_t>(static_cast<std::uint32_t>(exact));
  if (size <= length) return nullptr;
  auto* copy = static_cast<WCHAR*>(CoTaskMemAlloc(static_cast<SIZE_T>(size)));
  if (copy == nullptr) return nullptr;
  RtlMoveMemory(copy, text, static_cast<SIZE_T>(size));
  return copy;
}
