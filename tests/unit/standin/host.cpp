#include "unit/standin/host.h"

#include "event_args_interfaces.h"

bool g_insideStandInCall = false;

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  while (!done()) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
      if (done()) return true;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now < 20 ? deadline - now : 20),
                              QS_ALLINPUT);
  }
  return true;
}

void PumpFor(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

ScopedVariable::ScopedVariable(const wchar_t* name, const wchar_t* value) : name_(name) {
  wchar_t old[4096];
  const DWORD length = GetEnvironmentVariableW(name, old, 4096);
  hadOld_ = length > 0 && length < 4096;
  if (hadOld_) old_.assign(old, length);
  SetEnvironmentVariableW(name, value);
}

ScopedVariable::~ScopedVariable() { SetEnvironmentVariableW(name_.c_str(), hadOld_ ? old_.c_str() : nullptr); }

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &narrow[0], length, nullptr, nullptr);
  return narrow;
}

std::wstring TextOf(LPWSTR handedOut) {
  if (!handedOut) return L"(null)";
  std::wstring text(handedOut);
  CoTaskMemFree(handedOut);
  return text;
}

void StandInTest::SetUp() {
  ASSERT_NE(TheLoader().module, nullptr);
  comReady_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  parent_ = CreateWindowExW(0, L"STATIC", L"stand-in host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                            640, 480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(parent_, nullptr);
}

void StandInTest::TearDown() {
  if (controller_) controller_->Close();
  view_.reset();
  controller_.reset();
  environment_.reset();
  PumpFor(50);
  if (parent_) DestroyWindow(parent_);
  if (comReady_) CoUninitialize();
}

Owned<ICoreWebView2Environment> StandInTest::MakeEnvironment(ICoreWebView2EnvironmentOptions* options) {
  TestHandler<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler> handler(
      IidText::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler);
  Owned<ICoreWebView2Environment> environment;
  HRESULT result = E_UNEXPECTED;
  handler.onInvoke = [&](HRESULT error, ICoreWebView2Environment* made) {
    result = error;
    if (made) {
      made->AddRef();
      *environment.out() = made;
    }
  };
  {
    InsideCall inside;
    EXPECT_EQ(TheLoader().createWithOptions(nullptr, nullptr, options, &handler), S_OK);
  }
  EXPECT_TRUE(PumpUntil([&] { return handler.invoked > 0; }));
  EXPECT_EQ(result, S_OK);
  PumpUntil([&] { return handler.references() == 0; }, 1000);
  return environment;
}

Owned<ICoreWebView2Controller> StandInTest::MakeController(ICoreWebView2Environment* environment) {
  TestHandler<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> handler(
      IidText::ICoreWebView2CreateCoreWebView2ControllerCompletedHandler);
  Owned<ICoreWebView2Controller> controller;
  handler.onInvoke = [&](HRESULT error, ICoreWebView2Controller* made) {
    EXPECT_EQ(error, S_OK);
    if (made) {
      made->AddRef();
      *controller.out() = made;
    }
  };
  {
    InsideCall inside;
    EXPECT_EQ(environment->CreateCoreWebView2Controller(parent_, &handler), S_OK);
  }
  EXPECT_TRUE(PumpUntil([&] { return handler.invoked > 0; }));
  PumpUntil([&] { return handler.references() == 0; }, 1000);
  return controller;
}

void StandInTest::MakeView() {
  environment_ = MakeEnvironment();
  ASSERT_TRUE(environment_);
  controller_ = MakeController(environment_.get());
  ASSERT_TRUE(controller_);
  ASSERT_EQ(controller_->get_CoreWebView2(view_.out()), S_OK);
  ASSERT_TRUE(view_);

  EventLog& log = log_;
  starting_.onInvoke = [&log](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
    LPWSTR uri = nullptr;
    args->get_Uri(&uri);
    BOOL user = FALSE, redirected = TRUE;
    args->get_IsUserInitiated(&user);
    args->get_IsRedirected(&redirected);
    args->get_NavigationId(&log.lastNavigationId);
    log.lines.push_back("NavigationStarting " + Narrow(TextOf(uri)) + (user ? " user" : "") +
                        (redirected ? " redirected" : ""));
  };
  sourceChanged_.onInvoke = [&log](ICoreWebView2*, ICoreWebView2SourceChangedEventArgs* args) {
    BOOL isNew = FALSE;
    args->get_IsNewDocument(&isNew);
    log.lines.push_back(isNew ? "SourceChanged new" : "SourceChanged");
  };
  contentLoading_.onInvoke = [&log](ICoreWebView2*, ICoreWebView2ContentLoadingEventArgs* args) {
    BOOL errorPage = FALSE;
    UINT64 id = 0;
    args->get_IsErrorPage(&errorPage);
    args->get_NavigationId(&id);
    EXPECT_EQ(id, log.lastNavigationId);
    log.lines.push_back(errorPage ? "ContentLoading error page" : "ContentLoading");
  };
  historyChanged_.onInvoke = [&log](ICoreWebView2*, IUnknown* args) {
    EXPECT_EQ(args, nullptr);
    log.lines.push_back("HistoryChanged");
  };
  titleChanged_.onInvoke = [&log](ICoreWebView2* sender, IUnknown*) {
    LPWSTR title = nullptr;
    sender->get_DocumentTitle(&title);
    log.lines.push_back("DocumentTitleChanged " + Narrow(TextOf(title)));
  };
  completed_.onInvoke = [&log](ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* args) {
    UINT64 id = 0;
    args->get_IsSuccess(&log.lastSuccess);
    args->get_WebErrorStatus(&log.lastStatus);
    args->get_NavigationId(&id);
    EXPECT_EQ(id, log.lastNavigationId);
    log.lines.push_back(std::string("NavigationCompleted ") + (log.lastSuccess ? "success" : "failure") + " " +
                        std::to_string(log.lastStatus));
    log.completed = true;
    ++log.completions;
  };
  EventRegistrationToken token{};
  ASSERT_EQ(view_->add_NavigationStarting(&starting_, &token), S_OK);
  ASSERT_EQ(view_->add_SourceChanged(&sourceChanged_, &token), S_OK);
  ASSERT_EQ(view_->add_ContentLoading(&contentLoading_, &token), S_OK);
  ASSERT_EQ(view_->add_HistoryChanged(&historyChanged_, &token), S_OK);
  ASSERT_EQ(view_->add_DocumentTitleChanged(&titleChanged_, &token), S_OK);
  ASSERT_EQ(view_->add_NavigationCompleted(&completed_, &token), S_OK);
}

void StandInTest::NavigateAndWait(const std::wstring& uri) {
  log_.completed = false;
  {
    InsideCall inside;
    ASSERT_EQ(view_->Navigate(uri.c_str()), S_OK);
  }
  ASSERT_TRUE(PumpUntil([&] { return log_.completed; })) << "no NavigationCompleted for " << Narrow(uri);
}

std::wstring StandInTest::Title() {
  LPWSTR title = nullptr;
  EXPECT_EQ(view_->get_DocumentTitle(&title), S_OK);
  return TextOf(title);
}
