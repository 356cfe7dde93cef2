#include "com_ref.h"

#include <objbase.h>

#include <cstring>

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool IidFromText(const char* text, IID* id) {
  // {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}: the hex digits in order, hyphens where they belong.
  if (!text || std::strlen(text) != 38 || text[0] != '{' || text[37] != '}') return false;
  unsigned char bytes[16];
  int count = 0;
  for (int i = 1; i < 37; ++i) {
    if (i == 9 || i == 14 || i == 19 || i == 24) {
      if (text[i] != '-') return false;
      continue;
    }
    const int high = HexDigit(text[i]);
    const int low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes[count++] = static_cast<unsigned char>(high * 16 + low);
    ++i;
  }
  id->Data1 = static_cast<unsigned long>(bytes[0]) << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
  id->Data2 = static_cast<unsigned short>(bytes[4] << 8 | bytes[5]);
  id->Data3 = static_cast<unsigned short>(bytes[6] << 8 | bytes[7]);
  std::memcpy(id->Data4, bytes + 8, 8);
  return true;
}

bool IidIs(REFIID id, const char* text) {
  IID named;
  return IidFromText(text, &named) && IsEqualIID(id, named);
}

HRESULT HandOutText(const std::wstring& text, LPWSTR* out) {
  if (!out) return E_POINTER;
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  *out = copy;
  if (!copy) return E_OUTOFMEMORY;
  std::memcpy(copy, text.c_str(), bytes);
  return S_OK;
}

std::wstring TakeText(LPWSTR text) {
  if (!text) return {};
  std::wstring taken(text);
  CoTaskMemFree(text);
  return taken;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string converted(length > 0 ? length : 0, '\0');
  if (length > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &converted[0], length, nullptr,
                        nullptr);
  return converted;
}
