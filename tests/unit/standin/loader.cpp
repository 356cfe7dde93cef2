#include "unit/standin/loader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring NextToThisExe(const wchar_t* file) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + file;
}

template <class Function>
void Find(HMODULE module, const char* name, Function* function) {
  *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  EXPECT_NE(*function, nullptr) << name << " is not exported by plain name";
}

const bool kJournalNamed = [] {
  SetEnvironmentVariableW(L"WEBVIEW2_STANDIN_JOURNAL", JournalPath().c_str());
  return true;
}();

}  // namespace

const std::wstring& JournalPath() {
  static const std::wstring path = [] {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring file = std::wstring(folder) + L"standin_tests_" + std::to_wstring(GetCurrentProcessId()) + L".log";
    DeleteFileW(file.c_str());
    return file;
  }();
  return path;
}

std::vector<std::string> JournalLines() {
  std::vector<std::string> lines;
  HANDLE file = CreateFileW(JournalPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lines;
  std::string text;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

const Loader& TheLoader() {
  (void)kJournalNamed;
  static const Loader loader = [] {
    Loader loaded;
    loaded.module = LoadLibraryW(NextToThisExe(L"WebView2Loader.dll").c_str());
    EXPECT_NE(loaded.module, nullptr) << "WebView2Loader.dll next to the test: error " << GetLastError();
    if (!loaded.module) return loaded;
    Find(loaded.module, "CreateCoreWebView2EnvironmentWithOptions", &loaded.createWithOptions);
    Find(loaded.module, "CreateCoreWebView2Environment", &loaded.create);
    Find(loaded.module, "GetAvailableCoreWebView2BrowserVersionString", &loaded.versionString);
    Find(loaded.module, "GetAvailableCoreWebView2BrowserVersionStringWithOptions", &loaded.versionStringWithOptions);
    Find(loaded.module, "CompareBrowserVersions", &loaded.compare);
    return loaded;
  }();
  return loader;
}
