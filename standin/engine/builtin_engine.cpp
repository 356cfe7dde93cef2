// Placeholder until the engine lands: every load succeeds at once with an empty page.
#include "engine/page_engine.h"

#include "dispatcher.h"

namespace {

class EmptyEngine : public PageEngine {
 public:
  explicit EmptyEngine(PageEngineHost& host) : host_(host) {}
  void Load(const std::wstring& uri) override {
    uri_ = uri;
    PostToThisThread([this] {
      host_.OnContentLoading(false);
      host_.OnLoadFinished(true, 0, 200);
    });
  }
  void Stop() override {}
  std::wstring Title() const override { return uri_; }
  void ExecuteScript(const std::wstring&, std::function<void(HRESULT, const std::wstring&)> done) override {
    PostToThisThread([done] { done(S_OK, L"null"); });
  }
  void Attach(HWND) override {}
  void Paint(HDC, const RECT&) override {}
  void OnMouseClick(POINT) override {}
  void OnMouseWheel(int) override {}

 private:
  PageEngineHost& host_;
  std::wstring uri_;
};

}  // namespace

std::unique_ptr<PageEngine> CreateBuiltInEngine(PageEngineHost& host, const PageEngineSettings&) {
  return std::make_unique<EmptyEngine>(host);
}
