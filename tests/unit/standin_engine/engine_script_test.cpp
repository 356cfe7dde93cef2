// Page script in JScript: inline scripts, the named objects, host objects, timers, ExecuteScript.
#include <gtest/gtest.h>

#include <oaidl.h>

#include "unit/standin_engine/engine_fixture.h"

namespace {

using Events = std::vector<std::wstring>;

// A host object as a host publishes one: add(a, b) answers a + b, fail() fails with
// E_ACCESSDENIED. It records each call's flags and arguments as they arrived.
class RecordingHostObject : public IDispatch {
 public:
  struct Call {
    std::wstring name;
    WORD flags = 0;
    std::vector<VARTYPE> types;  // as in DISPPARAMS: reversed
    std::vector<LONG> values;
  };
  std::vector<Call> calls;
  LONG references = 1;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch)) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
    const std::wstring name = names[0];
    if (name == L"add")
      *ids = 1;
    else if (name == L"fail")
      *ids = 2;
    else
      return DISP_E_UNKNOWNNAME;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                   UINT*) override {
    Call call;
    call.name = id == 1 ? L"add" : L"fail";
    call.flags = flags;
    LONG sum = 0;
    for (UINT i = 0; i < params->cArgs; ++i) {
      call.types.push_back(V_VT(&params->rgvarg[i]));
      const LONG value = V_VT(&params->rgvarg[i]) == VT_I4 ? V_I4(&params->rgvarg[i]) : -1;
      call.values.push_back(value);
      sum += value;
    }
    calls.push_back(call);
    if (id == 2) return E_ACCESSDENIED;
    if (result) {
      V_VT(result) = VT_I4;
      V_I4(result) = sum;
    }
    return S_OK;
  }
};

class EngineScriptTest : public EngineTest {
 protected:
  // Runs the script through ExecuteScript; answers the JSON.
  std::wstring Execute(const std::wstring& script) {
    bool done = false;
    std::wstring json;
    HRESULT status = E_UNEXPECTED;
    engine_->ExecuteScript(script, [&](HRESULT hr, const std::wstring& result) {
      done = true;
      status = hr;
      json = result;
    });
    EXPECT_FALSE(done) << "answered inside ExecuteScript";
    EXPECT_TRUE(PumpUntil([&] { return done; }));
    EXPECT_EQ(status, S_OK) << script;
    return json;
  }

  RecordingHostObject bridge_;
};

TEST_F(EngineScriptTest, InlineScriptCallsAHostObjectAndSetsTheTitleBeforeTheLoadFinishes) {
  host_.hostObjects[L"bridge"] = &bridge_;
  server_.Serve("/",
                "<title>before</title><script>document.title = 'sum ' + "
                "chrome.webview.hostObjects.sync.bridge.add(2, 3);</script>");
  EXPECT_EQ(LoadAndWait(SiteUri("/")), (Events{L"content", L"title before", L"title sum 5", L"finished 1 0 200"}));
  ASSERT_EQ(bridge_.calls.size(), 1u);
  const RecordingHostObject::Call& call = bridge_.calls[0];
  EXPECT_EQ(call.name, L"add");
  EXPECT_TRUE(call.flags & DISPATCH_METHOD);
  EXPECT_EQ(call.types, (std::vector<VARTYPE>{VT_I4, VT_I4}));
  EXPECT_EQ(call.values, (std::vector<LONG>{3, 2}));
  engine_.reset();
  EXPECT_EQ(bridge_.references, 1) << "host object still held after the engine went";
}

TEST_F(EngineScriptTest, AFailingHostCallIsAnExceptionThePageCatches) {
  host_.hostObjects[L"bridge"] = &bridge_;
  server_.Serve("/",
                "<script>try { chrome.webview.hostObjects.sync.bridge.fail(); document.title = 'not thrown'; }"
                " catch (e) { document.title = 'caught ' + e.number; }</script>");
  LoadAndWait(SiteUri("/"));
  EXPECT_EQ(engine_->Title(), L"caught " + std::to_wstring(static_cast<LONG>(E_ACCESSDENIED)));
}

TEST_F(EngineScriptTest, TimersRunLaterInOrderAndReachAHostObjectPublishedAfterTheLoad) {
  server_.Serve("/",
                "<title>t</title><script>"
                "var log = [typeof chrome.webview.hostObjects.sync.bridge];"
                "setTimeout(function () { log.push('late');"
                "  document.title = log.join(',') + ' ' + chrome.webview.hostObjects.sync.bridge.add(2, 3); }, 400);"
                "setTimeout(function () { log.push('soon'); }, 150);"
                "window.setTimeout(\"log.push('now')\", 0);"
                "var cleared = setTimeout(function () { log.push('cleared'); }, 50); clearTimeout(cleared);"
                "log.push('inline');</script>");
  EXPECT_EQ(LoadAndWait(SiteUri("/")), (Events{L"content", L"title t", L"finished 1 0 200"}));
  host_.hostObjects[L"bridge"] = &bridge_;
  ASSERT_TRUE(PumpUntil([this] { return host_.events.size() == 4; }));
  EXPECT_EQ(host_.events[3], L"title undefined,inline,now,soon,late 5");
}

TEST_F(EngineScriptTest, LoadListenersRunAfterTheInlineScriptsAndBeforeTheLoadFinishes) {
  server_.Serve("/",
                "<title>t</title><script>var log = [];"
                "function show(what) { return function () { log.push(what); document.title = log.join(','); }; }"
                "window.addEventListener('load', show('load'));"
                "var removed = show('removed'); window.addEventListener('load', removed);"
                "window.removeEventListener('load', removed);"
                "document.addEventListener('DOMContentLoaded', show('ready'));"
                "window.onload = show('onload');</script><script>log.push('inline');</script>");
  EXPECT_EQ(LoadAndWait(SiteUri("/")),
            (Events{L"content", L"title t", L"title inline,ready", L"title inline,ready,load",
                    L"title inline,ready,load,onload", L"finished 1 0 200"}));
}

struct ClickCase {
  const char* page;
  Events events;  // after the click
};

TEST_F(EngineScriptTest, ClicksRunOnclickScriptsWhichCanKeepTheLinkFromBeingFollowed) {
  host_.hostObjects[L"bridge"] = &bridge_;
  const ClickCase cases[] = {
      {"<p><a href='/next' onclick=\"document.title = 'stayed'; return false;\">Stay</a></p>", {L"title stayed"}},
      {"<p><a href='/next' onclick=\"document.title = 'followed'\">Go</a></p>",
       {L"title followed", L"navigate http://site.test/next user"}},
      {"<p><button onclick=\"document.title = 'sum ' + chrome.webview.hostObjects.sync.bridge.add(2, "
       "3)\">Call</button>",
       {L"title sum 5"}},
      {"<p><input type=button value=Call onclick=\"document.title = 'input'\"></p>", {L"title input"}},
      {"<p><a href=\"javascript:document.title = 'scheme'\">Run</a></p>", {L"title scheme"}},
  };
  for (const ClickCase& test : cases) {
    server_.Serve("/click", std::string("<title>t</title>") + test.page);
    LoadAndWait(SiteUri("/click"));
    const POINT link = FirstLinkPixel(PaintPage(*engine_, 300, 100), 300);
    ASSERT_GE(link.x, 0) << test.page;
    host_.events.clear();
    engine_->OnMouseClick(link);
    PumpUntil([this] { return !host_.events.empty(); });
    PumpFor(100);
    EXPECT_EQ(host_.events, test.events) << test.page;
  }
}

// The host ends the engine from inside a report that the page's script caused: the script runs
// into an exception instead of into freed memory, and nothing more is reported.
TEST_F(EngineScriptTest, EngineEndedByTheHostWhileItsScriptRuns) {
  host_.onTitleChanged = [this] {
    if (host_.events.back() != L"title end") return;
    host_.engine = nullptr;
    engine_.reset();
  };
  server_.Serve("/", "<title>t</title><script>setTimeout(function () { document.title = 'late'; }, 200);</script>");
  LoadAndWait(SiteUri("/"));
  const size_t reports = host_.events.size();
  bool done = false;
  engine_->ExecuteScript(L"document.title = 'end'; document.title = 'after'; 1",
                         [&](HRESULT, const std::wstring&) { done = true; });
  PumpFor(300);
  EXPECT_EQ(engine_, nullptr);
  ASSERT_EQ(host_.events.size(), reports + 1);
  EXPECT_EQ(host_.events.back(), L"title end");

  // The same from an inline script while the page loads.
  engine_ = CreateBuiltInEngine(host_, PageEngineSettings());
  host_.engine = engine_.get();
  host_.events.clear();
  engine_->Load(L"http://127.0.0.1:" + std::to_wstring(server_.port()) + L"/ending");
  server_.Serve("/ending", "<script>document.title = 'end'; document.title = 'after';</script>");
  PumpFor(1000);
  EXPECT_EQ(engine_, nullptr);
  EXPECT_EQ(host_.events, (Events{L"content", L"title http://127.0.0.1:" + std::to_wstring(server_.port()) + L"/ending",
                                  L"title end"}));
}

TEST_F(EngineScriptTest, ScriptErrorsAreJournaledAndThePageKept) {
  server_.Serve("/",
                "<title>kept</title><p>text</p><script>this is not script(</script>"
                "<script>undefinedFunction();</script><script>document.title = 'ran on';</script>");
  EXPECT_EQ(LoadAndWait(SiteUri("/")), (Events{L"content", L"title kept", L"title ran on", L"finished 1 0 200"}));
  EXPECT_EQ(Execute(L"document.body.innerText"), L"\"text\"");
}

TEST_F(EngineScriptTest, ScriptWritesTextIntoThePage) {
  server_.Serve("/",
                "<p>Result: <span id=r>none</span></p><p id=other>other</p>"
                "<script>document.getElementById('r').textContent = 'forty-two';</script>");
  LoadAndWait(SiteUri("/"));
  EXPECT_EQ(Execute(L"document.body.innerText"), L"\"Result: forty-two\\nother\"");
  EXPECT_EQ(Execute(L"document.getElementById('missing')"), L"null");
  Execute(L"document.body.innerText = 'replaced'");
  EXPECT_EQ(Execute(L"document.body.textContent"), L"\"replaced\"");
  Execute(L"document.write('<p>written</p>')");
  EXPECT_EQ(Execute(L"document.body.innerText"), L"\"replaced\\nwritten\"");
}

TEST_F(EngineScriptTest, LocationAsksTheHostToNavigate) {
  server_.Serve("/dir/page", "<script>setTimeout(function () { location.href = 'other?x'; }, 0);</script>");
  LoadAndWait(SiteUri("/dir/page"));
  ASSERT_TRUE(PumpUntil([this] { return host_.events.size() == 4; }));
  EXPECT_EQ(host_.events.back(), L"navigate http://site.test/dir/other?x page");
  EXPECT_EQ(Execute(L"location.href"), L"\"http://site.test/dir/page\"");
  host_.events.clear();
  Execute(L"location.reload()");
  ASSERT_TRUE(PumpUntil([this] { return !host_.events.empty(); }));
  EXPECT_EQ(host_.events, (Events{L"navigate http://site.test/dir/page page"}));
}

TEST_F(EngineScriptTest, MethodsReadAsValuesAreCallable) {
  server_.Serve("/", "<title>t</title>");
  LoadAndWait(SiteUri("/"));
  EXPECT_EQ(Execute(L"!!window.addEventListener && !!document.getElementById"), L"true");
  EXPECT_EQ(Execute(L"var set = window.setTimeout; set(function () { document.title = 'via reference'; }, 0) > 0"),
            L"true");
  ASSERT_TRUE(PumpUntil([this] { return host_.events.back() == L"title via reference"; }));
}

struct JsonCase {
  const wchar_t* script;
  const wchar_t* json;
};

TEST_F(EngineScriptTest, ExecuteScriptAnswersTheResultAsJson) {
  server_.Serve("/", "<title>T</title>");
  LoadAndWait(SiteUri("/"));
  const JsonCase cases[] = {
      {L"1 + 2", L"3"},
      {L"-5", L"-5"},
      {L"0.1 + 0.2", L"0.30000000000000004"},
      {L"1e-7", L"1e-7"},
      {L"1 / 0", L"null"},
      {L"true", L"true"},
      {L"'a\"b\\\\c\\n\x4E2D'", L"\"a\\\"b\\\\c\\n\x4E2D\""},
      {L"undefined", L"null"},
      {L"null", L"null"},
      {L"var q = 6; q * 7", L"42"},
      {L"({a: 1, b: [1, 'x']})", L"{\"a\":1,\"b\":[1,\"x\"]}"},
      {L"(function () {})", L"null"},
      {L"throw new Error('x')", L"null"},
      {L"this is not script(", L"null"},
      {L"document.title", L"\"T\""},
  };
  for (const JsonCase& test : cases) EXPECT_EQ(Execute(test.script), test.json) << test.script;
}

}  // namespace
