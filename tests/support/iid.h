#pragma once

#include <windows.h>

#include <cstring>

#include "com/text.h"

// The IID that an identifier text names, as a COM caller passes it.
inline IID IidOf(const char* interfaceIdText) {
  IID id;
  const ByteBuffer bytes = ParseInterfaceId(interfaceIdText);
  std::memcpy(&id, bytes.data(), sizeof(id));
  return id;
}
