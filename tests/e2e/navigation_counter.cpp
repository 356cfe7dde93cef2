#include "e2e/navigation_counter.h"

#include <windows.h>

int NavigationCounter::Count() {
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const HANDLE file = CreateFileW(journal_.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return count_;
  LARGE_INTEGER at{};
  at.QuadPart = offset_;
  SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
  char buffer[8192];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) pending_.append(buffer, read);
  CloseHandle(file);
  std::size_t end;
  while ((end = pending_.find('\n')) != std::string::npos) {
    // "<microseconds> <thread> navigation <id> completes: success 1, ..."
    const std::string line = pending_.substr(0, end);
    count_ += line.find(" navigation ") != std::string::npos && line.find(" completes: success 1") != std::string::npos;
    offset_ += static_cast<long long>(end + 1);
    pending_.erase(0, end + 1);
  }
  return count_;
}
