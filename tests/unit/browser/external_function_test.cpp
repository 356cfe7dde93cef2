// The binding of an external function: the module already loaded under the library's name, never
// a library that only the current folder or PATH would offer, and the fatal end naming both.

#include "browser/external_function.h"

#include <gtest/gtest.h>

#include <string>

#include "support/windows_path.h"

namespace {

struct Unbound {
  std::string library;
  std::string function;
};

// The fatal end, made testable: it must not return, so it throws.
void ThrowUnbound(TextArg library, TextArg function) { throw Unbound{library.c_str(), function.c_str()}; }

// The stand-in loader built in this tree, as a Windows path.
std::wstring StandInLoader() {
  char path[MAX_PATH * 2] = "";
  GetEnvironmentVariableA("STANDIN_LOADER", path, sizeof(path));
  return WindowsPath(path);
}

class ExternalFunctionTest : public testing::Test {
 protected:
  void SetUp() override { SetUnbindableFunctionEnd(ThrowUnbound); }
  void TearDown() override { SetUnbindableFunctionEnd(nullptr); }
};

TEST_F(ExternalFunctionTest, TakesTheLoadedModuleAndKeepsTheBinding) {
  ExternalFunction entry{L"kernel32.dll", "GetTickCount"};
  const FARPROC bound = BindExternalFunction(entry);
  EXPECT_EQ(bound, GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount"));
  EXPECT_EQ(entry.bound, bound);
  EXPECT_EQ(BindExternalFunction(entry), bound);
}

TEST_F(ExternalFunctionTest, AMissingExportOrLibraryEndsNamingBoth) {
  const struct {
    const wchar_t* library;
    const char* function;
    const char* libraryText;
  } cases[] = {
      {L"kernel32.dll", "NoSuchFunctionHere", "kernel32.dll"},
      {L"no_such_library_here.dll", "CreateCoreWebView2EnvironmentWithOptions", "no_such_library_here.dll"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.libraryText);
    ExternalFunction entry{c.library, c.function};
    try {
      BindExternalFunction(entry);
      ADD_FAILURE() << "bound";
    } catch (const Unbound& unbound) {
      EXPECT_EQ(unbound.library, c.libraryText);
      EXPECT_EQ(unbound.function, c.function);
    }
  }
}

TEST_F(ExternalFunctionTest, NeitherTheCurrentFolderNorPathOffersALibrary) {
  const std::wstring loader = StandInLoader();
  ASSERT_NE(GetFileAttributesW(loader.c_str()), INVALID_FILE_ATTRIBUTES) << "STANDIN_LOADER names the stand-in";
  wchar_t temp[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"binding-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring planted = folder + L"\\planted_loader.dll";
  ASSERT_TRUE(CopyFileW(loader.c_str(), planted.c_str(), FALSE));

  wchar_t oldPath[32768] = L"";
  wchar_t oldFolder[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"PATH", oldPath, ARRAYSIZE(oldPath));
  GetCurrentDirectoryW(MAX_PATH, oldFolder);
  SetEnvironmentVariableW(L"PATH", (folder + L";" + oldPath).c_str());
  SetCurrentDirectoryW(folder.c_str());

  ExternalFunction entry{L"planted_loader.dll", "CreateCoreWebView2EnvironmentWithOptions"};
  EXPECT_THROW(BindExternalFunction(entry), Unbound);
  EXPECT_EQ(GetModuleHandleW(L"planted_loader.dll"), nullptr) << "nothing was loaded from there";

  SetCurrentDirectoryW(oldFolder);
  SetEnvironmentVariableW(L"PATH", oldPath);

  // Loaded by its full path, as the deployment does, the same library binds by its name.
  const HMODULE module = LoadLibraryExW(planted.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(BindExternalFunction(entry), GetProcAddress(module, "CreateCoreWebView2EnvironmentWithOptions"));
  FreeLibrary(module);
}

}  // namespace
