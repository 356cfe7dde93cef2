// The engine end to end: loads over loopback, reports, error pages, painting and clicks.
#include <gtest/gtest.h>

#include "engine/page_layout.h"
#include "unit/standin_engine/engine_fixture.h"

namespace {

using Events = std::vector<std::wstring>;

TEST_F(EngineTest, PageLoadReportsContentTitleAndSuccessInOrder) {
  server_.Serve("/", "<html><head><title>Hello \xE4\xBD\xA0\xE5\xA5\xBD</title></head><body><p>x</p></body></html>");
  EXPECT_EQ(LoadAndWait(SiteUri("/")), (Events{L"content", L"title Hello \x4F60\x597D", L"finished 1 0 200"}));
  EXPECT_EQ(engine_->Title(), L"Hello \x4F60\x597D");
}

TEST_F(EngineTest, UntitledPageIsTitledWithItsUri) {
  server_.Serve("/plain", "<p>no title</p>");
  EXPECT_EQ(LoadAndWait(SiteUri("/plain")), (Events{L"content", L"title http://site.test/plain", L"finished 1 0 200"}));
  // Same title again: no title report.
  EXPECT_EQ(LoadAndWait(SiteUri("/plain")), (Events{L"content", L"finished 1 0 200"}));
  EXPECT_EQ(LoadAndWait(L"about:blank"), (Events{L"content", L"title about:blank", L"finished 1 0 0"}));
}

TEST_F(EngineTest, GbkPageDecodesThroughCodePage936) {
  CannedResponse response;
  response.headers = "Content-Type: text/html; charset=gb2312\r\n";
  response.body = "<title>\xD6\xD0\xCE\xC4</title>";
  server_.Serve("/gbk", response);
  server_.Serve("/meta",
                "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\"><title>\xD6\xD0</title>");
  LoadAndWait(SiteUri("/gbk"));
  EXPECT_EQ(engine_->Title(), L"\x4E2D\x6587");
  CannedResponse bare;
  bare.body = "<meta charset=gbk><title>\xD6\xD0</title>";
  server_.Serve("/meta", bare);
  LoadAndWait(SiteUri("/meta"));
  EXPECT_EQ(engine_->Title(), L"\x4E2D");
}

TEST_F(EngineTest, RedirectsAreFollowedThroughTheHostMapping) {
  CannedResponse moved;
  moved.status = 302;
  moved.headers = "Location: http://site.test/new\r\n";
  server_.Serve("/old", moved);
  server_.Serve("/new", "<title>New</title>");
  EXPECT_EQ(LoadAndWait(SiteUri("/old")), (Events{L"content", L"title New", L"finished 1 0 200"}));
  EXPECT_EQ(server_.Requests(), (std::vector<std::string>{"/old", "/new"}));
  // Mapped, the request still names the page's host, as Chromium sends it.
  EXPECT_EQ(server_.Hosts(), (std::vector<std::string>{"site.test", "site.test"}));
}

struct FailureCase {
  std::wstring uri;
  Events events;
};

TEST_F(EngineTest, FailuresShowAnErrorPageAndReportTheirStatus) {
  server_.Serve("/missing", CannedResponse{404, "", ""});
  server_.Serve("/broken", CannedResponse{500, "Content-Type: text/html\r\n", "<title>Server page</title>"});
  const std::wstring refused = L"http://127.0.0.1:" + std::to_wstring(UnusedLoopbackPort()) + L"/";
  const FailureCase cases[] = {
      {refused, {L"content error page", L"title 127.0.0.1", L"finished 0 12 0"}},
      {SiteUri("/missing"), {L"content error page", L"title site.test", L"finished 0 0 404"}},
      {SiteUri("/broken"), {L"content error page", L"finished 0 0 500"}},
  };
  for (const FailureCase& test : cases) EXPECT_EQ(LoadAndWait(test.uri), test.events) << test.uri;
}

TEST(EngineHostRules, NotFoundRuleGivesHostNameNotResolved) {
  RecordingHost host;
  PageEngineSettings settings;
  settings.browserArguments = L"--host-resolver-rules=\"MAP gone.test ~NOTFOUND\"";
  std::unique_ptr<PageEngine> engine = CreateBuiltInEngine(host, settings);
  host.engine = engine.get();
  engine->Load(L"http://gone.test/");
  ASSERT_TRUE(PumpUntil([&] { return host.events.size() == 3; }));
  EXPECT_EQ(host.events, (Events{L"content error page", L"title gone.test", L"finished 0 13 0"}));
}

TEST_F(EngineTest, AbandonedLoadsNeverReport) {
  server_.Serve("/a", "<title>A</title>");
  server_.Serve("/b", "<title>B</title>");
  engine_->Load(SiteUri("/a"));
  EXPECT_EQ(LoadAndWait(SiteUri("/b")), (Events{L"content", L"title B", L"finished 1 0 200"}));
  host_.events.clear();
  engine_->Load(SiteUri("/a"));
  engine_->Stop();
  engine_->Load(SiteUri("/b"));
  engine_.reset();
  host_.engine = nullptr;
  PumpFor(500);
  EXPECT_TRUE(host_.events.empty());
}

TEST_F(EngineTest, ClickOnAPaintedLinkAsksToNavigateThere) {
  server_.Serve("/links", "<h1>Heading</h1><p>Plain text before the link.</p><p><a href='/next?x=1'>Next page</a></p>");
  LoadAndWait(SiteUri("/links"));
  const int width = 400, height = 300;
  const std::vector<COLORREF> pixels = PaintPage(*engine_, width, height);
  const POINT link = FirstLinkPixel(pixels, width);
  size_t dark = 0;
  for (COLORREF pixel : pixels) dark += pixel == RGB(0, 0, 0);
  EXPECT_GT(dark, 50u) << "no black text painted";
  ASSERT_GE(link.x, 0) << "no blue link painted";

  host_.events.clear();
  engine_->OnMouseClick(POINT{width - 2, height - 2});
  engine_->OnMouseClick(link);
  EXPECT_TRUE(host_.events.empty()) << "reported inside OnMouseClick";
  ASSERT_TRUE(PumpUntil([this] { return !host_.events.empty(); }));
  PumpFor(50);
  EXPECT_EQ(host_.events, (Events{L"navigate http://site.test/next?x=1 user"}));
}

TEST(PageFontsTest, ChosenFaceHasChineseGlyphs) {
  const PageFonts fonts;
  EXPECT_FALSE(fonts.FaceName().empty()) << "no CJK-capable face installed";
  HDC screen = GetDC(nullptr);
  for (int level : {0, 1}) {
    const HGDIOBJ old = SelectObject(screen, fonts.Font(level, false));
    WORD glyphs[4] = {};
    ASSERT_EQ(GetGlyphIndicesW(screen, L"\x4E2D\x6587\x7FE0\x9E2E", 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 4u);
    for (WORD glyph : glyphs) EXPECT_NE(glyph, 0xFFFF) << "level " << level;
    SelectObject(screen, old);
  }
  ReleaseDC(nullptr, screen);
}

TEST_F(EngineTest, MultiMegabytePageIsPaintedAndScrolledInTime) {
  std::string page = "<title>Big</title>";
  for (int i = 0; page.size() < (3u << 20); ++i) {
    page += "<p>" + std::to_string(i) +
            " \xE6\xAE\xB5\xE8\x90\xBD paragraph with some words <a href=/x>link</a> and <b>bold";
  }
  server_.Serve("/big", page);
  // One paragraph of two megabytes: its lines must not each search the rest of it.
  std::string paragraph = "<title>Big</title><p>";
  for (int i = 0; paragraph.size() < (2u << 20); ++i) paragraph += std::to_string(i) + " \xE6\xAE\xB5 word ";
  server_.Serve("/paragraph", paragraph);
  for (const char* path : {"/big", "/paragraph"}) {
    LoadAndWait(SiteUri(path));
    const DWORD start = GetTickCount();
    const std::vector<COLORREF> top = PaintPage(*engine_, 300, 200);
    engine_->OnMouseWheel(-WHEEL_DELTA * 10);
    const std::vector<COLORREF> scrolled = PaintPage(*engine_, 300, 200);
    EXPECT_LT(GetTickCount() - start, 20000u) << path;
    EXPECT_NE(top, scrolled) << path;
    EXPECT_EQ(engine_->Title(), L"Big");
  }
}

}  // namespace
