#include "knobs.h"

#include <windows.h>

#include <vector>

std::wstring EnvironmentText(const wchar_t* name) {
  const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
  if (length == 0) return {};
  std::vector<wchar_t> value(length);
  const DWORD copied = GetEnvironmentVariableW(name, value.data(), length);
  return copied < length ? std::wstring(value.data(), copied) : std::wstring();
}

FailStep StepToFail() {
  const std::wstring step = EnvironmentText(L"WEBVIEW2_STANDIN_FAIL");
  if (step == L"runtime") return FailStep::kRuntime;
  if (step == L"environment") return FailStep::kEnvironment;
  if (step == L"controller") return FailStep::kController;
  if (step == L"navigation") return FailStep::kNavigation;
  return FailStep::kNone;
}

bool Withheld(const wchar_t* name) {
  const std::wstring list = EnvironmentText(L"WEBVIEW2_STANDIN_WITHHOLD");
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(L',', start);
    if (end == std::wstring::npos) end = list.size();
    std::wstring item = list.substr(start, end - start);
    const size_t first = item.find_first_not_of(L' ');
    const size_t last = item.find_last_not_of(L' ');
    if (first != std::wstring::npos && item.substr(first, last - first + 1) == name) return true;
    start = end + 1;
  }
  return false;
}
