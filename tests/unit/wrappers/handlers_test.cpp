#include <gtest/gtest.h>

#include <string>

#include "com/heap.h"
#include "support/iid.h"
#include "support/process_heap.h"
#include "unit/wrappers/wrapped_fakes.h"
#include "webview2/iid_text.h"

// Every event subscription and every asynchronous call hands WebView2 a handler object: made for
// the handler interface of the published tables, owned by WebView2 alone once the method returns,
// forwarding Invoke to the routine with its context, and freed when WebView2 drops it.

namespace {

const HWND kWindow = reinterpret_cast<HWND>(0x1234);

class HandlerTest : public testing::Test {
 protected:
  void SetUp() override { routineCalls.clear(); }
};

// The one handler the fake keeps for the event, answering its interface and IUnknown only, with
// the fake's reference as its only one.
IUnknown* OnlyHandlerOf(const Recorder& fake, const std::string& event, const char* interfaceIdText) {
  const std::vector<IUnknown*> handlers = fake.HandlersOf(event);
  EXPECT_EQ(handlers.size(), 1u);
  if (handlers.size() != 1) return nullptr;
  IUnknown* handler = handlers[0];
  EXPECT_EQ(ReferenceCount(handler), 1u);
  void* answer = nullptr;
  EXPECT_EQ(handler->QueryInterface(IidOf(interfaceIdText), &answer), S_OK);
  if (answer != nullptr) handler->Release();
  EXPECT_EQ(handler->QueryInterface(IidOf(IidText::IDispatch), &answer), E_NOINTERFACE);
  return handler;
}

struct EventRow {
  const char* method;
  const char* event;
  const char* handlerInterfaceIdText;
  FakeAccess fake;
  EventRegistrationToken (*add)(WrappedFakes& w, ULONG_PTR context);
  HRESULT (*remove)(WrappedFakes& w, EventRegistrationToken token);
};

const std::vector<EventRow>& EventRows() {
  static const std::vector<EventRow> rows = {
      {"EnvironmentWrapper::add_NewBrowserVersionAvailable", "NewBrowserVersionAvailable",
       "{f9a2976e-d34e-44fc-adee-81b6b57ca914}", FakeOf<&WrappedFakes::fakeEnvironment>,
       [](WrappedFakes& w, ULONG_PTR context) {
         return w.environment.add_NewBrowserVersionAvailable(NotingRoutine, context);
       },
       [](WrappedFakes& w, EventRegistrationToken token) {
         return w.environment.remove_NewBrowserVersionAvailable(token);
       }},
      {"ControllerWrapper::add_ZoomFactorChanged", "ZoomFactorChanged", "{b52d71d6-c4df-4543-a90c-64a3e60f38cb}",
       FakeOf<&WrappedFakes::fakeController>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.controller.add_ZoomFactorChanged(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.controller.remove_ZoomFactorChanged(token); }},
      {"ControllerWrapper::add_MoveFocusRequested", "MoveFocusRequested", "{69035451-6dc7-4cb8-9bce-b2bd70ad289f}",
       FakeOf<&WrappedFakes::fakeController>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.controller.add_MoveFocusRequested(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.controller.remove_MoveFocusRequested(token); }},
      {"ControllerWrapper::add_GotFocus", "GotFocus", "{05ea24bd-6452-4926-9014-4b82b498135d}",
       FakeOf<&WrappedFakes::fakeController>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.controller.add_GotFocus(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.controller.remove_GotFocus(token); }},
      {"ControllerWrapper::add_LostFocus", "LostFocus", "{05ea24bd-6452-4926-9014-4b82b498135d}",
       FakeOf<&WrappedFakes::fakeController>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.controller.add_LostFocus(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.controller.remove_LostFocus(token); }},
      {"ControllerWrapper::add_AcceleratorKeyPressed", "AcceleratorKeyPressed",
       "{b29c7e28-fa79-41a8-8e44-65811c76dcb2}", FakeOf<&WrappedFakes::fakeController>,
       [](WrappedFakes& w, ULONG_PTR context) {
         return w.controller.add_AcceleratorKeyPressed(NotingRoutine, context);
       },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.controller.remove_AcceleratorKeyPressed(token); }},
      {"WebView15Wrapper::add_FaviconChanged", "FaviconChanged", "{2913da94-833d-4de0-8dca-900fc524a1a4}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view15.add_FaviconChanged(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view15.remove_FaviconChanged(token); }},
      {"DevToolsProtocolEventReceiverWrapper::add_DevToolsProtocolEventReceived", "DevToolsProtocolEventReceived",
       "{e2fda4be-5456-406c-a261-3d452138362c}", FakeOf<&WrappedFakes::fakeReceiver>,
       [](WrappedFakes& w, ULONG_PTR context) {
         return w.receiver.add_DevToolsProtocolEventReceived(NotingRoutine, context);
       },
       [](WrappedFakes& w, EventRegistrationToken token) {
         return w.receiver.remove_DevToolsProtocolEventReceived(token);
       }},
      {"WebViewWrapper::add_NavigationStarting", "NavigationStarting", "{9adbe429-f36d-432b-9ddc-f8881fbd76e3}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.add_NavigationStarting(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view.remove_NavigationStarting(token); }},
      {"WebViewWrapper::add_ContentLoading", "ContentLoading", "{364471e7-f2be-4910-bdba-d72077d51c4b}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.add_ContentLoading(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view.remove_ContentLoading(token); }},
      {"WebViewWrapper::add_SourceChanged", "SourceChanged", "{3c067f9f-5388-4772-8b48-79f7ef1ab37c}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.add_SourceChanged(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view.remove_SourceChanged(token); }},
      {"WebViewWrapper::add_HistoryChanged", "HistoryChanged", "{c79a420c-efd9-4058-9295-3e8b4bcab645}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.add_HistoryChanged(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view.remove_HistoryChanged(token); }},
      {"WebViewWrapper::add_NavigationCompleted", "NavigationCompleted", "{d33a35bf-1c49-4f98-93ab-006e0533fe1c}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.add_NavigationCompleted(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view.remove_NavigationCompleted(token); }},
      {"WebViewWrapper::add_FrameNavigationStarting", "FrameNavigationStarting",
       "{9adbe429-f36d-432b-9ddc-f8881fbd76e3}", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.add_FrameNavigationStarting(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view.remove_FrameNavigationStarting(token); }},
      {"WebViewWrapper::add_FrameNavigationCompleted", "FrameNavigationCompleted",
       "{d33a35bf-1c49-4f98-93ab-006e0533fe1c}", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.add_FrameNavigationCompleted(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view.remove_FrameNavigationCompleted(token); }},
      {"WebViewWrapper::add_ScriptDialogOpening", "ScriptDialogOpening", "{ef381bf9-afa8-4e37-91c4-8ac48524bdfb}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.add_ScriptDialogOpening(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view.remove_ScriptDialogOpening(token); }},
      {"WebViewWrapper::add_PermissionRequested", "PermissionRequested", "{15e1c6a3-c72a-4df3-91d7-d097fbec6bfd}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.add_PermissionRequested(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view.remove_PermissionRequested(token); }},
      {"WebViewWrapper::add_ProcessFailed", "ProcessFailed", "{79e0aea4-990b-42d9-aa1d-0fcc2e5bc7f1}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.add_ProcessFailed(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view.remove_ProcessFailed(token); }},
      {"WebViewWrapper::add_WebMessageReceived", "WebMessageReceived", "{57213f19-00e6-49fa-8e07-898ea01ecbd2}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.add_WebMessageReceived(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view.remove_WebMessageReceived(token); }},
      {"WebViewWrapper::add_NewWindowRequested", "NewWindowRequested", "{d4c185fe-c81c-4989-97af-2d3fa7ab5651}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.add_NewWindowRequested(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view.remove_NewWindowRequested(token); }},
      {"WebViewWrapper::add_DocumentTitleChanged", "DocumentTitleChanged", "{f5f2b923-953e-4042-9f95-f3a118e1afd4}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.add_DocumentTitleChanged(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view.remove_DocumentTitleChanged(token); }},
      {"WebViewWrapper::add_ContainsFullScreenElementChanged", "ContainsFullScreenElementChanged",
       "{e45d98b1-afef-45be-8baf-6c7728867f73}", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) {
         return w.view.add_ContainsFullScreenElementChanged(NotingRoutine, context);
       },
       [](WrappedFakes& w, EventRegistrationToken token) {
         return w.view.remove_ContainsFullScreenElementChanged(token);
       }},
      {"WebViewWrapper::add_WebResourceRequested", "WebResourceRequested", "{ab00b74c-15f1-4646-80e8-e76341d25d71}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.add_WebResourceRequested(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view.remove_WebResourceRequested(token); }},
      {"WebViewWrapper::add_WindowCloseRequested", "WindowCloseRequested", "{5c19e9e0-092f-486b-affa-ca8231913039}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.add_WindowCloseRequested(NotingRoutine, context); },
       [](WrappedFakes& w, EventRegistrationToken token) { return w.view.remove_WindowCloseRequested(token); }},
  };
  return rows;
}

TEST_F(HandlerTest, EverySubscriptionRegistersAHandlerThatForwardsUntilItsTokenRemovesIt) {
  ULONG_PTR context = 100;
  for (const EventRow& row : EventRows()) {
    SCOPED_TRACE(row.method);
    routineCalls.clear();
    WrappedFakes w(WrappedFakes::kLive);
    Recorder& fake = row.fake(w);
    fake.answers.nextToken = 0x7654321000000001;  // the high half must come through
    HeapBalance heap;

    const EventRegistrationToken token = row.add(w, ++context);
    EXPECT_EQ(token.value, 0x7654321000000001);
    IUnknown* handler = OnlyHandlerOf(fake, row.event, row.handlerInterfaceIdText);
    if (handler == nullptr) continue;

    EXPECT_EQ(fake.Raise(row.event, ULONG_PTR{0x1111}, ULONG_PTR{0x2222}),
              kRoutineAnswer + static_cast<HRESULT>(context));
    EXPECT_EQ(routineCalls, (std::vector<RoutineCall>{{context, 0x1111, 0x2222}}));

    EXPECT_EQ(row.remove(w, token), S_OK);
    EXPECT_EQ(fake.calls.back().numbers, (std::vector<std::int64_t>{0x7654321000000001}));
    EXPECT_TRUE(fake.HandlersOf(row.event).empty());
    EXPECT_EQ(fake.droppedAnswers, (std::vector<ULONG>{0u})) << "the fake's reference was the last one";
  }
}

TEST_F(HandlerTest, ARefusedSubscriptionGivesTokenZeroAndFreesItsHandler) {
  WrappedFakes w(WrappedFakes::kLive);
  w.fakeView.answers.result = E_INVALIDARG;
  HeapBalance heap;
  EXPECT_EQ(w.view.add_NavigationCompleted(NotingRoutine, 0).value, 0);
  EXPECT_TRUE(w.fakeView.kept.empty());
}

TEST_F(HandlerTest, TwoSubscriptionsOfOneRoutineHaveTheirOwnTokens) {
  WrappedFakes w(WrappedFakes::kLive);
  const EventRegistrationToken first = w.view.add_DocumentTitleChanged(NotingRoutine, 1);
  const EventRegistrationToken second = w.view.add_DocumentTitleChanged(NotingRoutine, 2);
  EXPECT_NE(first.value, second.value);
  w.fakeView.Raise("DocumentTitleChanged", ULONG_PTR{0}, ULONG_PTR{0});
  EXPECT_EQ(routineCalls, (std::vector<RoutineCall>{{1, 0, 0}, {2, 0, 0}}));

  EXPECT_EQ(w.view.remove_DocumentTitleChanged(first), S_OK);
  routineCalls.clear();
  w.fakeView.Raise("DocumentTitleChanged", ULONG_PTR{0}, ULONG_PTR{0});
  EXPECT_EQ(routineCalls, (std::vector<RoutineCall>{{2, 0, 0}}));
}

TEST_F(HandlerTest, ASubscriptionOutlivesTheWrapperThatMadeIt) {
  FakeWebView view;
  {
    WebView15Wrapper local;
    local.Set(&view);
    local.add_FaviconChanged(NotingRoutine, 5);
  }
  EXPECT_EQ(view.references(), 0);
  view.Raise("FaviconChanged", ULONG_PTR{0xAB}, ULONG_PTR{0});
  EXPECT_EQ(routineCalls, (std::vector<RoutineCall>{{5, 0xAB, 0}}));
}

TEST_F(HandlerTest, ARoutineOfZeroAnswersEveryEventWithSOk) {
  WrappedFakes w(WrappedFakes::kLive);
  w.view.add_NavigationStarting(nullptr, 0);
  EXPECT_EQ(w.fakeView.Raise("NavigationStarting", ULONG_PTR{1}, ULONG_PTR{2}), S_OK);
  EXPECT_TRUE(routineCalls.empty());
}

struct AsyncRow {
  const char* method;
  const char* keptAs;
  const char* handlerInterfaceIdText;
  FakeAccess fake;
  HRESULT (*start)(WrappedFakes& w, ULONG_PTR context);
};

const std::vector<AsyncRow>& AsyncRows() {
  static const std::vector<AsyncRow> rows = {
      {"EnvironmentWrapper::CreateCoreWebView2Controller", "CreateCoreWebView2Controller",
       "{6c4819f3-c9b7-4260-8127-c9f5bde7f68c}", FakeOf<&WrappedFakes::fakeEnvironment>,
       [](WrappedFakes& w, ULONG_PTR context) {
         return w.environment.CreateCoreWebView2Controller(kWindow, NotingRoutine, context);
       }},
      {"Environment4Wrapper::CreateCoreWebView2CompositionController", "CreateCoreWebView2CompositionController",
       "{02fab84b-1428-4fb7-ad45-1b2e64736184}", FakeOf<&WrappedFakes::fakeEnvironment>,
       [](WrappedFakes& w, ULONG_PTR context) {
         return w.environment4.CreateCoreWebView2CompositionController(kWindow, NotingRoutine, context);
       }},
      {"WebView15Wrapper::GetFavicon", "GetFavicon", "{a2508329-7da8-49d7-8c05-fa125e4aee8d}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) {
         return w.view15.GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT_JPEG, NotingRoutine, context);
       }},
      {"WebViewWrapper::AddScriptToExecuteOnDocumentCreated", "AddScriptToExecuteOnDocumentCreated",
       "{b99369f3-9b11-47b5-bc6f-8e7895fcea17}", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) {
         return w.view.AddScriptToExecuteOnDocumentCreated("1", NotingRoutine, context);
       }},
      {"WebViewWrapper::ExecuteScript", "ExecuteScript", "{49511172-cc67-4bca-9923-137112f4c4cc}",
       FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) { return w.view.ExecuteScript("1", NotingRoutine, context); }},
      {"WebViewWrapper::CallDevToolsProtocolMethod", "CallDevToolsProtocolMethod",
       "{5c4889f0-5ef6-4c5a-952c-d8f1b92d0574}", FakeOf<&WrappedFakes::fakeView>,
       [](WrappedFakes& w, ULONG_PTR context) {
         return w.view.CallDevToolsProtocolMethod("Page.reload", "{}", NotingRoutine, context);
       }},
  };
  return rows;
}

TEST_F(HandlerTest, EveryAsynchronousCallHandsWebView2ACompletionHandlerOfItsOwn) {
  ULONG_PTR context = 200;
  for (const AsyncRow& row : AsyncRows()) {
    SCOPED_TRACE(row.method);
    routineCalls.clear();
    WrappedFakes w(WrappedFakes::kLive);
    Recorder& fake = row.fake(w);
    HeapBalance heap;

    EXPECT_EQ(row.start(w, ++context), S_OK);
    if (OnlyHandlerOf(fake, row.keptAs, row.handlerInterfaceIdText) == nullptr) continue;
    const ULONG_PTR result = 0x3333;
    EXPECT_EQ(fake.Complete(row.keptAs, E_ABORT, result), kRoutineAnswer + static_cast<HRESULT>(context));
    EXPECT_EQ(routineCalls, (std::vector<RoutineCall>{{context, static_cast<ULONG>(E_ABORT), result}}));
    EXPECT_EQ(fake.droppedAnswers, (std::vector<ULONG>{0u}));
  }
}

TEST_F(HandlerTest, AFailedAsynchronousCallPassesItsResultOnAndFreesItsHandler) {
  for (const AsyncRow& row : AsyncRows()) {
    SCOPED_TRACE(row.method);
    WrappedFakes w(WrappedFakes::kLive);
    row.fake(w).answers.result = E_ACCESSDENIED;
    HeapBalance heap;
    EXPECT_EQ(row.start(w, 1), E_ACCESSDENIED);
    EXPECT_TRUE(row.fake(w).kept.empty());
  }
}

// A handler object that cannot be made (no memory for its table, or for its record) stops the
// method before WebView2 is called.
TEST_F(HandlerTest, WithoutMemoryForTheHandlerWebView2IsNotCalled) {
  for (int skipped : {0, 1}) {
    SCOPED_TRACE(skipped == 0 ? "no table" : "no record");
    for (const EventRow& row : EventRows()) {
      SCOPED_TRACE(row.method);
      WrappedFakes w(WrappedFakes::kLive);
      HeapBalance heap;
      ProcessHeap::ScopedFailures failure(1, skipped);
      EXPECT_EQ(row.add(w, 1).value, 0);
      EXPECT_EQ(ProcessHeap::PendingFailures(), 0);
      EXPECT_TRUE(w.AllCalls().empty());
    }
    for (const AsyncRow& row : AsyncRows()) {
      SCOPED_TRACE(row.method);
      WrappedFakes w(WrappedFakes::kLive);
      HeapBalance heap;
      ProcessHeap::ScopedFailures failure(1, skipped);
      EXPECT_EQ(row.start(w, 1), E_OUTOFMEMORY);
      EXPECT_EQ(ProcessHeap::PendingFailures(), 0);
      EXPECT_TRUE(w.AllCalls().empty());
    }
    WrappedFakes w(WrappedFakes::kLive);
    HeapBalance heap;
    ProcessHeap::ScopedFailures failure(1, skipped);
    EXPECT_EQ(w.view.CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_PNG, InterfaceHolder(),
                                    NotingSingleArgRoutine, 9),
              E_OUTOFMEMORY);
    EXPECT_TRUE(w.AllCalls().empty());
  }
  EXPECT_TRUE(routineCalls.empty());
}

TEST_F(HandlerTest, CapturePreviewCompletesThroughTheOneValueHandler) {
  WrappedFakes w(WrappedFakes::kLive);
  HeapBalance heap;
  EXPECT_EQ(w.view.CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_PNG, InterfaceHolder(),
                                  NotingSingleArgRoutine, 9),
            S_OK);
  OnlyHandlerOf(w.fakeView, "CapturePreview", "{697e05e9-3d8f-45fa-96f4-8ffe1ededaf5}");
  EXPECT_EQ(w.fakeView.Complete("CapturePreview", E_ABORT), kRoutineAnswer + 9);
  EXPECT_EQ(routineCalls, (std::vector<RoutineCall>{{9, static_cast<ULONG>(E_ABORT), 0}}));
  EXPECT_EQ(w.fakeView.droppedAnswers, (std::vector<ULONG>{0u}));
}

TEST_F(HandlerTest, AnAsynchronousCallWithRoutineZeroIsMadeAndCompletesWithSOk) {
  WrappedFakes w(WrappedFakes::kLive);
  EXPECT_EQ(w.view.ExecuteScript("1", nullptr, 0), S_OK);
  EXPECT_EQ(w.fakeView.Complete("ExecuteScript", S_OK, ULONG_PTR{0}), S_OK);
  EXPECT_TRUE(routineCalls.empty());
}

}  // namespace
