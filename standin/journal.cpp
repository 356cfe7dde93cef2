#include "journal.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

HANDLE OpenJournal() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"WEBVIEW2_STANDIN_JOURNAL", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return INVALID_HANDLE_VALUE;
  return CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

long long Microseconds() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart / frequency.QuadPart * 1000000 + now.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart;
}

}  // namespace

void JournalLine(const std::string& text) {
  static const HANDLE journal = OpenJournal();
  if (journal == INVALID_HANDLE_VALUE) return;
  char stamp[48];
  const int stampLength = std::snprintf(stamp, sizeof stamp, "%lld %lu ", Microseconds(), GetCurrentThreadId());
  std::string line(stamp, stampLength);
  line += text;
  line += '\n';
  DWORD written = 0;
  WriteFile(journal, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void Journalf(const char* format, ...) {
  static const bool enabled = GetEnvironmentVariableW(L"WEBVIEW2_STANDIN_JOURNAL", nullptr, 0) > 0;
  if (!enabled) return;
  va_list arguments;
  va_start(arguments, format);
  va_list copy;
  va_copy(copy, arguments);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::vector<char> text(length > 0 ? length + 1 : 1);
  std::vsnprintf(text.data(), text.size(), format, arguments);
  va_end(arguments);
  JournalLine(text.data());
}
