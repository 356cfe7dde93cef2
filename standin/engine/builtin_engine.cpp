// The built-in engine: WinHTTP fetches the page on a worker thread, the HTML reader keeps its
// text, PageView paints it. Every report to the host runs from a posted task and checks, after
// each call out, that this load is still the current one: the host may start another load or
// destroy the engine from inside any report.
#include "engine/page_engine.h"

#include <memory>

#include "dispatcher.h"
#include "engine/charset.h"
#include "engine/error_page.h"
#include "engine/host_rules.h"
#include "engine/html_reader.h"
#include "engine/http_fetch.h"
#include "engine/page_view.h"
#include "engine/script_page.h"
#include "engine/script_session.h"
#include "engine/uri.h"
#include "journal.h"
#include "webview2/navigation_completed_args.h"

namespace {

class BuiltInEngine : public PageEngine, public ScriptPage {
 public:
  BuiltInEngine(PageEngineHost& host, const PageEngineSettings& settings)
      : host_(host), rules_(ParseHostResolverRules(settings.browserArguments)) {
    // JScript needs COM on this thread; the view's thread normally has it already.
    comInitialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    view_.Show(&document_);
  }
  ~BuiltInEngine() override {
    Abandon();
    gone_->store(true);
    // A session still running script keeps COM in use on this thread.
    const bool scriptRunning = ScriptSession::Discard(std::move(script_));
    if (comInitialized_ && !scriptRunning) CoUninitialize();
  }

  void Load(const std::wstring& uri) override {
    Abandon();
    load_ = std::make_shared<std::atomic<bool>>(false);
    const CancelFlag load = load_;
    Journalf("engine: load %ls", uri.c_str());
    if (uri == L"about:blank") {
      PostToThisThread([this, load, uri] {
        if (load->load()) return;
        FetchResult blank;
        blank.answered = true;
        blank.finalUri = uri;
        ShowPage(load, uri, blank);
      });
      return;
    }
    StartFetch(uri, rules_, load, [this, load, uri](FetchResult result) { ShowPage(load, uri, result); });
  }

  void Stop() override { Abandon(); }

  std::wstring Title() const override { return document_.title.empty() ? uri_ : document_.title; }

  void ExecuteScript(const std::wstring& script, std::function<void(HRESULT, const std::wstring&)> done) override {
    const CancelFlag gone = gone_;
    PostToThisThread([this, gone, script, done] {
      if (gone->load()) return;
      // As the runtime: a script that throws answers "null", not a failure.
      done(S_OK, Script().EvaluateToJson(script));
    });
  }

  void Attach(HWND window) override { view_.Attach(window); }
  void Paint(HDC dc, const RECT& client) override { view_.Paint(dc, client); }
  void OnMouseClick(POINT point) override {
    const LineSegment* segment = view_.SegmentAt(point);
    if (segment == nullptr || (segment->href.empty() && segment->onclick.empty())) return;
    const std::wstring target = segment->href;
    const std::wstring onclick = segment->onclick;
    const CancelFlag gone = gone_;
    PostToThisThread([this, gone, target, onclick] {
      if (gone->load()) return;
      // An onclick handler that returns false keeps the link from being followed.
      if (!onclick.empty() && Script().EvaluateToJson(L"(function () {" + onclick + L"\n})()") == L"false") return;
      if (gone->load() || target.empty()) return;
      if (target.compare(0, 11, L"javascript:") == 0) {
        Script().Run(target.substr(11));
      } else {
        host_.OnPageRequestsNavigation(target, true);
      }
    });
  }
  void OnMouseWheel(int delta) override { view_.Scroll(delta); }

 private:
  void Abandon() {
    if (load_) load_->store(true);
    load_.reset();
  }

  ScriptSession& Script() {
    if (!script_) script_ = std::make_unique<ScriptSession>(*this);
    return *script_;
  }

  // The answer for a load, on the view's thread: the page or the error page, its inline scripts,
  // then the reports. Every step after a report first checks that the load is still current.
  void ShowPage(const CancelFlag& load, const std::wstring& uri, const FetchResult& result) {
    const std::wstring titleBefore = Title();
    // HTTP errors show the error page too, as unreachable sites do.
    const bool failed = !result.answered || result.httpStatus >= 400;
    host_.OnContentLoading(failed);
    if (load->load()) return;
    ScriptSession::Discard(std::move(script_));
    uri_ = uri;
    documentUri_ = result.finalUri.empty() ? uri : result.finalUri;
    if (failed) {
      document_ = MakeErrorPage(uri, result.webErrorStatus, result.httpStatus);
    } else {
      document_ = ReadHtml(DecodePage(result.body, result.contentType), documentUri_);
    }
    view_.Show(&document_);
    if (Title() != titleBefore) {
      host_.OnTitleChanged();
      if (load->load()) return;
    }
    const std::vector<std::wstring> scripts = document_.scripts;
    for (const std::wstring& script : scripts) {
      Script().Run(script);
      if (load->load()) return;
    }
    // The document's events, as a browser raises them before the runtime completes the navigation.
    for (const wchar_t* event : {L"DOMContentLoaded", L"load"}) {
      if (!script_) break;
      script_->FireEvent(event);
      if (load->load()) return;
    }
    load_.reset();
    int webErrorStatus = result.webErrorStatus;
    if (result.httpStatus == 401)
      webErrorStatus = COREWEBVIEW2_WEB_ERROR_STATUS_VALID_AUTHENTICATION_CREDENTIALS_REQUIRED;
    if (result.httpStatus == 407) webErrorStatus = COREWEBVIEW2_WEB_ERROR_STATUS_VALID_PROXY_AUTHENTICATION_REQUIRED;
    Journalf("engine: loaded %ls, http %d, web error status %d", uri.c_str(), result.httpStatus, webErrorStatus);
    host_.OnLoadFinished(!failed, failed ? webErrorStatus : 0, result.httpStatus);
  }

  // ScriptPage: what the page's script reaches.
  HtmlDocument& Document() override { return document_; }
  void DocumentChanged() override { view_.DocumentChanged(); }
  std::wstring DocumentTitle() const override { return document_.title; }
  void SetDocumentTitle(const std::wstring& title) override {
    const std::wstring before = Title();
    document_.title = title;
    if (Title() != before) host_.OnTitleChanged();
  }
  std::wstring DocumentUri() const override { return documentUri_; }
  void RequestNavigation(const std::wstring& target) override {
    const std::wstring uri = ResolveUri(documentUri_, target);
    const CancelFlag gone = gone_;
    PostToThisThread([this, gone, uri] {
      if (!gone->load()) host_.OnPageRequestsNavigation(uri, false);
    });
  }
  IDispatch* FindHostObject(const std::wstring& name) override { return host_.FindHostObject(name); }

  PageEngineHost& host_;
  const std::vector<HostRule> rules_;
  CancelFlag load_;  // the load in flight, if any
  // Set when the engine is destroyed, for tasks posted outside any load.
  CancelFlag gone_ = std::make_shared<std::atomic<bool>>(false);
  bool comInitialized_ = false;
  std::wstring uri_;          // what the document was loaded as
  std::wstring documentUri_;  // where it came from, after redirects: the base of its links
  HtmlDocument document_;
  PageView view_;
  std::unique_ptr<ScriptSession> script_;  // made on first use for each document
};

}  // namespace

std::unique_ptr<PageEngine> CreateBuiltInEngine(PageEngineHost& host, const PageEngineSettings& settings) {
  return std::make_unique<BuiltInEngine>(host, settings);
}
