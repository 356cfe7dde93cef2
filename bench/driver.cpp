// Measures the client against its floors, under the same Wine, and prints each figure with both
// medians, their spreads and the ratio. It never judges a figure: bench/README.md holds the goals.
//
//   bench_driver CLIENT_EXE FLOOR_EXE CARRIED_LOADER [RUNS] [SCALE] [GROUPS]
// SCALE (default 1) divides the growth counts, for a quick look. GROUPS, a comma list of sizes,
// starts, idle and growth, picks some of them (default: all).

#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "browser/loader_file.h"
#include "e2e/browser_client.h"
#include "e2e/child_process.h"
#include "e2e/loopback_site.h"
#include "e2e/navigation_counter.h"
#include "e2e/process_counts.h"
#include "figures.h"
#include "support/shell_probes.h"

namespace {

constexpr wchar_t kClientClass[] = L"CuixiaoClientWindow";
constexpr wchar_t kFloorClass[] = L"BenchFloorWindow";
constexpr UINT kExitItemId = 1;  // the tray menu's "退出"

// Microseconds on the same clock as the stand-in's journal (QueryPerformanceCounter).
double Now() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart / frequency.QuadPart * 1000000 +
                             now.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart);
}

template <typename Condition>
bool Poll(Condition condition, DWORD milliseconds = 20000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= milliseconds) return false;
    Sleep(1);  // a spinning driver would take a core from the program it measures
  }
  return true;
}

std::string Page(const std::string& title, const std::string& link) {
  return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title + "</title></head><body><p><a href=\"" +
         link + "\">下一页 下一页 下一页</a></p></body></html>";
}

std::u16string Caption(HWND window) {
  wchar_t caption[512] = L"";
  GetWindowTextW(window, caption, 512);
  return reinterpret_cast<const char16_t*>(caption);
}

// The time stamp of the last journal line holding the text; negative when there is none.
double JournalTime(const std::wstring& journal, const char* text) {
  const HANDLE file = CreateFileW(journal.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  std::string content;
  char buffer[8192];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) content.append(buffer, read);
  CloseHandle(file);
  const std::size_t at = content.rfind(text);
  if (at == std::string::npos) return -1;
  const std::size_t lineStart = content.rfind('\n', at);
  return std::atof(content.c_str() + (lineStart == std::string::npos ? 0 : lineStart + 1));
}

struct Settings {
  std::wstring client;
  std::wstring floor;
  std::wstring loader;
  int runs = 10;
  int scale = 1;
};

struct ClientStart {
  double visible = -1;      // ms from CreateProcess to the window being visible
  double title = -1;        // ms to the page's title in the caption
  double titleToCaption = -1;  // ms from the stand-in raising DocumentTitleChanged to the caption seen
  double environment = -1;  // ms to the environment request reaching the loader (journal)
};

// One start of the client on the stand-in with the page on loopback; ends it through the menu's item.
ClientStart StartClient(const Settings& settings, const std::wstring& folder) {
  ClientStart start;
  const std::wstring journal = folder + L"\\journal.txt";
  DeleteFileW(journal.c_str());
  SetEnvironmentVariableW(L"WEBVIEW2_STANDIN_JOURNAL", journal.c_str());
  const double begin = Now();
  ChildProcess process(settings.client, L"", folder);
  HWND window = nullptr;
  if (!Poll([&] { return (window = FindProcessWindow(process.id(), kClientClass)) != nullptr; })) return start;
  start.visible = (Now() - begin) / 1000;
  const std::u16string wanted = CaptionWith(u"基准");
  if (Poll([&] { return Caption(window) == wanted; })) {
    const double seen = Now();
    start.title = (seen - begin) / 1000;
    const double raised = JournalTime(journal, "event DocumentTitleChanged");
    if (raised > 0) start.titleToCaption = (seen - raised) / 1000;
    // The loader journals its first call once it is loaded: what comes before is the client's
    // own start with the loader check and the load.
    const double requested = JournalTime(journal, "CreateCoreWebView2EnvironmentWithOptions");
    if (requested > 0) start.environment = (requested - begin) / 1000;
  }
  PostMessageW(window, WM_COMMAND, kExitItemId, 0);
  DWORD code = 0;
  process.WaitForExit(10000, &code);
  return start;
}

double StartFloor(const Settings& settings, const wchar_t* arguments, const std::wstring& folder) {
  const double begin = Now();
  ChildProcess process(settings.floor, arguments, folder);
  HWND window = nullptr;
  if (!Poll([&] { return (window = FindProcessWindow(process.id(), kFloorClass)) != nullptr; })) return -1;
  const double visible = (Now() - begin) / 1000;
  PostMessageW(window, WM_CLOSE, 0, 0);
  DWORD code = 0;
  process.WaitForExit(10000, &code);
  return visible;
}

void Add(Sample& sample, double value) {
  if (value >= 0) sample.values.push_back(value);
}


Sample MeasureStarts(const Settings& settings, const std::wstring& folder) {
  const std::wstring loadArguments = L"ole-tray load " + folder + L"\\" + kLoaderFileName;
  Sample bare, oleTray, oleTrayLoad, visible, title, titleToCaption, environment;
  // Warm-up: the first start writes the loader and fills Wine's caches.
  StartClient(settings, folder);
  StartFloor(settings, L"", folder);
  StartFloor(settings, L"ole-tray", folder);
  StartFloor(settings, loadArguments.c_str(), folder);
  for (int run = 0; run < settings.runs; ++run) {
    // Interleaved, so that a slow moment of the machine falls on all three alike.
    Add(bare, StartFloor(settings, L"", folder));
    Add(oleTray, StartFloor(settings, L"ole-tray", folder));
    Add(oleTrayLoad, StartFloor(settings, loadArguments.c_str(), folder));
    const ClientStart start = StartClient(settings, folder);
    Add(visible, start.visible);
    Add(title, start.title);
    Add(titleToCaption, start.titleToCaption);
    Add(environment, start.environment);
  }
  PrintFigure("start to window visible / bare floor", visible, bare, "ms");
  PrintFigure("start to window visible / OLE and tray floor", visible, oleTray, "ms");
  PrintFigure("start to window visible / OLE, tray, loader load floor", visible, oleTrayLoad, "ms");
  PrintFigure("start to title in caption / start to visible", title, visible, "ms");
  PrintFigure("DocumentTitleChanged to caption seen / -", titleToCaption, Sample{}, "ms");
  PrintFigure("start to environment request / start to visible", environment, visible, "ms");
  return visible;
}

void MeasureLoaderCheck(const Settings& settings, const std::wstring& folder, const Sample& visible) {
  // The loader file the client left, read and compared as every start does.
  const HANDLE source = CreateFileW(settings.loader.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
  if (source == INVALID_HANDLE_VALUE) return;
  std::string bytes(GetFileSize(source, nullptr), '\0');
  DWORD read = 0;
  ReadFile(source, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(source);
  const ByteView view{reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
  const std::wstring path = folder + L"\\" + kLoaderFileName;
  Sample check;
  for (int run = 0; run < settings.runs + 1; ++run) {
    const double begin = Now();
    const HANDLE file = OpenMatchingFile(path, view);
    const double took = (Now() - begin) / 1000;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (run > 0) Add(check, took);
  }
  PrintFigure("loader check / start to window visible", check, visible, "ms");
}

double CpuMilliseconds(DWORD processId, DWORD milliseconds) {
  const std::uint64_t before = ProcessCpuTime(processId);
  Sleep(milliseconds);
  return static_cast<double>(ProcessCpuTime(processId) - before) / 10000;
}

void MeasureIdle(const Settings& settings, const std::wstring& folder) {
  Sample shown, hidden, floor;
  {
    ChildProcess process(settings.floor, L"", folder);
    HWND window = nullptr;
    if (Poll([&] { return (window = FindProcessWindow(process.id(), kFloorClass)) != nullptr; })) {
      Sleep(1000);
      Add(floor, CpuMilliseconds(process.id(), 10000));
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
  }
  SetEnvironmentVariableW(L"WEBVIEW2_STANDIN_JOURNAL", nullptr);
  ChildProcess process(settings.client, L"", folder);
  HWND window = nullptr;
  if (!Poll([&] { return (window = FindProcessWindow(process.id(), kClientClass)) != nullptr; })) return;
  Poll([&] { return Caption(window) == CaptionWith(u"基准"); });
  PrintValue("CPU to start and load the page (reading check)",
             static_cast<double>(ProcessCpuTime(process.id())) / 10000, "ms");
  Sleep(1000);
  Add(shown, CpuMilliseconds(process.id(), 10000));
  PostMessageW(window, WM_CLOSE, 0, 0);  // hides it in the tray
  Sleep(1000);
  Add(hidden, CpuMilliseconds(process.id(), 10000));
  PrintFigure("CPU over 10 s idle, shown / bare floor shown", shown, floor, "ms");
  PrintFigure("CPU over 10 s idle, hidden / bare floor shown", hidden, floor, "ms");
  PostMessageW(window, WM_COMMAND, kExitItemId, 0);
  DWORD code = 0;
  process.WaitForExit(10000, &code);
}

void PrintCounts(const char* after, const ProcessCounts& counts) {
  std::printf("growth after %-35s | private bytes %10llu | handles %4ld | GDI %4ld | USER %4ld\n", after,
              static_cast<unsigned long long>(counts.privateBytes), counts.handles, counts.gdi, counts.user);
  std::fflush(stdout);
}

void MeasureGrowth(const Settings& settings, const std::wstring& folder) {
  const std::wstring journal = folder + L"\\growth-journal.txt";
  DeleteFileW(journal.c_str());
  SetEnvironmentVariableW(L"WEBVIEW2_STANDIN_JOURNAL", journal.c_str());
  ChildProcess process(settings.client, L"", folder);
  HWND window = nullptr;
  if (!Poll([&] { return (window = FindProcessWindow(process.id(), kClientClass)) != nullptr; })) return;
  NavigationCounter completions(journal);
  Poll([&] { return completions.Count() >= 1; });
  Sleep(300);
  const DWORD id = process.id();
  PrintCounts("1 navigation", ReadProcessCounts(id));
  // Clicks the page's link, its first line, waiting for each navigation to complete; a click that
  // comes before the page is laid out is given again.
  auto navigateTo = [&](int total) {
    while (completions.Count() < total) {
      const int before = completions.Count();
      for (int attempt = 0; attempt < 5; ++attempt) {
        const HWND browser = GetWindow(window, GW_CHILD);
        PostMessageW(browser, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 16));
        PostMessageW(browser, WM_LBUTTONUP, 0, MAKELPARAM(20, 16));
        if (Poll([&] { return completions.Count() > before; }, 2000)) break;
      }
    }
    Sleep(300);
  };
  const int few = 100 / settings.scale;
  const int many = 1000 / settings.scale;
  navigateTo(few);
  const ProcessCounts atFew = ReadProcessCounts(id);
  PrintCounts((std::to_string(few) + " navigations").c_str(), atFew);
  navigateTo(many);
  const ProcessCounts atMany = ReadProcessCounts(id);
  PrintCounts((std::to_string(many) + " navigations").c_str(), atMany);
  if (many > few) {
    PrintValue("private bytes per navigation (" + std::to_string(few) + " to " + std::to_string(many) + ")",
               (static_cast<double>(atMany.privateBytes) - static_cast<double>(atFew.privateBytes)) / (many - few),
               "B");
  }
  RECT original{};
  GetWindowRect(window, &original);
  const int resizes = 10000 / settings.scale;
  for (int i = 0; i < resizes; ++i) {
    SetWindowPos(window, nullptr, 0, 0, 320 + i % 200, 240 + (i * 7) % 120,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    if (i % 100 == 99) Answers(window, 20000);
    // Halfway too: a leak grows in both halves, a high-water mark only in the first.
    if (i == resizes / 2 - 1) {
      PrintCounts(("+ " + std::to_string(resizes / 2) + " resizes").c_str(), ReadProcessCounts(id));
    }
  }
  SetWindowPos(window, nullptr, 0, 0, original.right - original.left, original.bottom - original.top,
               SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  Sleep(300);
  PrintCounts(("+ " + std::to_string(resizes) + " resizes").c_str(), ReadProcessCounts(id));
  const int menus = 1000 / settings.scale;
  for (int i = 0; i < menus; ++i) {
    PostMessageW(window, kShellCallbackMessage, kShellIconId, WM_LBUTTONUP);
    HWND menu = nullptr;
    if (!Poll([&] { return (menu = FindOpenMenu(id)) != nullptr; }, 5000)) break;
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    Poll([&] { return FindOpenMenu(id) == nullptr; }, 5000);
  }
  Sleep(300);
  PrintCounts(("+ " + std::to_string(menus) + " tray menus").c_str(), ReadProcessCounts(id));
  std::printf("counts read as: %s\n", atMany.source.c_str());
  PostMessageW(window, WM_COMMAND, kExitItemId, 0);
  DWORD code = 0;
  process.WaitForExit(10000, &code);
}

double FileBytes(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<double>(static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow);
}

void MeasureSizes(const Settings& settings) {
  const double client = FileBytes(settings.client);
  const double floor = FileBytes(settings.floor);
  const double loader = FileBytes(settings.loader);
  PrintFigure("exe size / floor exe size", Sample{{client}}, Sample{{floor}}, "B");
  PrintValue("carried loader's share of the exe", client != 0 ? 100 * loader / client : 0, "%");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: bench_driver CLIENT_EXE FLOOR_EXE CARRIED_LOADER [RUNS] [SCALE]\n");
    return 2;
  }
  Settings settings;
  settings.client = WindowsPath(argv[1]);
  settings.floor = WindowsPath(argv[2]);
  settings.loader = WindowsPath(argv[3]);
  if (argc > 4) settings.runs = std::max(1, std::atoi(argv[4]));
  if (argc > 5) settings.scale = std::max(1, std::atoi(argv[5]));
  const std::string groups = argc > 6 ? argv[6] : "sizes,starts,idle,growth";
  auto wanted = [&groups](const char* group) { return groups.find(group) != std::string::npos; };

  LoopbackSite site({{"/", {Page("基准", "/two.html")}}, {"/two.html", {Page("基准二", "/")}}});
  if (!site.listening()) return 1;
  SetEnvironmentVariableW(L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", site.HostRule().c_str());
  const std::wstring folder = FreshFolder(L"bench");

  std::printf("%-48s | %s | %s | %s\n", "figure", "client median (spread)", "floor median (spread)", "ratio");
  if (wanted("sizes")) MeasureSizes(settings);
  if (wanted("starts")) {
    const Sample visible = MeasureStarts(settings, folder);
    MeasureLoaderCheck(settings, folder, visible);
  }
  if (wanted("idle")) MeasureIdle(settings, folder);
  if (wanted("growth")) MeasureGrowth(settings, folder);
  return 0;
}
