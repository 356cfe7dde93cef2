// The carried loader in the client's temporary folder, as a user's machine would find it between
// starts: written on a first start, left alone while it matches, replaced when planted or damaged,
// and a folder of that name ends the program with the fatal message.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/browser_client.h"
#include "support/shell_probes.h"

namespace {

std::vector<std::uint8_t> ReadAll(const std::wstring& path) {
  std::vector<std::uint8_t> bytes;
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  std::uint8_t chunk[65536];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) bytes.insert(bytes.end(), chunk, chunk + read);
  CloseHandle(file);
  return bytes;
}

void WriteAll(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// The file's identity and last write time: equal values mean it was not written again.
std::string Identity(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  BY_HANDLE_FILE_INFORMATION info{};
  GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  return std::to_string(info.nFileIndexHigh) + ":" + std::to_string(info.nFileIndexLow) + ":" +
         std::to_string(info.ftLastWriteTime.dwHighDateTime) + ":" + std::to_string(info.ftLastWriteTime.dwLowDateTime);
}

std::vector<std::wstring> FolderNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// Without a runtime the stand-in answers at once: the start needs no site.
const EnvironmentSettings kNoRuntime{{L"WEBVIEW2_STANDIN_FAIL", L"runtime"}};

class LoaderDeployment : public testing::Test {
 protected:
  void SetUp() override {
    carried_ = ReadAll(ProgramFromEnvironment("CARRIED_LOADER"));
    ASSERT_FALSE(carried_.empty()) << "the build names the carried loader in CARRIED_LOADER";
  }
  // One start and its end: true when the stand-in was loaded and asked for an environment.
  static bool StartAndEnd(BrowserClient& client) {
    if (client.window() == nullptr) return false;
    const bool asked = client.WaitForJournal("no runtime: 0x80070002");
    return client.ExitThroughTrayMenu() == 0 && asked;
  }
  std::vector<std::uint8_t> carried_;
};

TEST_F(LoaderDeployment, AFirstStartWritesTheCarriedBytesAndALaterOneLeavesThemAlone) {
  const std::wstring folder = FreshFolder(L"loader-first");
  BrowserClient first(ClientProgram(), folder, kNoRuntime);
  ASSERT_TRUE(StartAndEnd(first));
  const std::wstring path = first.folder() + L"\\WebView2Loader.dll";
  EXPECT_EQ(ReadAll(path), carried_);
  const std::string identity = Identity(path);
  // Only the loader and the journal: no scratch file left behind.
  EXPECT_EQ(FolderNames(first.folder()).size(), 2u);

  Sleep(50);
  BrowserClient second(ClientProgram(), folder, kNoRuntime);  // the same folder, as it was left
  ASSERT_TRUE(StartAndEnd(second));
  EXPECT_EQ(Identity(path), identity) << "the same file, not written again";
}

TEST_F(LoaderDeployment, APlantedOrDamagedLoaderIsReplacedBeforeItIsLoaded) {
  std::vector<std::uint8_t> planted = carried_;
  planted[planted.size() / 2] ^= 0xFF;  // still a DLL in shape, but not ours
  const std::vector<std::uint8_t> truncated(carried_.begin(), carried_.begin() + carried_.size() / 3);
  const struct {
    const wchar_t* name;
    std::vector<std::uint8_t> found;
  } cases[] = {{L"loader-planted", planted}, {L"loader-damaged", truncated}, {L"loader-empty", {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
    const std::wstring folder = FreshFolder(c.name);
    WriteAll(folder + L"\\WebView2Loader.dll", c.found);
    BrowserClient client(ClientProgram(), folder, kNoRuntime);
    ASSERT_TRUE(StartAndEnd(client));
    EXPECT_EQ(ReadAll(folder + L"\\WebView2Loader.dll"), carried_);
  }
}

TEST_F(LoaderDeployment, AFolderOfThatNameEndsWithTheFatalMessage) {
  const std::wstring folder = FreshFolder(L"loader-folder");
  ASSERT_TRUE(CreateDirectoryW((folder + L"\\WebView2Loader.dll").c_str(), nullptr));
  BrowserClient client(ClientProgram(), folder, kNoRuntime);
  ASSERT_TRUE(client.started());
  const HWND box = WaitForWindow(client.process(), L"#32770");
  ASSERT_NE(box, nullptr);
  const std::u16string text = AllText(box);
  EXPECT_NE(text.find(u"无法调用外部函数"), std::u16string::npos);
  EXPECT_NE(text.find(u"WebView2Loader.dll"), std::u16string::npos);
  EXPECT_NE(text.find(u"CreateCoreWebView2EnvironmentWithOptions"), std::u16string::npos);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  DWORD exitCode = 0;
  ASSERT_TRUE(client.process().WaitForExit(20000, &exitCode));
  EXPECT_EQ(exitCode, 0xFFFFFFFFu);
  EXPECT_NE(GetFileAttributesW((folder + L"\\WebView2Loader.dll").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(LoaderDeployment, ALoaderBesideTheExecutableIsUsedWhenTheTemporaryFolderHasNone) {
  // A copy of the client with the loader beside it, and a temporary folder where none can be made.
  const std::wstring beside = FreshFolder(L"loader-beside-exe");
  ASSERT_TRUE(CopyFileW(ClientProgram().c_str(), (beside + L"\\CuixiaoClient.exe").c_str(), FALSE));
  WriteAll(beside + L"\\WebView2Loader.dll", carried_);
  const std::wstring folder = FreshFolder(L"loader-beside-temp");
  ASSERT_TRUE(CreateDirectoryW((folder + L"\\WebView2Loader.dll").c_str(), nullptr));
  BrowserClient client(beside + L"\\CuixiaoClient.exe", folder, kNoRuntime);
  ASSERT_TRUE(StartAndEnd(client)) << "bound from the executable's folder, no fatal message";
}

}  // namespace
