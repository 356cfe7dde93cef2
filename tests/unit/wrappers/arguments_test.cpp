#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "support/task_allocator_spy.h"
#include "unit/wrappers/wrapped_fakes.h"

// How the wrappers shape what they pass by value (bounds, zoom factors, tokens, enums, handles)
// and the texts they convert on the way in and out.

namespace {

using Numbers = std::vector<std::int64_t>;

TEST(ControllerBounds, ReachWebView2AsARectByValueWithRightAndBottomWrappedTo32Bits) {
  struct Case {
    const char* name;
    std::int32_t left, top, width, height;
    Numbers rect;
  } const cases[] = {
      {"the client area", 0, 0, 800, 600, {0, 0, 800, 600}},
      {"an offset area", 10, 20, 100, 50, {10, 20, 110, 70}},
      {"right past the signed range", INT32_MAX - 5, 0, 10, 1, {INT32_MAX - 5, 0, INT32_MIN + 4, 1}},
      {"bottom below the signed range", 0, INT32_MIN + 1, 0, -3, {0, INT32_MIN + 1, 0, INT32_MAX - 1}},
      {"a negative height, not reordered", 5, 50, 10, -60, {5, 50, 15, -10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WrappedFakes w(WrappedFakes::kLive);
    EXPECT_EQ(w.controller.put_Bounds(c.left, c.top, c.width, c.height), S_OK);
    EXPECT_EQ(w.fakeController.calls.back().numbers, c.rect);
  }
}

TEST(ControllerBounds, RecordsAndZoomFactorsTravelUnchanged) {
  WrappedFakes w(WrappedFakes::kLive);
  w.controller.put_BoundsRect(RECT{1, 2, 3, 4});
  EXPECT_EQ(w.fakeController.calls.back().numbers, (Numbers{1, 2, 3, 4}));

  w.controller.SetBoundsAndZoomFactor(RECT{-1, -2, 30, 40}, 1.25);
  EXPECT_EQ(w.fakeController.calls.back().numbers, (Numbers{-1, -2, 30, 40}));
  EXPECT_EQ(w.fakeController.calls.back().reals, (std::vector<double>{1.25}));

  w.controller.put_ZoomFactor(0.1);
  EXPECT_EQ(w.fakeController.calls.back().reals, (std::vector<double>{0.1}));

  w.fakeController.answers.real = 2.5;
  EXPECT_EQ(w.controller.get_ZoomFactor(), 2.5);

  w.fakeController.answers.rect = RECT{7, 8, 9, 10};
  RECT bounds{};
  EXPECT_EQ(w.controller.get_Bounds(bounds), S_OK);
  EXPECT_EQ((Numbers{bounds.left, bounds.top, bounds.right, bounds.bottom}), (Numbers{7, 8, 9, 10}));
}

TEST(ControllerBounds, AnEmptyControllerLeavesTheCallersRecordAsItWas) {
  ControllerWrapper controller;
  RECT bounds{1, 2, 3, 4};
  EXPECT_EQ(controller.get_Bounds(bounds), S_FALSE);
  EXPECT_EQ((Numbers{bounds.left, bounds.top, bounds.right, bounds.bottom}), (Numbers{1, 2, 3, 4}));
}

TEST(ByValueArguments, TokensEnumsAndHandlesReachWebView2Whole) {
  struct Case {
    const char* name;
    FakeAccess fake;
    void (*call)(WrappedFakes& w);
    Numbers numbers;
  } const cases[] = {
      {"a token with its high half",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w) { w.view.remove_NavigationCompleted({0x123456789ABCDEF0}); },
       {0x123456789ABCDEF0}},
      {"token 0, as given",
       FakeOf<&WrappedFakes::fakeController>,
       [](WrappedFakes& w) { w.controller.remove_GotFocus({0}); },
       {0}},
      {"a move-focus reason",
       FakeOf<&WrappedFakes::fakeController>,
       [](WrappedFakes& w) { w.controller.MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS); },
       {2}},
      {"a parent window",
       FakeOf<&WrappedFakes::fakeController>,
       [](WrappedFakes& w) { w.controller.put_ParentWindow(reinterpret_cast<HWND>(0x00A0B0C0)); },
       {0x00A0B0C0}},
      {"a visibility",
       FakeOf<&WrappedFakes::fakeController>,
       [](WrappedFakes& w) { w.controller.put_IsVisible(TRUE); },
       {1}},
      {"a favicon format",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w) { w.view15.GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT_JPEG, nullptr, 0); },
       {1}},
      {"a resource context",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w) { w.view.AddWebResourceRequestedFilter("*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER); },
       {16}},
      {"a status code",
       FakeOf<&WrappedFakes::fakeEnvironment>,
       [](WrappedFakes& w) { w.environment.CreateWebResourceResponse(InterfaceHolder(), 404, "", "", w.out); },
       {404}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WrappedFakes w(WrappedFakes::kLive);
    c.call(w);
    EXPECT_EQ(c.fake(w).calls.back().numbers, c.numbers);
  }
}

TEST(ValueProperties, AnswerWhatWebView2WroteAndZeroWhenTheCallFails) {
  struct Case {
    const char* name;
    FakeAccess fake;
    std::int64_t (*get)(WrappedFakes& w);
    std::int64_t written;
  } const cases[] = {
      {"get_NavigationId above 2^32", FakeOf<&WrappedFakes::fakeArgs>,
       [](WrappedFakes& w) { return static_cast<std::int64_t>(w.args.get_NavigationId()); }, 0x123456789},
      {"get_IsSuccess", FakeOf<&WrappedFakes::fakeArgs>,
       [](WrappedFakes& w) { return std::int64_t{w.args.get_IsSuccess()}; }, TRUE},
      {"get_WebErrorStatus", FakeOf<&WrappedFakes::fakeArgs>,
       [](WrappedFakes& w) { return std::int64_t{w.args.get_WebErrorStatus()}; },
       COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED},
      {"get_BrowserProcessId, all 32 bits", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w) { return std::int64_t{w.view.get_BrowserProcessId()}; }, 0xFFFFFFF0},
      {"get_CanGoBack", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w) { return std::int64_t{w.view.get_CanGoBack()}; }, TRUE},
      {"get_ContainsFullScreenElement", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w) { return std::int64_t{w.view.get_ContainsFullScreenElement()}; }, TRUE},
      {"get_IsVisible", FakeOf<&WrappedFakes::fakeController>,
       [](WrappedFakes& w) { return std::int64_t{w.controller.get_IsVisible()}; }, TRUE},
      {"get_ParentWindow", FakeOf<&WrappedFakes::fakeController>,
       [](WrappedFakes& w) { return std::int64_t{reinterpret_cast<std::intptr_t>(w.controller.get_ParentWindow())}; },
       0x00ABCDEF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WrappedFakes w(WrappedFakes::kLive);
    c.fake(w).answers.number = c.written;
    EXPECT_EQ(c.get(w), c.written);
    c.fake(w).answers.result = E_FAIL;
    EXPECT_EQ(c.get(w), 0);
  }
}

// U+00E9, U+4E2D and U+1F600, which UTF-16 writes as a surrogate pair.
const char kUtf8[] = "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80";
const wchar_t kUtf16[] = L"\u00E9\u4E2D\xD83D\xDE00";

TEST(TextArguments, ReachWebView2AsTheExactUtf16UnitsAndAbsentAsTheEmptyString) {
  struct Case {
    const char* name;
    FakeAccess fake;
    void (*call)(WrappedFakes& w, TextArg text);
    std::size_t texts;
  } const cases[] = {
      {"Navigate", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, TextArg t) { w.view.Navigate(t); }, 1},
      {"NavigateToString", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, TextArg t) { w.view.NavigateToString(t); }, 1},
      {"PostWebMessageAsJson", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, TextArg t) { w.view.PostWebMessageAsJson(t); }, 1},
      {"PostWebMessageAsString", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, TextArg t) { w.view.PostWebMessageAsString(t); }, 1},
      {"RemoveHostObjectFromScript", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, TextArg t) { w.view.RemoveHostObjectFromScript(t); }, 1},
      {"AddHostObjectToScript", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, TextArg t) { w.view.AddHostObjectToScript(t, ComRef()); }, 1},
      {"AddWebResourceRequestedFilter", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, TextArg t) {
         w.view.AddWebResourceRequestedFilter(t, COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
       },
       1},
      {"RemoveWebResourceRequestedFilter", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, TextArg t) {
         w.view.RemoveWebResourceRequestedFilter(t, COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
       },
       1},
      {"ExecuteScript", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, TextArg t) { w.view.ExecuteScript(t, nullptr, 0); }, 1},
      {"AddScriptToExecuteOnDocumentCreated", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, TextArg t) { w.view.AddScriptToExecuteOnDocumentCreated(t, nullptr, 0); }, 1},
      {"CallDevToolsProtocolMethod", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, TextArg t) { w.view.CallDevToolsProtocolMethod(t, t, nullptr, 0); }, 2},
      {"GetDevToolsProtocolEventReceiver", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, TextArg t) { w.view.GetDevToolsProtocolEventReceiver(t); }, 1},
      {"CreateWebResourceRequest", FakeOf<&WrappedFakes::fakeEnvironment>,
       [](WrappedFakes& w, TextArg t) { w.environment4.CreateWebResourceRequest(t, t, InterfaceHolder(), t, w.out); },
       3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WrappedFakes w(WrappedFakes::kLive);
    c.call(w, kUtf8);
    EXPECT_EQ(c.fake(w).calls.back().texts, (std::vector<std::optional<std::wstring>>(c.texts, std::wstring(kUtf16))));
    c.call(w, nullptr);
    EXPECT_EQ(c.fake(w).calls.back().texts, (std::vector<std::optional<std::wstring>>(c.texts, std::wstring())));
  }
}

TEST(TextArguments, AnAbsentReasonPhraseOrHeadersTextReachesWebView2AsNull) {
  WrappedFakes w(WrappedFakes::kLive);
  w.environment.CreateWebResourceResponse(InterfaceHolder(), 200, kUtf8, nullptr, w.out);
  EXPECT_EQ(w.fakeEnvironment.calls.back().texts,
            (std::vector<std::optional<std::wstring>>{std::wstring(kUtf16), std::nullopt}));
  w.environment.CreateWebResourceResponse(InterfaceHolder(), 200, nullptr, "", w.out);
  EXPECT_EQ(w.fakeEnvironment.calls.back().texts,
            (std::vector<std::optional<std::wstring>>{std::nullopt, std::wstring()}));
}

struct TextResultCase {
  const char* name;
  FakeAccess fake;
  std::string (*get)(WrappedFakes& w);
};

const TextResultCase kUtf8Results[] = {
    {"get_Source", FakeOf<&WrappedFakes::fakeView>,
     [](WrappedFakes& w) { return w.view.get_Source(); }},
    {"get_DocumentTitle", FakeOf<&WrappedFakes::fakeView>,
     [](WrappedFakes& w) { return w.view.get_DocumentTitle(); }},
    {"get_BrowserVersionString", FakeOf<&WrappedFakes::fakeEnvironment>,
     [](WrappedFakes& w) { return w.environment.get_BrowserVersionString(); }},
    {"get_BrowserVersionString of the later environment",
     FakeOf<&WrappedFakes::fakeEnvironment>,
     [](WrappedFakes& w) { return w.environment4.get_BrowserVersionString(); }},
};

TEST(TextResults, ComeBackAsUtf8AndTheReceivedStringIsFreedOnce) {
  for (const TextResultCase& c : kUtf8Results) {
    SCOPED_TRACE(c.name);
    WrappedFakes w(WrappedFakes::kLive);
    TaskAllocatorSpy spy;
    c.fake(w).answers.text = kUtf16;
    EXPECT_EQ(c.get(w), kUtf8);
    ASSERT_EQ(c.fake(w).handedOutTexts.size(), 1u);
    EXPECT_EQ(spy.FreeCount(c.fake(w).handedOutTexts[0]), 1);
    EXPECT_EQ(spy.liveBlocks(), 0);
  }
}

TEST(TextResults, NoStringWrittenGivesTheEmptyTextAndFreesNothing) {
  for (const TextResultCase& c : kUtf8Results) {
    SCOPED_TRACE(c.name);
    WrappedFakes w(WrappedFakes::kLive);
    TaskAllocatorSpy spy;
    EXPECT_EQ(c.get(w), "");
    EXPECT_EQ(spy.frees(), 0);
  }
}

TEST(TextResults, TheFaviconUriComesBackInCodePage936) {
  struct Case {
    const char* name;
    const wchar_t* uri;
    const char* text;
  } const cases[] = {
      {"ASCII", L"http://example.test/favicon.ico", "http://example.test/favicon.ico"},
      {"Chinese", L"http://example.test/\u4E2D.ico", "http://example.test/\xD6\xD0.ico"},
      {"a character that code page 936 lacks", L"http://example.test/\u0E01.ico", "http://example.test/?.ico"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WrappedFakes w(WrappedFakes::kLive);
    TaskAllocatorSpy spy;
    w.fakeView.answers.text = c.uri;
    EXPECT_EQ(w.view15.get_FaviconUri(), c.text);
    ASSERT_EQ(w.fakeView.handedOutTexts.size(), 1u);
    EXPECT_EQ(spy.FreeCount(w.fakeView.handedOutTexts[0]), 1);
  }
}

TEST(TextArguments, TheScriptIdGoesBackUnconverted) {
  WrappedFakes w(WrappedFakes::kLive);
  w.view.RemoveScriptToExecuteOnDocumentCreated(kUtf16);
  EXPECT_EQ(w.fakeView.calls.back().texts, (std::vector<std::optional<std::wstring>>{std::wstring(kUtf16)}));
}

}  // namespace
