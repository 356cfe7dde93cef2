#include <gtest/gtest.h>

#include <string>

#include "support/stdcall_probe.h"
#include "support/recording_fakes.h"
#include "support/published_slot_rows.h"

// The published method tables, row for row: slot, method, and the stack bytes that the method
// takes on x86, `this` included. Each row calls the table entry of a fake that implements our
// declarations, so a method declared one slot off, or with a parameter of the wrong size (a RECT,
// a double or a token passed by address instead of by value), fails here rather than corrupting
// the stack on a real machine.

namespace {



const SlotRow kNavigationCompletedArgs[] = {
    {3, "get_IsSuccess", 8},
    {4, "get_WebErrorStatus", 8},
    {5, "get_NavigationId", 8},
};

const SlotRow kDevToolsProtocolEventReceiver[] = {
    {3, "add_DevToolsProtocolEventReceived", 12},
    {4, "remove_DevToolsProtocolEventReceived", 12},
};

// The options interfaces each derive from IUnknown on their own.
const SlotRow kOptions[] = {
    {3, "get_AdditionalBrowserArguments", 8},
    {4, "put_AdditionalBrowserArguments", 8},
    {5, "get_Language", 8},
    {6, "put_Language", 8},
    {7, "get_TargetCompatibleBrowserVersion", 8},
    {8, "put_TargetCompatibleBrowserVersion", 8},
    {9, "get_AllowSingleSignOnUsingOSPrimaryAccount", 8},
    {10, "put_AllowSingleSignOnUsingOSPrimaryAccount", 8},
};
const SlotRow kOptions2[] = {{3, "get_ExclusiveUserDataFolderAccess", 8}, {4, "put_ExclusiveUserDataFolderAccess", 8}};
const SlotRow kOptions3[] = {{3, "get_IsCustomCrashReportingEnabled", 8}, {4, "put_IsCustomCrashReportingEnabled", 8}};
const SlotRow kOptions4[] = {{3, "GetCustomSchemeRegistrations", 12}, {4, "SetCustomSchemeRegistrations", 12}};
const SlotRow kOptions5[] = {{3, "get_EnableTrackingPrevention", 8}, {4, "put_EnableTrackingPrevention", 8}};
const SlotRow kOptions6[] = {{3, "get_AreBrowserExtensionsEnabled", 8}, {4, "put_AreBrowserExtensionsEnabled", 8}};
const SlotRow kOptions7[] = {
    {3, "get_ChannelSearchKind", 8},
    {4, "put_ChannelSearchKind", 8},
    {5, "get_ReleaseChannels", 8},
    {6, "put_ReleaseChannels", 8},
};
const SlotRow kOptions8[] = {{3, "get_ScrollBarStyle", 8}, {4, "put_ScrollBarStyle", 8}};

// All eight options interfaces on one probing fake, as the program's own options object has them.
class ProbingOptions : public FakeObject<ICoreWebView2EnvironmentOptions>,
                       public ICoreWebView2EnvironmentOptions2,
                       public ICoreWebView2EnvironmentOptions3,
                       public ICoreWebView2EnvironmentOptions4,
                       public ICoreWebView2EnvironmentOptions5,
                       public ICoreWebView2EnvironmentOptions6,
                       public ICoreWebView2EnvironmentOptions7,
                       public ICoreWebView2EnvironmentOptions8 {
 public:
  using Base = FakeObject<ICoreWebView2EnvironmentOptions>;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override { return Base::QueryInterface(id, object); }
  ULONG STDMETHODCALLTYPE AddRef() override { return Base::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return Base::Release(); }

  HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR*) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE get_Language(LPWSTR*) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR*) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL*) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE get_ExclusiveUserDataFolderAccess(BOOL*) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE put_ExclusiveUserDataFolderAccess(BOOL) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE get_IsCustomCrashReportingEnabled(BOOL*) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE put_IsCustomCrashReportingEnabled(BOOL) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE GetCustomSchemeRegistrations(UINT32*, ICoreWebView2CustomSchemeRegistration***) override {
    return Record(__func__);
  }
  HRESULT STDMETHODCALLTYPE SetCustomSchemeRegistrations(UINT32, ICoreWebView2CustomSchemeRegistration**) override {
    return Record(__func__);
  }
  HRESULT STDMETHODCALLTYPE get_EnableTrackingPrevention(BOOL*) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE put_EnableTrackingPrevention(BOOL) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE get_AreBrowserExtensionsEnabled(BOOL*) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE put_AreBrowserExtensionsEnabled(BOOL) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE get_ChannelSearchKind(COREWEBVIEW2_CHANNEL_SEARCH_KIND*) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE put_ChannelSearchKind(COREWEBVIEW2_CHANNEL_SEARCH_KIND) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE get_ReleaseChannels(COREWEBVIEW2_RELEASE_CHANNELS*) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE put_ReleaseChannels(COREWEBVIEW2_RELEASE_CHANNELS) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE get_ScrollBarStyle(COREWEBVIEW2_SCROLLBAR_STYLE*) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE put_ScrollBarStyle(COREWEBVIEW2_SCROLLBAR_STYLE) override { return Record(__func__); }
};

// The runtime calls into the registrations it is handed through the options.
const SlotRow kCustomSchemeRegistration[] = {
    {3, "get_SchemeName", 8},
    {4, "get_TreatAsSecure", 8},
    {5, "put_TreatAsSecure", 8},
    {6, "GetAllowedOrigins", 12},
    {7, "SetAllowedOrigins", 12},
    {8, "get_HasAuthorityComponent", 8},
    {9, "put_HasAuthorityComponent", 8},
};

class ProbingRegistration : public FakeObject<ICoreWebView2CustomSchemeRegistration> {
 public:
  HRESULT STDMETHODCALLTYPE get_SchemeName(LPWSTR*) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE get_TreatAsSecure(BOOL*) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE put_TreatAsSecure(BOOL) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE GetAllowedOrigins(UINT32*, LPWSTR**) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE SetAllowedOrigins(UINT32, LPCWSTR*) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE get_HasAuthorityComponent(BOOL*) override { return Record(__func__); }
  HRESULT STDMETHODCALLTYPE put_HasAuthorityComponent(BOOL) override { return Record(__func__); }
};

// More than any method takes: a stdcall callee removes exactly its own arguments, whatever was pushed.
constexpr int kDummyArguments = 8;

// The stack bytes that entry `slot` of the object's table takes. Its dummy arguments all point
// at one zeroed block; a probing fake notes its method's name and touches none of them.
int BytesTaken(IUnknown* object, int slot) {
  ULONG_PTR scratch[kDummyArguments] = {};
  const auto d = reinterpret_cast<ULONG_PTR>(scratch);
  return CallStdcall(TableEntry(object, slot), {reinterpret_cast<ULONG_PTR>(object), d, d, d, d, d, d, d, d})
      .bytesPopped;
}

template <std::size_t N>
void ExpectSlots(IUnknown* object, Recorder& recorder, const SlotRow (&rows)[N]) {
  recorder.probing = true;
  for (const SlotRow& row : rows) {
    SCOPED_TRACE(std::string(row.method) + " at slot " + std::to_string(row.slot));
    recorder.calls.clear();
    EXPECT_STACK_BYTES(BytesTaken(object, row.slot), row.bytes);
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].method, row.method);
  }
}

TEST(DeclaredSlots, Environment4) {
  FakeEnvironment environment;
  ExpectSlots(&environment, environment, kEnvironment4);
}

TEST(DeclaredSlots, Controller) {
  FakeController controller;
  ExpectSlots(&controller, controller, kController);
}

TEST(DeclaredSlots, WebViewAndItsVersion15) {
  FakeWebView view;
  ExpectSlots(static_cast<ICoreWebView2*>(&view), view, kWebView);
  ExpectSlots(static_cast<ICoreWebView2_15*>(&view), view, kWebViewVersions);
  ExpectSlots(static_cast<ICoreWebView2_15*>(&view), view, kWebView15);
}

TEST(DeclaredSlots, NavigationCompletedArgs) {
  FakeNavigationCompletedArgs args;
  ExpectSlots(&args, args, kNavigationCompletedArgs);
}

TEST(DeclaredSlots, DevToolsProtocolEventReceiver) {
  FakeDevToolsReceiver receiver;
  ExpectSlots(&receiver, receiver, kDevToolsProtocolEventReceiver);
}

TEST(DeclaredSlots, EnvironmentOptions) {
  ProbingOptions options;
  ExpectSlots(static_cast<ICoreWebView2EnvironmentOptions*>(&options), options, kOptions);
  ExpectSlots(static_cast<ICoreWebView2EnvironmentOptions2*>(&options), options, kOptions2);
  ExpectSlots(static_cast<ICoreWebView2EnvironmentOptions3*>(&options), options, kOptions3);
  ExpectSlots(static_cast<ICoreWebView2EnvironmentOptions4*>(&options), options, kOptions4);
  ExpectSlots(static_cast<ICoreWebView2EnvironmentOptions5*>(&options), options, kOptions5);
  ExpectSlots(static_cast<ICoreWebView2EnvironmentOptions6*>(&options), options, kOptions6);
  ExpectSlots(static_cast<ICoreWebView2EnvironmentOptions7*>(&options), options, kOptions7);
  ExpectSlots(static_cast<ICoreWebView2EnvironmentOptions8*>(&options), options, kOptions8);
}

template <class Handler>
void ExpectInvoke(int bytes) {
  RecordingHandler<Handler> handler;
  ExpectSlots(&handler, handler, {{3, "Invoke", bytes}});
}

TEST(DeclaredSlots, CustomSchemeRegistration) {
  ProbingRegistration registration;
  ExpectSlots(&registration, registration, kCustomSchemeRegistration);
}

TEST(DeclaredSlots, EveryHandlerInvoke) {
  struct Row {
    const char* handler;
    int bytes;
    void (*expectInvoke)(int bytes);
  };
#define HANDLER_ROW(Handler, bytes) \
  { #Handler, bytes, &ExpectInvoke < Handler> }
  const Row rows[] = {
      HANDLER_ROW(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, 12),
      HANDLER_ROW(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, 12),
      HANDLER_ROW(ICoreWebView2NewBrowserVersionAvailableEventHandler, 12),
      HANDLER_ROW(ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler, 12),
      HANDLER_ROW(ICoreWebView2ZoomFactorChangedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2MoveFocusRequestedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2FocusChangedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2AcceleratorKeyPressedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2FaviconChangedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2GetFaviconCompletedHandler, 12),
      HANDLER_ROW(ICoreWebView2DevToolsProtocolEventReceivedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2NavigationStartingEventHandler, 12),
      HANDLER_ROW(ICoreWebView2ContentLoadingEventHandler, 12),
      HANDLER_ROW(ICoreWebView2SourceChangedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2HistoryChangedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2NavigationCompletedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2ScriptDialogOpeningEventHandler, 12),
      HANDLER_ROW(ICoreWebView2PermissionRequestedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2ProcessFailedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2WebMessageReceivedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2NewWindowRequestedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2DocumentTitleChangedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2ContainsFullScreenElementChangedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2WebResourceRequestedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2WindowCloseRequestedEventHandler, 12),
      HANDLER_ROW(ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler, 12),
      HANDLER_ROW(ICoreWebView2ExecuteScriptCompletedHandler, 12),
      HANDLER_ROW(ICoreWebView2CapturePreviewCompletedHandler, 8),
      HANDLER_ROW(ICoreWebView2CallDevToolsProtocolMethodCompletedHandler, 12),
  };
#undef HANDLER_ROW
  for (const Row& row : rows) {
    SCOPED_TRACE(row.handler);
    row.expectInvoke(row.bytes);
  }
}

}  // namespace
