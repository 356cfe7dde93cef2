#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unit/standin/host.h"
#include "unit/standin/page_server.h"

// Host objects: held while published, handed to page script through IDispatch as the platform's
// script engine calls any automation object, and let go when the view ends.

namespace {

// An automation object with two methods: Add answers the sum of its two integers, Fail fails.
class RecordingHost : public CountedObject<IDispatch> {
 public:
  RecordingHost() : CountedObject({IidText::IDispatch}) {}

  struct Call {
    DISPID member;
    WORD flags;
    std::vector<VARIANT> arguments;  // as received: the last argument first
  };
  std::vector<Call> calls;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (count < 1) return E_INVALIDARG;
    const std::wstring name = names[0];
    ids[0] = name == L"Add" ? 1 : name == L"Fail" ? 2 : DISPID_UNKNOWN;
    return ids[0] == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    Call call{member, flags, {}};
    for (UINT i = 0; i < parameters->cArgs; ++i) call.arguments.push_back(parameters->rgvarg[i]);
    calls.push_back(call);
    if (member == 2) return E_FAIL;
    if (member != 1 || parameters->cArgs != 2) return DISP_E_BADPARAMCOUNT;
    if (result) {
      VariantInit(result);
      result->vt = VT_I4;
      result->lVal = parameters->rgvarg[1].lVal + parameters->rgvarg[0].lVal;
    }
    return S_OK;
  }
};

VARIANT DispatchVariant(IDispatch* object) {
  VARIANT variant;
  VariantInit(&variant);
  variant.vt = VT_DISPATCH;
  variant.pdispVal = object;
  return variant;
}

using HostObjectTest = StandInTest;

TEST_F(HostObjectTest, AHostObjectIsHeldWhilePublishedAndLetGoWhenTheViewEnds) {
  MakeView();
  RecordingHost first, second;
  VARIANT firstVariant = DispatchVariant(&first);
  VARIANT secondVariant = DispatchVariant(&second);
  ASSERT_EQ(view_->AddHostObjectToScript(L"bridge", &firstVariant), S_OK);
  EXPECT_GT(first.references(), 0);
  ASSERT_EQ(view_->AddHostObjectToScript(L"bridge", &secondVariant), S_OK);
  EXPECT_EQ(first.references(), 0) << "publishing the same name again replaces the object";
  EXPECT_GT(second.references(), 0);
  ASSERT_EQ(view_->RemoveHostObjectFromScript(L"bridge"), S_OK);
  EXPECT_EQ(second.references(), 0);

  ASSERT_EQ(view_->AddHostObjectToScript(L"bridge", &firstVariant), S_OK);
  ASSERT_EQ(controller_->Close(), S_OK);
  EXPECT_EQ(first.references(), 0) << "the end of the view lets the object go";
}

TEST_F(HostObjectTest, OnlyAnAutomationObjectCanBePublished) {
  MakeView();
  CountedObject<IUnknown> plain;
  CountedObject<IUnknown> answersDispatch({IidText::IDispatch});
  RecordingHost host;
  VARIANT variant;
  VariantInit(&variant);
  variant.vt = VT_UNKNOWN;
  variant.punkVal = &plain;
  EXPECT_EQ(view_->AddHostObjectToScript(L"plain", &variant), E_INVALIDARG);
  EXPECT_EQ(plain.references(), 0);
  variant.vt = VT_I4;
  variant.lVal = 5;
  EXPECT_EQ(view_->AddHostObjectToScript(L"number", &variant), E_INVALIDARG);
  variant.vt = VT_DISPATCH;
  variant.pdispVal = nullptr;
  EXPECT_EQ(view_->AddHostObjectToScript(L"none", &variant), E_INVALIDARG);
  VARIANT host_ = DispatchVariant(&host);
  EXPECT_EQ(view_->AddHostObjectToScript(nullptr, &host_), E_INVALIDARG);
  EXPECT_EQ(view_->AddHostObjectToScript(L"host", nullptr), E_POINTER);
  EXPECT_EQ(view_->RemoveHostObjectFromScript(L"never published"), E_INVALIDARG);
  EXPECT_EQ(host.references(), 0);
}

// Page script runs in the platform's script engine: the tests below need an engine with script.
class ScriptTest : public StandInTest {
 protected:
  void SetUp() override {
    StandInTest::SetUp();
    MakeView();
    if (!HasScript()) GTEST_SKIP() << "the page engine runs no script yet";
  }

  // ExecuteScript's result as JSON, through its completion handler.
  std::wstring Execute(const wchar_t* script, HRESULT* error = nullptr) {
    TestHandler<ICoreWebView2ExecuteScriptCompletedHandler> handler(
        IidText::ICoreWebView2ExecuteScriptCompletedHandler);
    std::wstring json = L"(none)";
    HRESULT reported = E_UNEXPECTED;
    handler.onInvoke = [&](HRESULT result, LPCWSTR answer) {
      reported = result;
      json = answer ? answer : L"(null)";
    };
    {
      InsideCall inside;
      EXPECT_EQ(view_->ExecuteScript(script, &handler), S_OK);
    }
    EXPECT_EQ(handler.invoked, 0);
    EXPECT_TRUE(PumpUntil([&] { return handler.invoked > 0; }));
    EXPECT_FALSE(handler.invokedInsideCall);
    PumpUntil([&] { return handler.references() == 0; }, 1000);
    EXPECT_EQ(handler.references(), 0) << "a completion handler is let go once invoked";
    if (error) *error = reported;
    return json;
  }

  bool HasScript() {
    NavigateAndWait(L"about:blank");
    return Execute(L"1+1") == L"2";
  }

  PageServer server_;
  // Outlives the view, which the fixture ends first.
  RecordingHost host_;
};

TEST_F(ScriptTest, ExecuteScriptAnswersJson) {
  EXPECT_EQ(Execute(L"'a' + \"b\""), L"\"ab\"");
  EXPECT_EQ(Execute(L"undefined"), L"null");
  EXPECT_EQ(Execute(L"[1, 2].length === 2"), L"true");
}

TEST_F(ScriptTest, PageScriptCallsTheHostObjectAndSetsTheTitleFromItsResult) {
  server_.Serve("/", {200, "text/html; charset=utf-8",
                      "<html><head><title>waiting</title></head><body><script>"
                      "function later() {"
                      "  var calc = chrome.webview.hostObjects.sync.calc;"
                      "  if (!calc) { setTimeout(later, 20); return; }"
                      "  document.title = 'sum ' + calc.Add(2, 3);"
                      "}"
                      "setTimeout(later, 0);"
                      "</script></body></html>"});
  RecordingHost& calc = host_;
  // Published at NavigationCompleted, as a host does: the page reaches it from a timer.
  completed_.onInvoke = [&](ICoreWebView2* sender, ICoreWebView2NavigationCompletedEventArgs*) {
    VARIANT variant = DispatchVariant(&calc);
    EXPECT_EQ(sender->AddHostObjectToScript(L"calc", &variant), S_OK);
    log_.completed = true;
  };
  NavigateAndWait(server_.Uri("/"));
  ASSERT_TRUE(PumpUntil([&] { return Title() == L"sum 5"; }, 5000)) << Narrow(Title());
  ASSERT_EQ(calc.calls.size(), 1u);
  const RecordingHost::Call& call = calc.calls[0];
  EXPECT_EQ(call.member, 1);
  EXPECT_TRUE(call.flags & DISPATCH_METHOD);
  ASSERT_EQ(call.arguments.size(), 2u);
  EXPECT_EQ(call.arguments[0].vt, VT_I4);
  EXPECT_EQ(call.arguments[0].lVal, 3) << "arguments arrive in reverse order";
  EXPECT_EQ(call.arguments[1].vt, VT_I4);
  EXPECT_EQ(call.arguments[1].lVal, 2);
}

TEST_F(ScriptTest, AFailingHostCallIsAnExceptionThePageCanCatch) {
  server_.Serve("/", {200, "text/html; charset=utf-8",
                      "<html><head><title>waiting</title></head><body><script>"
                      "function later() {"
                      "  var host = chrome.webview.hostObjects.sync.host;"
                      "  if (!host) { setTimeout(later, 20); return; }"
                      "  try { host.Fail(); document.title = 'not thrown'; }"
                      "  catch (e) { document.title = 'caught ' + e.number; }"
                      "}"
                      "setTimeout(later, 0);"
                      "</script></body></html>"});
  completed_.onInvoke = [&](ICoreWebView2* sender, ICoreWebView2NavigationCompletedEventArgs*) {
    VARIANT variant = DispatchVariant(&host_);
    EXPECT_EQ(sender->AddHostObjectToScript(L"host", &variant), S_OK);
    log_.completed = true;
  };
  NavigateAndWait(server_.Uri("/"));
  const std::wstring expected = L"caught " + std::to_wstring(static_cast<long>(E_FAIL));
  ASSERT_TRUE(PumpUntil([&] { return Title() == expected; }, 5000)) << Narrow(Title());
}

}  // namespace
