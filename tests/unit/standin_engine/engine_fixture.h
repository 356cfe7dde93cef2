#pragma once

// An engine under test: a recording host, a loopback page server mapped to the host name
// "site.test", and a message pump.

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/page_engine.h"
#include "unit/standin_engine/loopback_server.h"

// Records every report as one line of text, with the engine's title at each title change.
class RecordingHost : public PageEngineHost {
 public:
  std::vector<std::wstring> events;
  std::map<std::wstring, IDispatch*> hostObjects;
  PageEngine* engine = nullptr;
  std::function<void()> onTitleChanged;  // runs after the title change is recorded

  void OnPageRequestsNavigation(const std::wstring& uri, bool userInitiated) override {
    events.push_back(L"navigate " + uri + (userInitiated ? L" user" : L" page"));
  }
  void OnContentLoading(bool isErrorPage) override {
    events.push_back(isErrorPage ? L"content error page" : L"content");
  }
  void OnTitleChanged() override {
    events.push_back(L"title " + (engine ? engine->Title() : std::wstring()));
    if (onTitleChanged) onTitleChanged();
  }
  void OnLoadFinished(bool success, int webErrorStatus, int httpStatus) override {
    events.push_back(L"finished " + std::to_wstring(success) + L" " + std::to_wstring(webErrorStatus) + L" " +
                     std::to_wstring(httpStatus));
  }
  IDispatch* FindHostObject(const std::wstring& name) override {
    const auto found = hostObjects.find(name);
    return found == hostObjects.end() ? nullptr : found->second;
  }
};

// Dispatches this thread's messages until condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds = 10000);
void PumpFor(DWORD milliseconds);

// The page painted into a bitmap of the given size; answers its pixels, row by row from the top.
std::vector<COLORREF> PaintPage(PageEngine& engine, int width, int height);
// The first pixel in link blue, or {-1, -1}.
POINT FirstLinkPixel(const std::vector<COLORREF>& pixels, int width);

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::wstring SiteUri(const std::string& path) const {
    return L"http://site.test" + std::wstring(path.begin(), path.end());
  }
  // Loads and pumps until the load finished; answers the events of the load.
  std::vector<std::wstring> LoadAndWait(const std::wstring& uri);
  bool Finished() const;

  LoopbackServer server_;
  RecordingHost host_;
  std::unique_ptr<PageEngine> engine_;
  bool comInitialized_ = false;
};
