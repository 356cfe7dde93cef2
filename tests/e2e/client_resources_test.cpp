// The built client exe, read as a file and loaded as data: its PE headers and its resources.

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "app/resource_ids.h"
#include "e2e/child_process.h"
#include "site.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ReadFileBytes(const std::wstring& path) {
  Bytes bytes;
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(file, nullptr));
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
  reinterpret_cast<std::vector<std::wstring>*>(names)->push_back(
      IS_INTRESOURCE(name) ? std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : std::wstring(name));
  return TRUE;
}

BOOL CALLBACK CountLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD, LONG_PTR count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

class ClientExe : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = ProgramFromEnvironment("CLIENT_EXE");
    ASSERT_FALSE(path_.empty()) << "CLIENT_EXE names the client exe";
    module_ = LoadLibraryExW(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }

  std::vector<std::wstring> Names(int type) const {
    std::vector<std::wstring> names;
    EnumResourceNamesW(module_, MAKEINTRESOURCEW(type), CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
  }

  Bytes Resource(int type, int id) const {
    const HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
    if (found == nullptr) return {};
    const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module_, found)));
    return Bytes(data, data + SizeofResource(module_, found));
  }

  std::wstring path_;
  HMODULE module_ = nullptr;
};

// The client is a 32-bit program. Where the machine cannot run 32-bit code the same sources are
// tested as an x64 build (the mingw-x86_64 preset), whose exe must then be x64 throughout.
TEST_F(ClientExe, IsAGuiProgramForItsBuildsMachine) {
#if defined(__i386__)
  constexpr WORD kMachine = IMAGE_FILE_MACHINE_I386;
  constexpr WORD kMagic = IMAGE_NT_OPTIONAL_HDR32_MAGIC;
#else
  constexpr WORD kMachine = IMAGE_FILE_MACHINE_AMD64;
  constexpr WORD kMagic = IMAGE_NT_OPTIONAL_HDR64_MAGIC;
#endif
  const Bytes file = ReadFileBytes(path_);
  ASSERT_GT(file.size(), sizeof(IMAGE_DOS_HEADER));
  IMAGE_DOS_HEADER dos;
  std::memcpy(&dos, file.data(), sizeof(dos));
  ASSERT_LE(dos.e_lfanew + sizeof(IMAGE_NT_HEADERS), file.size());
  IMAGE_NT_HEADERS nt;
  std::memcpy(&nt, file.data() + dos.e_lfanew, sizeof(nt));
  EXPECT_EQ(nt.FileHeader.Machine, kMachine);
  EXPECT_EQ(nt.OptionalHeader.Magic, kMagic);
  EXPECT_EQ(nt.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST_F(ClientExe, ManifestAsksForAdministratorAndNothingElse) {
  ASSERT_EQ(Names(24), std::vector<std::wstring>{L"1"});  // one manifest: none added by the toolchain
  int languages = 0;
  EnumResourceLanguagesW(module_, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1), CountLanguage,
                         reinterpret_cast<LONG_PTR>(&languages));
  EXPECT_EQ(languages, 1);

  const Bytes bytes = Resource(24, 1);
  const std::string manifest(bytes.begin(), bytes.end());
  std::vector<std::string> elements;
  for (std::size_t at = manifest.find('<'); at != std::string::npos; at = manifest.find('<', at + 1)) {
    const std::size_t end = manifest.find_first_of(" />", at + 1);
    if (std::isalpha(static_cast<unsigned char>(manifest[at + 1]))) elements.push_back(manifest.substr(at + 1, end - at - 1));
  }
  EXPECT_EQ(elements, (std::vector<std::string>{"assembly", "assemblyIdentity", "trustInfo", "security",
                                                "requestedPrivileges", "requestedExecutionLevel"}));
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
  EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
}

TEST_F(ClientExe, CarriesTheIconAsApplicationIconAndAsTrayIconBytes) {
  const Bytes ico = Resource(10, IDR_TRAY_ICON);  // RT_RCDATA
  ASSERT_EQ(ico.size(), 15086u);
  ASSERT_EQ(Names(14).size(), 1u);  // RT_GROUP_ICON
  const Bytes group = Resource(14, IDI_CLIENT);
  ASSERT_EQ(group.size(), 6u + 3 * 14);
  const struct {
    int size;
    DWORD bytes;
  } images[] = {{16, 1128}, {32, 4264}, {48, 9640}};
  for (int i = 0; i < 3; ++i) {
    const unsigned char* entry = group.data() + 6 + 14 * i;
    DWORD bytes;
    WORD bitCount, id;
    std::memcpy(&bitCount, entry + 6, 2);
    std::memcpy(&bytes, entry + 8, 4);
    std::memcpy(&id, entry + 12, 2);
    EXPECT_EQ(entry[0], images[i].size);
    EXPECT_EQ(bitCount, 32);
    EXPECT_EQ(bytes, images[i].bytes);
    // the same image as in the tray icon's file
    DWORD offset;
    std::memcpy(&offset, ico.data() + 6 + 16 * i + 12, 4);
    const Bytes image = Resource(3, id);  // RT_ICON
    ASSERT_EQ(image.size(), bytes);
    EXPECT_EQ(std::memcmp(image.data(), ico.data() + offset, bytes), 0) << images[i].size;
  }
}

TEST_F(ClientExe, VersionIs1000AndTheTextsNameTheSite) {
  const DWORD size = GetFileVersionInfoSizeW(path_.c_str(), nullptr);
  ASSERT_GT(size, 0u);
  Bytes info(size);
  ASSERT_TRUE(GetFileVersionInfoW(path_.c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
  wchar_t block[64];
  swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
  auto text = [&](const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT units = 0;
    if (!VerQueryValueW(info.data(), (std::wstring(block) + name).c_str(), reinterpret_cast<void**>(&value), &units)) {
      return std::wstring();
    }
    return std::wstring(value);
  };
  EXPECT_EQ(text(L"FileVersion"), L"1.0.0.0");
  EXPECT_EQ(text(L"ProductVersion"), L"1.0.0.0");
  const std::wstring host(kSiteHost, kSiteHost + sizeof(kSiteHost) - 1);
  for (const wchar_t* name : {L"FileDescription", L"ProductName", L"CompanyName", L"LegalCopyright", L"Comments"}) {
    EXPECT_NE(text(name).find(host), std::wstring::npos) << name;
  }
}

}  // namespace
