#pragma once

// A path handed over from the build (a Unix path under Wine) as Windows names it.

#include <windows.h>

#include <string>

inline std::wstring WindowsPath(const char* path) {
  // Wine offers the mapping of its Unix paths; elsewhere the path is already a Windows one.
  using ToDos = WCHAR*(CDECL*)(const char*);
  const auto toDos = reinterpret_cast<ToDos>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (path[0] == '/' && toDos != nullptr) {
    if (WCHAR* converted = toDos(path)) {
      std::wstring result = converted;
      HeapFree(GetProcessHeap(), 0, converted);
      return result;
    }
  }
  std::wstring result;
  for (const char* c = path; *c; ++c) result += static_cast<wchar_t>(*c);
  return result;
}
