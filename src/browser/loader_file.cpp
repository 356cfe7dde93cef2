#include "browser/loader_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "browser/loader_resource.h"
#include "com/unique_handle.h"

namespace {

// Readers may share the file; a writer or a deleter may not while we hold it.
HANDLE OpenForCheck(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

bool HoldsExactly(HANDLE file, ByteView bytes) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || static_cast<ULONGLONG>(size.QuadPart) != bytes.size) return false;
  std::vector<std::uint8_t> chunk(64 * 1024);
  std::size_t offset = 0;
  while (offset < bytes.size) {
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(chunk.size(), bytes.size - offset));
    DWORD read = 0;
    if (!ReadFile(file, chunk.data(), wanted, &read, nullptr) || read != wanted) return false;
    if (std::memcmp(chunk.data(), bytes.data + offset, wanted) != 0) return false;
    offset += wanted;
  }
  return true;
}

bool WriteAll(const std::wstring& path, ByteView bytes) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::size_t offset = 0;
  while (offset < bytes.size) {
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(1 << 20, bytes.size - offset));
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data + offset, wanted, &written, nullptr) || written != wanted) return false;
    offset += written;
  }
  return FlushFileBuffers(file.get()) != FALSE;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash + 1);
}

// Writes the bytes under a new unique name beside path and moves them over it in one step.
bool Replace(const std::wstring& path, ByteView bytes) {
  WCHAR fresh[MAX_PATH + 1] = L"";
  if (GetTempFileNameW(FolderOf(path).c_str(), L"wvl", 0, fresh) == 0) return false;
  if (WriteAll(fresh, bytes) && MoveFileExW(fresh, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(fresh);  // our own scratch file, never the final name
  return false;
}

}  // namespace

ByteView LoaderBytes() {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(LOADER_BYTES_RESOURCE), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (resource == nullptr) return {};
  const HGLOBAL loaded = LoadResource(module, resource);
  if (loaded == nullptr) return {};
  return {static_cast<const std::uint8_t*>(LockResource(loaded)), SizeofResource(module, resource)};
}

std::wstring LoaderFolder() {
  WCHAR folder[MAX_PATH + 1] = L"";
  const DWORD length = GetTempPathW(ARRAYSIZE(folder), folder);
  if (length == 0 || length >= ARRAYSIZE(folder)) return std::wstring();
  std::wstring result(folder, length);
  if (result.back() != L'\\') result += L'\\';
  return result;
}

HANDLE OpenMatchingFile(const std::wstring& path, ByteView bytes) {
  {
    UniqueFile found(OpenForCheck(path));
    if (found && HoldsExactly(found.get(), bytes)) return found.release();
  }
  if (!Replace(path, bytes)) return INVALID_HANDLE_VALUE;
  UniqueFile written(OpenForCheck(path));
  if (written && HoldsExactly(written.get(), bytes)) return written.release();
  return INVALID_HANDLE_VALUE;
}

HMODULE DeployAndLoadLoader(ByteView bytes) {
  if (bytes.data == nullptr || bytes.size == 0) return nullptr;
  const std::wstring path = LoaderFolder() + kLoaderFileName;
  const UniqueFile checked(OpenMatchingFile(path, bytes));
  if (!checked) return nullptr;
  // Loaded while our handle keeps writers out, so the module is the file we compared. Its own
  // imports come from the system folders only, never from the user's temporary folder.
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}
