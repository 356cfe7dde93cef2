// The release configuration: the client carrying Microsoft's x86 WebView2 loader. Under Wine no
// WebView2 Runtime exists, so the loader refuses at once; the window keeps its creation caption,
// the tray works and "退出" ends the program with exit code 0.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/browser_client.h"
#include "support/shell_probes.h"

namespace {

std::vector<std::uint8_t> ReadAll(const std::wstring& path) {
  std::vector<std::uint8_t> bytes;
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  std::uint8_t chunk[65536];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) bytes.insert(bytes.end(), chunk, chunk + read);
  CloseHandle(file);
  return bytes;
}

TEST(ReleaseLoader, AFirstStartWritesMicrosoftsLoaderAndTheWindowStaysWithoutBrowser) {
  const std::wstring program = ProgramFromEnvironment("MICROSOFT_LOADER_CLIENT_EXE");
  if (program.empty()) {
    if (sizeof(void*) != 4) {
      GTEST_SKIP() << "Microsoft's WebView2 loader is a 32-bit DLL: this test runs in the i686 build only";
    }
    char folder[MAX_PATH * 2] = "";
    GetEnvironmentVariableA("MICROSOFT_LOADER_DIR", folder, sizeof(folder));
    GTEST_SKIP() << "Microsoft's loader was not found at configure time (x86/WebView2Loader.dll in " << folder
                 << "): the release configuration is not tested";
  }
  const std::vector<std::uint8_t> loader = ReadAll(ProgramFromEnvironment("MICROSOFT_LOADER"));
  ASSERT_EQ(loader.size(), 119904u);

  const std::wstring folder = FreshFolder(L"release-loader");
  BrowserClient client(program, folder, {});
  ASSERT_NE(client.window(), nullptr);
  EXPECT_TRUE(WaitUntil([&] { return ReadAll(folder + L"\\WebView2Loader.dll") == loader; }));
  Sleep(2000);  // the loader answers 0x80070002 at once and never calls back
  EXPECT_EQ(client.Caption(), CreationCaption());
  EXPECT_EQ(client.BrowserWindow(), nullptr);
  EXPECT_TRUE(TrayIconExists(client.window()));
  EXPECT_EQ(client.ExitThroughTrayMenu(), 0);
}

}  // namespace
