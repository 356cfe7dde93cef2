#include "browser/external_function.h"

#include <string>

namespace {

UnbindableFunctionEnd unbindableFunctionEnd = nullptr;

HMODULE LoadByBindingRule(const wchar_t* library) {
  const std::wstring besideExecutable = ExecutableFolder() + library;
  if (HMODULE module = LoadLibraryExW(besideExecutable.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS)) {
    return module;
  }
  if (HMODULE module = GetModuleHandleW(library)) return module;
  return LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

[[noreturn]] void EndUnbound(const ExternalFunction& entry) {
  const std::string library = TextFromWide(entry.library);
  if (unbindableFunctionEnd != nullptr) unbindableFunctionEnd(library, entry.function);
  // Only reached without a shell to end through.
  ExitProcess(static_cast<UINT>(-1));
}

}  // namespace

void SetUnbindableFunctionEnd(UnbindableFunctionEnd end) { unbindableFunctionEnd = end; }

std::wstring ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length;
  while ((length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()))) == path.size()) {
    path.resize(path.size() * 2);
  }
  path.resize(length);
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

FARPROC BindExternalFunction(ExternalFunction& entry) {
  if (entry.bound != nullptr) return entry.bound;
  const HMODULE module = LoadByBindingRule(entry.library);
  if (module != nullptr) entry.bound = GetProcAddress(module, entry.function);
  if (entry.bound == nullptr) EndUnbound(entry);
  return entry.bound;
}
