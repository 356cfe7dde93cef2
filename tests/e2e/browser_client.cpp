#include "e2e/browser_client.h"

#include "support/shell_probes.h"

namespace {

// Facts of the client, written here rather than taken from its code.
constexpr wchar_t kMainWindowClass[] = L"CuixiaoClientWindow";
constexpr UINT kTrayIconId = 100;
constexpr UINT kTrayCallbackMessage = 0x8064;

std::string ReadFileText(const std::wstring& path) {
  std::string text;
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

// Sets variables for the children started while it lives, then puts the old values back.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const EnvironmentSettings& settings) {
    for (const auto& [name, value] : settings) {
      wchar_t old[2048];
      const DWORD length = GetEnvironmentVariableW(name.c_str(), old, ARRAYSIZE(old));
      saved_.push_back({name, length != 0 && length < ARRAYSIZE(old), old});
      SetEnvironmentVariableW(name.c_str(), value.empty() ? nullptr : value.c_str());
    }
  }
  ~ScopedEnvironment() {
    for (const Saved& saved : saved_) {
      SetEnvironmentVariableW(saved.name.c_str(), saved.had ? saved.value.c_str() : nullptr);
    }
  }

 private:
  struct Saved {
    std::wstring name;
    bool had;
    std::wstring value;
  };
  std::vector<Saved> saved_;
};

}  // namespace

BrowserClient::BrowserClient(const std::wstring& program, const std::wstring& folder,
                             const EnvironmentSettings& environment, const std::wstring& arguments)
    : folder_(folder), journal_(folder_ + L"\\standin-journal.txt") {
  DeleteFileW(journal_.c_str());
  EnvironmentSettings settings = environment;
  settings.push_back({L"WEBVIEW2_STANDIN_JOURNAL", journal_});
  // Knobs a test does not set must not leak in from the one before.
  for (const wchar_t* knob : {L"WEBVIEW2_STANDIN_FAIL", L"WEBVIEW2_STANDIN_WITHHOLD",
                              L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS"}) {
    bool given = false;
    for (const auto& setting : environment) given = given || setting.first == knob;
    if (!given) settings.push_back({knob, L""});
  }
  {
    const ScopedEnvironment scoped(settings);
    process_ = std::make_unique<ChildProcess>(program, arguments, folder_);
  }
  if (process_->started()) window_ = WaitForWindow(*process_, kMainWindowClass);
}

BrowserClient::~BrowserClient() = default;

std::u16string BrowserClient::Caption() const {
  wchar_t caption[512] = L"";
  GetWindowTextW(window_, caption, 512);
  return reinterpret_cast<const char16_t*>(caption);
}

bool BrowserClient::WaitForCaption(const std::u16string& caption, DWORD milliseconds) const {
  return WaitUntil([&] { return Caption() == caption; }, milliseconds);
}

std::vector<std::string> BrowserClient::Journal() const {
  std::vector<std::string> lines;
  const std::string text = ReadFileText(journal_);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) break;  // a line still being written
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // "<microseconds> <thread id> <text>"
    const std::size_t first = line.find(' ');
    const std::size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
    lines.push_back(second == std::string::npos ? line : line.substr(second + 1));
    start = end + 1;
  }
  return lines;
}

int BrowserClient::CountJournal(const std::string& start) const {
  int count = 0;
  for (const std::string& line : Journal()) count += line.compare(0, start.size(), start) == 0;
  return count;
}

bool BrowserClient::WaitForJournal(const std::string& start, int count, DWORD milliseconds) const {
  return WaitUntil([&] { return CountJournal(start) >= count; }, milliseconds);
}

HWND BrowserClient::BrowserWindow() const { return window_ ? GetWindow(window_, GW_CHILD) : nullptr; }

long BrowserClient::ExitThroughTrayMenu() {
  PostMessageW(window_, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONUP);
  HWND menu = nullptr;
  if (!WaitUntil([&] { return (menu = FindOpenMenu(process_->id())) != nullptr; })) return -2;
  PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  DWORD exitCode = 0;
  if (!process_->WaitForExit(20000, &exitCode)) return -2;
  return static_cast<long>(exitCode);
}

std::wstring ClientProgram() { return ProgramFromEnvironment("CLIENT_EXE"); }

std::u16string CreationCaption() { return u"翠鸮交流群-cuixiao.club"; }

std::u16string CaptionWith(const std::u16string& text) { return u"翠鸮交流群(cuixiao.club)_" + text; }
