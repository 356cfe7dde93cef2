#include "e2e/process_counts.h"

#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <vector>

namespace {

class ProcessHandle {
 public:
  explicit ProcessHandle(DWORD id)
      : handle_(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id)) {}
  ~ProcessHandle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

using QuerySystem = NTSTATUS(NTAPI*)(ULONG, void*, ULONG, ULONG*);
using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);

template <typename Function>
Function NtFunction(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

// The system's handle list, as Windows and Wine both answer it (class 64, the extended form).
struct HandleEntry {
  void* object;
  ULONG_PTR processId;
  ULONG_PTR handleValue;
  ULONG grantedAccess;
  USHORT creatorBackTraceIndex;
  USHORT objectTypeIndex;
  ULONG attributes;
  ULONG reserved;
};

long CountHandlesInSystemList(DWORD processId) {
  const auto query = NtFunction<QuerySystem>("NtQuerySystemInformation");
  if (query == nullptr) return -1;
  std::vector<std::uint8_t> buffer(1 << 20);
  for (int attempt = 0; attempt < 6; ++attempt) {
    ULONG needed = 0;
    const NTSTATUS status = query(64, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == static_cast<NTSTATUS>(0xC0000004L)) {  // STATUS_INFO_LENGTH_MISMATCH
      buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
      continue;
    }
    if (status != 0) return -1;
    const auto count = *reinterpret_cast<const ULONG_PTR*>(buffer.data());
    const auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + 2 * sizeof(ULONG_PTR));
    long mine = 0;
    for (ULONG_PTR i = 0; i < count; ++i) mine += entries[i].processId == processId;
    return mine;
  }
  return -1;
}

// Wine keeps each process's GDI objects in a table that its PEB names, in the layout Windows once
// published: 64k entries of 24 bytes; a live entry has a nonzero type.
struct GdiEntry {
  std::uint64_t object;
  ULONG owner;
  USHORT unique;
  UCHAR type;
  UCHAR flags;
  std::uint64_t userPointer;
};
constexpr std::size_t kGdiEntries = 0x10000;
constexpr std::size_t kPebGdiTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;

long CountGdiTable(HANDLE process) {
  const auto query = NtFunction<QueryProcess>("NtQueryInformationProcess");
  PROCESS_BASIC_INFORMATION basic{};
  if (query == nullptr || query(process, 0, &basic, sizeof(basic), nullptr) != 0) return -1;
  void* table = nullptr;
  SIZE_T read = 0;
  const auto* peb = static_cast<const std::uint8_t*>(static_cast<void*>(basic.PebBaseAddress));
  if (!ReadProcessMemory(process, peb + kPebGdiTableOffset, &table, sizeof(table), &read) || table == nullptr) {
    return -1;
  }
  std::vector<GdiEntry> entries(kGdiEntries);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiEntry), &read)) return -1;
  long live = 0;
  for (const GdiEntry& entry : entries) live += entry.type != 0;
  return live;
}

struct WindowCount {
  DWORD processId;
  long count;
};

BOOL CALLBACK CountChild(HWND window, LPARAM context) {
  auto& counting = *reinterpret_cast<WindowCount*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  counting.count += owner == counting.processId;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM context) {
  CountChild(window, context);
  EnumChildWindows(window, CountChild, context);
  return TRUE;
}

// The process's windows: top-level ones with their children, and message-only ones.
long CountWindows(DWORD processId) {
  WindowCount counting{processId, 0};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&counting));
  for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
       window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
    CountTopLevel(window, reinterpret_cast<LPARAM>(&counting));
  }
  return counting.count;
}

}  // namespace

ProcessCounts ReadProcessCounts(DWORD processId) {
  ProcessCounts counts;
  const ProcessHandle process(processId);
  if (process.get() == nullptr) return counts;

  DWORD handles = 0;
  if (GetProcessHandleCount(process.get(), &handles) && handles != 0) {
    counts.handles = static_cast<long>(handles);
    counts.source += "handles:api";
  } else {
    counts.handles = CountHandlesInSystemList(processId);
    counts.source += "handles:system-list";
  }

  const DWORD gdi = GetGuiResources(process.get(), GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(process.get(), GR_USEROBJECTS);
  if (gdi != 0) {
    counts.gdi = static_cast<long>(gdi);
    counts.user = static_cast<long>(user);
    counts.source += " gdi,user:api";
  } else {
    counts.gdi = CountGdiTable(process.get());
    counts.user = CountWindows(processId);
    counts.source += " gdi:table user:windows";
  }

  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  if (GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory))) {
    // Wine leaves PrivateUsage zero; PagefileUsage is the same figure on Windows.
    counts.privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
  }
  return counts;
}

namespace {

// The system's process list: Wine answers other processes' CPU times there, per thread, where
// GetProcessTimes gives it none.
std::uint64_t CpuTimeInSystemList(DWORD processId) {
  const auto query = NtFunction<QuerySystem>("NtQuerySystemInformation");
  if (query == nullptr) return 0;
  std::vector<std::uint8_t> buffer(1 << 20);
  ULONG needed = 0;
  NTSTATUS status;
  while ((status = query(5, buffer.data(), static_cast<ULONG>(buffer.size()), &needed)) ==
             static_cast<NTSTATUS>(0xC0000004L) &&
         buffer.size() < (64u << 20)) {
    buffer.resize(buffer.size() * 2);
  }
  if (status != 0) return 0;
  for (std::size_t at = 0;;) {
    const auto* process = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + at);
    if (reinterpret_cast<ULONG_PTR>(process->UniqueProcessId) == processId) {
      std::uint64_t total = process->UserTime.QuadPart + process->KernelTime.QuadPart;
      if (total != 0) return total;
      const auto* threads = reinterpret_cast<const SYSTEM_THREAD_INFORMATION*>(process + 1);
      // The first two times of a thread's record are its kernel and user time.
      for (ULONG i = 0; i < process->NumberOfThreads; ++i) {
        total += threads[i].Reserved1[0].QuadPart + threads[i].Reserved1[1].QuadPart;
      }
      return total;
    }
    if (process->NextEntryOffset == 0) return 0;
    at += process->NextEntryOffset;
  }
}

}  // namespace

std::uint64_t ProcessCpuTime(DWORD processId) {
  const ProcessHandle process(processId);
  FILETIME created{}, exited{}, kernel{}, user{};
  if (process.get() != nullptr && GetProcessTimes(process.get(), &created, &exited, &kernel, &user)) {
    auto value = [](const FILETIME& time) {
      return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
    };
    if (const std::uint64_t total = value(kernel) + value(user)) return total;
  }
  return CpuTimeInSystemList(processId);
}

bool Answers(HWND window, UINT milliseconds) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, milliseconds, &result) != 0;
}
