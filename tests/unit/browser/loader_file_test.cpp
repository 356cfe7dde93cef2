// The carried loader in the temporary folder: written once, left alone while it matches, replaced
// in one step when it does not, and never loaded when it cannot be made to match.

#include "browser/loader_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Carried() {
  std::vector<std::uint8_t> bytes(150000);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + (i >> 9));
  return bytes;
}

class LoaderFileTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"loader-file-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++count_) + L"\\";
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    path_ = folder_ + kLoaderFileName;
  }
  void TearDown() override {
    for (const std::wstring& name : Names()) {
      DeleteFileW((folder_ + name).c_str());
      RemoveDirectoryW((folder_ + name).c_str());
    }
    RemoveDirectoryW(folder_.c_str());
  }

  std::vector<std::wstring> Names() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder_ + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      if (std::wstring(found.cFileName) != L"." && std::wstring(found.cFileName) != L"..") {
        names.push_back(found.cFileName);
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
  }

  void Plant(const std::vector<std::uint8_t>& bytes) const {
    const HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }

  std::vector<std::uint8_t> Read() const {
    std::vector<std::uint8_t> bytes;
    const HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    std::uint8_t chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) bytes.insert(bytes.end(), chunk, chunk + read);
    CloseHandle(file);
    return bytes;
  }

  // The file's identity and last write: the same values mean it was not rewritten.
  std::wstring Identity() const {
    const HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return std::to_wstring(info.nFileIndexHigh) + L":" + std::to_wstring(info.nFileIndexLow) + L":" +
           std::to_wstring(info.ftLastWriteTime.dwLowDateTime);
  }

  static inline int count_ = 0;
  std::wstring folder_;
  std::wstring path_;
  const std::vector<std::uint8_t> carried_ = Carried();
  const ByteView view_{carried_.data(), carried_.size()};
};

TEST_F(LoaderFileTest, AMissingFileIsWrittenWithExactlyTheCarriedBytesAndHeldAgainstWriters) {
  const HANDLE held = OpenMatchingFile(path_, view_);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Read(), carried_);
  EXPECT_EQ(Names(), std::vector<std::wstring>{kLoaderFileName}) << "no scratch file stays behind";

  // While held, nobody may write or delete it; readers may share it.
  const HANDLE writer = CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(DeleteFileW(path_.c_str()));
  EXPECT_EQ(Read(), carried_);
  CloseHandle(held);
}

TEST_F(LoaderFileTest, AMatchingFileIsLeftAlone) {
  Plant(carried_);
  const std::wstring before = Identity();
  Sleep(20);
  const HANDLE held = OpenMatchingFile(path_, view_);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  CloseHandle(held);
  EXPECT_EQ(Identity(), before) << "the same file, not rewritten";
}

TEST_F(LoaderFileTest, APlantedOrDamagedFileIsReplacedInOneStep) {
  std::vector<std::uint8_t> changedByte = carried_;
  changedByte[60000] ^= 0x5A;
  const std::vector<std::uint8_t> truncated(carried_.begin(), carried_.begin() + 1000);
  std::vector<std::uint8_t> longer = carried_;
  longer.push_back(0);
  struct Case {
    const char* name;
    std::vector<std::uint8_t> planted;
  } const cases[] = {
      {"one byte changed", changedByte},
      {"cut short", truncated},
      {"one byte longer", longer},
      {"empty", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Plant(c.planted);
    const HANDLE held = OpenMatchingFile(path_, view_);
    EXPECT_NE(held, INVALID_HANDLE_VALUE);
    CloseHandle(held);
    EXPECT_EQ(Read(), carried_);
    EXPECT_EQ(Names(), std::vector<std::wstring>{kLoaderFileName});
  }
}

TEST_F(LoaderFileTest, WhatCannotBeMadeToMatchIsNeitherLoadedNorDeleted) {
  {
    SCOPED_TRACE("a folder of that name");
    ASSERT_TRUE(CreateDirectoryW(path_.c_str(), nullptr));
    EXPECT_EQ(OpenMatchingFile(path_, view_), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileAttributesW(path_.c_str()) & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(Names(), std::vector<std::wstring>{kLoaderFileName});
    RemoveDirectoryW(path_.c_str());
  }
  {
    SCOPED_TRACE("a different file in use");
    const std::vector<std::uint8_t> other(100, 0x42);
    Plant(other);
    const HANDLE user = CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(user, INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenMatchingFile(path_, view_), INVALID_HANDLE_VALUE);
    CloseHandle(user);
    EXPECT_EQ(Read(), other);
    EXPECT_EQ(Names(), std::vector<std::wstring>{kLoaderFileName});
  }
}

TEST_F(LoaderFileTest, NothingCarriedNothingWritten) {
  wchar_t variable[MAX_PATH * 2] = L"";
  GetEnvironmentVariableW(L"TMP", variable, ARRAYSIZE(variable));
  SetEnvironmentVariableW(L"TMP", folder_.c_str());
  EXPECT_EQ(LoaderFolder(), folder_);
  EXPECT_EQ(DeployAndLoadLoader(ByteView{}), nullptr);
  EXPECT_TRUE(Names().empty());
  SetEnvironmentVariableW(L"TMP", variable[0] ? variable : nullptr);
}

}  // namespace
