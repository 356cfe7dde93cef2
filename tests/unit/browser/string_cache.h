#pragma once

#include <windows.h>

// Wine's oleaut32 keeps freed BSTRs for reuse: to a leak check they would look like live blocks.
inline void DisableStringCache() {
  using SetOaNoCache = void(WINAPI*)();
  const HMODULE oleaut = LoadLibraryW(L"oleaut32.dll");
  if (auto set = reinterpret_cast<SetOaNoCache>(reinterpret_cast<void*>(GetProcAddress(oleaut, "SetOaNoCache")))) {
    set();
  }
}
