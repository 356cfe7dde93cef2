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
#include "journal.h"
#include "webview2/navigation_completed_args.h"

namespace {

class BuiltInEngine : public PageEngine {
 public:
  BuiltInEngine(PageEngineHost& host, const PageEngineSettings& settings)
      : host_(host), rules_(ParseHostResolverRules(settings.browserArguments)) {
    view_.Show(&document_);
  }
  ~BuiltInEngine() override {
    Abandon();
    gone_->store(true);
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

  void ExecuteScript(const std::wstring&, std::function<void(HRESULT, const std::wstring&)> done) override {
    PostToThisThread([done] { done(S_OK, L"null"); });
  }

  void Attach(HWND window) override { view_.Attach(window); }
  void Paint(HDC dc, const RECT& client) override { view_.Paint(dc, client); }
  void OnMouseClick(POINT point) override {
    const std::wstring target = view_.LinkAt(point);
    if (target.empty()) return;
    const CancelFlag gone = gone_;
    PostToThisThread([this, gone, target] {
      if (!gone->load()) host_.OnPageRequestsNavigation(target, true);
    });
  }
  void OnMouseWheel(int delta) override { view_.Scroll(delta); }

 private:
  void Abandon() {
    if (load_) load_->store(true);
    load_.reset();
  }

  // The answer for a load, on the view's thread: the page or the error page, then the reports.
  void ShowPage(const CancelFlag& load, const std::wstring& uri, const FetchResult& result) {
    const std::wstring titleBefore = Title();
    const bool failed = !result.answered || result.httpStatus >= 400;
    const bool isErrorPage = failed;
    host_.OnContentLoading(isErrorPage);
    if (load->load()) return;
    load_.reset();
    uri_ = uri;
    if (isErrorPage) {
      document_ = MakeErrorPage(uri, result.webErrorStatus, result.httpStatus);
    } else {
      document_ = ReadHtml(DecodePage(result.body, result.contentType), result.finalUri);
    }
    view_.Show(&document_);
    if (Title() != titleBefore) {
      host_.OnTitleChanged();
      if (load->load()) return;
    }
    int webErrorStatus = result.webErrorStatus;
    if (result.httpStatus == 401) webErrorStatus = COREWEBVIEW2_WEB_ERROR_STATUS_VALID_AUTHENTICATION_CREDENTIALS_REQUIRED;
    if (result.httpStatus == 407) webErrorStatus = COREWEBVIEW2_WEB_ERROR_STATUS_VALID_PROXY_AUTHENTICATION_REQUIRED;
    Journalf("engine: loaded %ls, http %d, web error status %d", uri.c_str(), result.httpStatus, webErrorStatus);
    host_.OnLoadFinished(!failed, failed ? webErrorStatus : 0, result.httpStatus);
  }

  PageEngineHost& host_;
  const std::vector<HostRule> rules_;
  CancelFlag load_;  // the load in flight, if any
  // Set when the engine is destroyed, for tasks posted outside any load.
  CancelFlag gone_ = std::make_shared<std::atomic<bool>>(false);
  std::wstring uri_;
  HtmlDocument document_;
  PageView view_;
};

}  // namespace

std::unique_ptr<PageEngine> CreateBuiltInEngine(PageEngineHost& host, const PageEngineSettings& settings) {
  return std::make_unique<BuiltInEngine>(host, settings);
}
