#pragma once

// Sees what the code under test hands a system function: the test's own module calls the
// function through its import table, so swapping that one entry puts a recorder in between
// without touching the code. The recorder calls the original, so the system still does its part.

#include <windows.h>

#include <cstdint>
#include <cstring>

class ImportHook {
 public:
  ImportHook(const char* library, const char* function, const void* replacement) {
    const HMODULE exporter = GetModuleHandleA(library);
    original_ = exporter != nullptr ? reinterpret_cast<void*>(GetProcAddress(exporter, function)) : nullptr;
    if (original_ != nullptr) slot_ = FindSlot(library, original_);
    if (slot_ != nullptr) Write(replacement);
  }
  ~ImportHook() {
    if (slot_ != nullptr) Write(original_);
  }
  ImportHook(const ImportHook&) = delete;
  ImportHook& operator=(const ImportHook&) = delete;

  bool installed() const { return slot_ != nullptr; }
  template <class Function>
  Function original() const {
    return reinterpret_cast<Function>(original_);
  }

 private:
  // The import-table entry of the executable that holds the function's address.
  static void** FindSlot(const char* library, const void* address) {
    auto* base = reinterpret_cast<std::uint8_t*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return nullptr;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name != 0; ++entry) {
      if (lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), library) != 0) continue;
      for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk); thunk->u1.Function != 0;
           ++thunk) {
        if (reinterpret_cast<const void*>(thunk->u1.Function) == address) {
          return reinterpret_cast<void**>(&thunk->u1.Function);
        }
      }
    }
    return nullptr;
  }

  void Write(const void* value) {
    DWORD protection = 0;
    VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &protection);
    std::memcpy(slot_, &value, sizeof(void*));
    VirtualProtect(slot_, sizeof(void*), protection, &protection);
  }

  void* original_ = nullptr;
  void** slot_ = nullptr;
};
