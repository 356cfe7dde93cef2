#include "app/main_window.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/handlers.h"
#include "com/unique_handle.h"
#include "unit/app/import_hook.h"
#include "support/shell_probes.h"

namespace {

using UniqueBitmap = UniqueHandle<HBITMAP, DeleteObject>;
using UniqueWindow = UniqueHandle<HWND, DestroyWindow>;

void SendKey(WORD key, bool withAlt = false) {
  std::vector<INPUT> inputs;
  auto add = [&inputs](WORD vk, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  if (withAlt) add(VK_MENU, 0);
  add(key, 0);
  add(key, KEYEVENTF_KEYUP);
  if (withAlt) add(VK_MENU, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  PumpMessages(200);
}

// Clicks a button of the title bar, such as HTCLOSE, with the messages a click brings: the
// system's own handling of them does the rest. (Input through SendInput proved unreliable here:
// Wine sometimes reports a stale pointer move while the button is held.)
void ClickTitleBarButton(HWND window, LRESULT button) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int y = rect.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  for (int x = rect.right - 1; x > rect.left; --x) {
    if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) != button) continue;
    POINT client{x, y};
    ScreenToClient(window, &client);
    PostMessageW(window, WM_NCLBUTTONDOWN, button, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    PumpMessages(200);
    return;
  }
  ADD_FAILURE() << "no title bar button " << button;
}

// What a test sees of the tray menu from a timer inside its modal loop.
struct MenuVisit {
  bool opened = false;
  RECT place{};
  bool windowVisible = false;
  bool zoomed = false;
  bool iconic = false;
};

enum class MenuChoice { kNone, kExit };

struct MenuWatch {
  HWND window;
  MenuChoice choice;
  MenuVisit visit;
};
MenuWatch* g_menuWatch = nullptr;

void CALLBACK WatchMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND menu = FindOpenMenu(GetCurrentProcessId());
  if (menu == nullptr) return;
  KillTimer(nullptr, timer);
  MenuVisit& visit = g_menuWatch->visit;
  const HWND window = g_menuWatch->window;
  visit.opened = true;
  GetWindowRect(menu, &visit.place);
  visit.windowVisible = IsWindowVisible(window) != FALSE;
  visit.zoomed = IsZoomed(window) != FALSE;
  visit.iconic = IsIconic(window) != FALSE;
  if (g_menuWatch->choice == MenuChoice::kExit) {
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  } else {
    EndMenu();
  }
}

// Sends the tray callback message; a menu that opens is looked at, then closed as `choice` says.
MenuVisit SendTrayMessage(HWND window, LPARAM lParam, MenuChoice choice = MenuChoice::kNone) {
  MenuWatch watch{window, choice, {}};
  g_menuWatch = &watch;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, WatchMenu);
  SendMessageW(window, kShellCallbackMessage, kShellIconId, lParam);
  KillTimer(nullptr, timer);
  g_menuWatch = nullptr;
  PumpMessages(200);
  return watch.visit;
}

struct Event {
  std::string name;
  bool windowVisible;
  int kind;
};

// The messages of the creation and the first show that the events hang on; the rest (activation,
// painting, non-client sizing) is the system's and varies.
const char* CreationMessageName(UINT message) {
  switch (message) {
    case WM_NCCREATE: return "WM_NCCREATE";
    case WM_CREATE: return "WM_CREATE";
    case WM_SHOWWINDOW: return "WM_SHOWWINDOW";
    case WM_SIZE: return "WM_SIZE";
    case WM_MOVE: return "WM_MOVE";
    default: return nullptr;
  }
}

// What the window's procedure is sent and what its handlers raise, one line each in the order they
// happen, in the manner of Wine's message-sequence tables.
std::vector<std::string>* g_sequence = nullptr;

std::string Step(const char* what, HWND window) {
  return std::string(what) + (IsWindowVisible(window) ? " visible" : " hidden");
}

LRESULT CALLBACK RecordSentMessage(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && g_sequence != nullptr && HasClass(sent->hwnd, MainWindow::kClassName)) {
    if (const char* name = CreationMessageName(sent->message)) g_sequence->push_back(Step(name, sent->hwnd));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A real MainWindow whose handlers are the client's own with a recorder around each; the exit
// item is only recorded, since the real handler ends the process.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MainWindow::Events events = ClientEvents();
    events.created = Recorded("created", events.created);
    events.moved = Recorded("moved", events.moved);
    events.sizeChanged = Recorded("sizeChanged", std::function<void(HWND)>([](HWND) {}));
    events.closeQuery = Recorded("closeQuery", events.closeQuery);
    events.trayEvent = [this, real = events.trayEvent](HWND window, int kind) {
      log_.push_back({"trayEvent", IsWindowVisible(window) != FALSE, kind});
      real(window, kind);
    };
    events.exitItemSelected = Recorded("exitItemSelected", std::function<void(HWND)>([](HWND) {}));
    window_ = std::make_unique<MainWindow>(std::move(events));
    g_sequence = &creation_;
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordSentMessage, nullptr, GetCurrentThreadId());
    const bool created = window_->Create(GetModuleHandleW(nullptr));
    UnhookWindowsHookEx(hook);
    g_sequence = nullptr;
    ASSERT_NE(hook, nullptr);
    ASSERT_TRUE(created);
    hwnd_ = window_->handle();
    PumpMessages();
  }

  void TearDown() override { window_.reset(); }

  template <typename Result>
  std::function<Result(HWND)> Recorded(const char* name, std::function<Result(HWND)> real) {
    return [this, name, real](HWND window) {
      log_.push_back({name, IsWindowVisible(window) != FALSE, 0});
      if (g_sequence != nullptr) g_sequence->push_back(Step(name, window));
      return real(window);
    };
  }

  int Count(const std::string& name) const {
    int count = 0;
    for (const Event& event : log_) count += event.name == name;
    return count;
  }

  RECT WindowRect() const {
    RECT rect;
    GetWindowRect(hwnd_, &rect);
    return rect;
  }

  std::unique_ptr<MainWindow> window_;
  HWND hwnd_ = nullptr;
  std::vector<Event> log_;
  std::vector<std::string> creation_;  // messages and events inside Create
};

void ExpectRect(const RECT& actual, const RECT& expected) {
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.right, expected.right);
  EXPECT_EQ(actual.bottom, expected.bottom);
}

TEST_F(MainWindowTest, CreationRaisesCreatedMovedSizeChangedThenShows) {
  // CreateWindowEx sends an overlapped window no WM_SIZE or WM_MOVE: the first show does, and
  // each raises its event as every later one does.
  const std::vector<std::string> expected = {
      "WM_NCCREATE hidden", "WM_CREATE hidden",
      "created hidden",     "moved hidden",     "sizeChanged hidden",
      "WM_SHOWWINDOW hidden",
      "WM_SIZE visible",    "sizeChanged visible",
      "WM_MOVE visible",    "moved visible",
  };
  EXPECT_EQ(creation_, expected);
  EXPECT_EQ(Count("created"), 1);
  EXPECT_TRUE(IsWindowVisible(hwnd_));
}

TEST_F(MainWindowTest, LaterMovesAndResizesRaiseTheirEvents) {
  log_.clear();
  SetWindowPos(hwnd_, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(Count("moved"), 1);
  EXPECT_EQ(Count("sizeChanged"), 0);
  SetWindowPos(hwnd_, nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Count("moved"), 1);
  EXPECT_EQ(Count("sizeChanged"), 1);
}

TEST_F(MainWindowTest, IsCentredWithItsSettings) {
  // The virtual desktop of the test prefix is 1280 x 1024.
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
  ExpectRect(WindowRect(), RECT{163, 152, 163 + 954, 152 + 719});

  const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  EXPECT_EQ(style & (WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
  EXPECT_EQ(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), 0);
  EXPECT_EQ(GetMenu(hwnd_), nullptr);
  EXPECT_EQ(GetClassLongPtrW(hwnd_, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
  EXPECT_NE(GetClassLongPtrW(hwnd_, GCLP_HICON), 0);
  EXPECT_NE(GetClassLongPtrW(hwnd_, GCLP_HICONSM), 0);
  EXPECT_TRUE(TrayIconExists(hwnd_));
}

using MainWindowCaption = MainWindowTest;

// Run once more under code page 1252 (EXPECTED_ACP tells which one the run is in).
TEST_F(MainWindowCaption, ReadsBackInUnicodeWhateverTheCodePage) {
  if (const char* expected = std::getenv("EXPECTED_ACP")) {
    ASSERT_EQ(GetACP(), std::strtoul(expected, nullptr, 10));
  }
  wchar_t caption[64] = L"";
  GetWindowTextW(hwnd_, caption, 64);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(caption)), u"翠鸮交流群-cuixiao.club");
}

TEST_F(MainWindowTest, CloseAndMinimiseHideTheWindowAndKeepTheTrayIcon) {
  const struct {
    const char* name;
    void (*act)(HWND);
    bool closeQuery;
    bool iconic;
  } cases[] = {
      {"close box", [](HWND w) { ClickTitleBarButton(w, HTCLOSE); }, true, false},
      {"Alt+F4", [](HWND) { SendKey(VK_F4, true); }, true, false},
      {"Close in the system menu", [](HWND w) { SendMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0); }, true, false},
      {"minimise box", [](HWND w) { ClickTitleBarButton(w, HTMINBUTTON); }, false, true},
      {"Minimize in the system menu", [](HWND w) { SendMessageW(w, WM_SYSCOMMAND, SC_MINIMIZE, 0); }, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    PumpMessages();
    log_.clear();
    c.act(hwnd_);
    EXPECT_TRUE(IsWindow(hwnd_));
    EXPECT_FALSE(IsWindowVisible(hwnd_));
    EXPECT_EQ(IsIconic(hwnd_) != FALSE, c.iconic);
    EXPECT_EQ(Count("closeQuery"), c.closeQuery ? 1 : 0);
    EXPECT_TRUE(TrayIconExists(hwnd_));
  }
}

TEST_F(MainWindowTest, QueryEndSessionHidesAndRefuses) {
  EXPECT_EQ(SendMessageW(hwnd_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
  EXPECT_FALSE(IsWindowVisible(hwnd_));
  EXPECT_EQ(Count("closeQuery"), 1);
  EXPECT_TRUE(IsWindow(hwnd_));
}

TEST_F(MainWindowTest, EscAndEnterDoNothing) {
  SetForegroundWindow(hwnd_);
  PumpMessages();
  ASSERT_EQ(GetFocus(), hwnd_);
  log_.clear();
  SendKey(VK_ESCAPE);
  SendKey(VK_RETURN);
  EXPECT_TRUE(IsWindowVisible(hwnd_));
  EXPECT_EQ(GetFocus(), hwnd_);
  EXPECT_TRUE(log_.empty());
}

TEST_F(MainWindowTest, EveryTrayKindShowsTheWindowNormalAndOpensTheMenuAtTheCursor) {
  const RECT normal = WindowRect();
  const struct {
    const char* name;
    void (*enter)(HWND);
  } states[] = {
      {"shown", [](HWND) {}},
      {"shown maximised", [](HWND w) { ShowWindow(w, SW_MAXIMIZE); }},
      {"hidden while maximised",
       [](HWND w) {
         ShowWindow(w, SW_MAXIMIZE);
         SendMessageW(w, WM_CLOSE, 0, 0);
       }},
      {"hidden by minimising", [](HWND w) { SendMessageW(w, WM_SYSCOMMAND, SC_MINIMIZE, 0); }},
  };
  const struct {
    LPARAM message;
    int kind;
  } clicks[] = {{WM_LBUTTONUP, 1}, {WM_LBUTTONDBLCLK, 2}, {WM_RBUTTONUP, 3}, {WM_CONTEXTMENU, 3}};
  for (const auto& state : states) {
    for (const auto& click : clicks) {
      SCOPED_TRACE(std::string(state.name) + ", message " + std::to_string(click.message));
      state.enter(hwnd_);
      // Off the window's normal place: Wine misplaces a cursor that a restored window moves under.
      SetCursorPos(60, 50);
      PumpMessages();
      log_.clear();
      const MenuVisit visit = SendTrayMessage(hwnd_, click.message);
      ASSERT_EQ(Count("trayEvent"), 1);
      EXPECT_EQ(log_[0].kind, click.kind);
      ASSERT_TRUE(visit.opened);
      EXPECT_EQ(visit.place.left, 63);
      EXPECT_EQ(visit.place.top, 53);
      EXPECT_TRUE(visit.windowVisible);
      EXPECT_FALSE(visit.zoomed);
      EXPECT_FALSE(visit.iconic);
      // and it stays so once the menu is gone
      EXPECT_TRUE(IsWindowVisible(hwnd_));
      EXPECT_FALSE(IsZoomed(hwnd_));
      ExpectRect(WindowRect(), normal);
      EXPECT_EQ(Count("exitItemSelected"), 0);
    }
  }
}

TEST_F(MainWindowTest, OtherTrayMessagesDoNothing) {
  SendMessageW(hwnd_, WM_CLOSE, 0, 0);
  log_.clear();
  for (LPARAM message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_MBUTTONUP, 0}) {
    EXPECT_FALSE(SendTrayMessage(hwnd_, message).opened) << message;
  }
  EXPECT_FALSE(IsWindowVisible(hwnd_));
  EXPECT_TRUE(log_.empty());
}

TEST_F(MainWindowTest, ChoosingExitRunsTheExitHandler) {
  ASSERT_TRUE(SendTrayMessage(hwnd_, WM_RBUTTONUP, MenuChoice::kExit).opened);
  EXPECT_EQ(Count("exitItemSelected"), 1);
}

TEST_F(MainWindowTest, TaskbarCreatedAddsTheTrayIconAgain) {
  NOTIFYICONDATAW record{};
  record.cbSize = NOTIFYICONDATAW_V1_SIZE;
  record.hWnd = hwnd_;
  record.uID = kShellIconId;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &record));  // as a restarted shell would have lost it
  ASSERT_FALSE(TrayIconExists(hwnd_));
  SendMessageW(hwnd_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(TrayIconExists(hwnd_));
}

// What the shell was handed: every Shell_NotifyIconW call of the code, with its record.
struct ShellCall {
  DWORD message;
  NOTIFYICONDATAW record;
};
std::vector<ShellCall>* g_shellCalls = nullptr;
ImportHook* g_shellHook = nullptr;

BOOL WINAPI RecordShellCall(DWORD message, PNOTIFYICONDATAW record) {
  if (g_shellCalls != nullptr) {
    ShellCall call{message, {}};
    std::memcpy(&call.record, record, record->cbSize < sizeof(call.record) ? record->cbSize : sizeof(call.record));
    g_shellCalls->push_back(call);
  }
  return g_shellHook->original<decltype(&Shell_NotifyIconW)>()(message, record);
}

TEST(TrayIconRecord, TheShellGetsTheIconsRecordAtCreationAndItsDeletionAtTheEnd) {
  std::vector<ShellCall> calls;
  ImportHook hook("shell32.dll", "Shell_NotifyIconW", reinterpret_cast<const void*>(&RecordShellCall));
  ASSERT_TRUE(hook.installed());
  g_shellHook = &hook;
  g_shellCalls = &calls;
  MainWindow window(ClientEvents());
  ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
  const HWND hwnd = window.handle();
  PumpMessages();
  // The record's first form: everything up to and including the 64-unit tip.
  const DWORD firstFormSize = offsetof(NOTIFYICONDATAW, szTip) + 64 * sizeof(WCHAR);

  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
  const NOTIFYICONDATAW& added = calls[0].record;
  EXPECT_EQ(added.cbSize, firstFormSize);
  EXPECT_EQ(added.hWnd, hwnd);
  EXPECT_EQ(added.uID, 100u);
  EXPECT_EQ(added.uFlags, 7u) << "NIF_MESSAGE, NIF_ICON and NIF_TIP";
  EXPECT_EQ(added.uCallbackMessage, 0x8064u);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(added.szTip)), u"右键弹出菜单，翠鸮交流群客户端(cuixiao.club)");
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(added.hIcon, &info)) << "the icon lives while the shell shows it";
  const UniqueBitmap colourBitmap(info.hbmColor), mask(info.hbmMask);
  BITMAP colour{};
  GetObjectW(colourBitmap.get(), sizeof(colour), &colour);
  EXPECT_EQ(colour.bmWidth, 48);

  window.Destroy();
  g_shellCalls = nullptr;
  g_shellHook = nullptr;
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(calls[1].record.cbSize, firstFormSize);
  EXPECT_EQ(calls[1].record.hWnd, hwnd);
  EXPECT_EQ(calls[1].record.uID, 100u);
  EXPECT_FALSE(GetIconInfo(added.hIcon, &info)) << "the icon went with the tray icon";
}

TEST_F(MainWindowTest, PressInTheClientAreaStartsAMove) {
  SendMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
  MSG posted{};
  ASSERT_TRUE(PeekMessageW(&posted, hwnd_, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
  EXPECT_EQ(posted.wParam, static_cast<WPARAM>(HTCAPTION));
  POINT expected{10, 20};
  ClientToScreen(hwnd_, &expected);
  EXPECT_EQ(posted.lParam, MAKELPARAM(expected.x, expected.y));
}

TEST_F(MainWindowTest, DestroyingRemovesTheTrayIcon) {
  ASSERT_TRUE(TrayIconExists(hwnd_));
  window_->Destroy();
  EXPECT_FALSE(IsWindow(hwnd_));
  EXPECT_EQ(window_->handle(), nullptr);
  EXPECT_FALSE(TrayIconExists(hwnd_));
}

// The colour on screen in the middle of the window's title bar, clear of caption and buttons.
COLORREF TitleBarColour(HWND window) {
  PumpMessages(200);
  RECT rect;
  GetWindowRect(window, &rect);
  const HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, rect.left + (rect.right - rect.left) * 3 / 5,
                                   rect.top + GetSystemMetrics(SM_CYFRAME) + 2);
  ReleaseDC(nullptr, screen);
  return colour;
}

TEST_F(MainWindowTest, TitleBarStaysActiveWhenAnotherWindowIsActivated) {
  // A plain window beside it shows what deactivation looks like here.
  const UniqueWindow plainWindow(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                                                 200, nullptr, nullptr, nullptr, nullptr));
  const HWND plain = plainWindow.get();
  SetForegroundWindow(plain);
  const COLORREF plainActive = TitleBarColour(plain);
  SetForegroundWindow(hwnd_);
  const COLORREF ours = TitleBarColour(hwnd_);
  ASSERT_NE(TitleBarColour(plain), plainActive) << "deactivation does not show on this display";

  SetForegroundWindow(plain);
  EXPECT_EQ(TitleBarColour(hwnd_), ours);
  SetForegroundWindow(hwnd_);
  EnableWindow(hwnd_, FALSE);
  SetForegroundWindow(plain);
  EXPECT_NE(TitleBarColour(hwnd_), ours) << "a disabled window shows its deactivation";
  EnableWindow(hwnd_, TRUE);
}

}  // namespace
