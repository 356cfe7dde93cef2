#pragma once

// The WebView2 loader that the program carries, deployed to the user's temporary folder and
// loaded from there. The program runs elevated while that folder belongs to the user, so only a
// file that holds exactly the carried bytes is loaded, and it is kept open against writes and
// deletion until it is loaded.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

// The loader's file name, in the temporary folder and for the binding of its function.
inline constexpr wchar_t kLoaderFileName[] = L"WebView2Loader.dll";

// Bytes owned elsewhere (a resource, a test's buffer).
struct ByteView {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
};

// The carried loader: the executable's RCDATA resource LOADER_BYTES_RESOURCE; empty when the
// executable carries none.
ByteView LoaderBytes();

// The temporary folder ending in a backslash, or the empty text (the current directory, which is
// the executable's folder) when Windows names none.
std::wstring LoaderFolder();

// Opens the file at path without sharing for write or delete once it holds exactly bytes: as it
// was found, or after the bytes were written under a new name in the same folder and moved over
// it, so that a partial file never carries the final name. INVALID_HANDLE_VALUE when it cannot be
// made to match (a folder of that name, a file in use); the final name is never deleted.
HANDLE OpenMatchingFile(const std::wstring& path, ByteView bytes);

// Deploys the carried bytes as LoaderFolder() + kLoaderFileName and loads that file while it is
// held open; the module, or null when the file cannot be made to match or does not load. Nothing
// is carried, nothing is written or loaded. The module is never freed.
HMODULE DeployAndLoadLoader(ByteView bytes);
