#include "unit/standin_engine/engine_fixture.h"

bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > milliseconds) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void PumpFor(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

std::vector<COLORREF> PaintPage(PageEngine& engine, int width, int height) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  engine.Paint(dc, RECT{0, 0, width, height});
  std::vector<COLORREF> pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

POINT FirstLinkPixel(const std::vector<COLORREF>& pixels, int width) {
  for (size_t i = 0; i < pixels.size(); ++i) {
    const COLORREF color = pixels[i];
    if (GetRValue(color) < 100 && GetGValue(color) < 100 && GetBValue(color) > 150) {
      return POINT{static_cast<LONG>(i % width), static_cast<LONG>(i / width)};
    }
  }
  return POINT{-1, -1};
}

void EngineTest::SetUp() {
  comInitialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  PageEngineSettings settings;
  settings.browserArguments =
      L"--no-sandbox --host-resolver-rules=\"MAP site.test 127.0.0.1:" + std::to_wstring(server_.port()) + L"\"";
  engine_ = CreateBuiltInEngine(host_, settings);
  host_.engine = engine_.get();
}

void EngineTest::TearDown() {
  engine_.reset();
  PumpFor(50);
  if (comInitialized_) CoUninitialize();
}

bool EngineTest::Finished() const {
  for (const std::wstring& event : host_.events) {
    if (event.compare(0, 8, L"finished") == 0) return true;
  }
  return false;
}

std::vector<std::wstring> EngineTest::LoadAndWait(const std::wstring& uri) {
  host_.events.clear();
  engine_->Load(uri);
  EXPECT_TRUE(host_.events.empty()) << "reported inside Load";
  EXPECT_TRUE(PumpUntil([this] { return Finished(); })) << "no end of load";
  return host_.events;
}
