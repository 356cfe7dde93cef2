#pragma once

// The handler interfaces: WebView2 reports every completion and every event through one of them.
// Each derives from IUnknown and adds one method, Invoke, at slot 3. The program implements them
// only through its callback objects; the declarations give the stand-in and the tests the types.

#include <windows.h>
#include <objidl.h>
#include <unknwn.h>

#include "webview2/iid_text.h"

struct ICoreWebView2;
struct ICoreWebView2Environment;
struct ICoreWebView2Controller;
struct ICoreWebView2CompositionController;

// Event arguments that the program passes on to its routines without looking inside.
struct ICoreWebView2AcceleratorKeyPressedEventArgs;
struct ICoreWebView2ContentLoadingEventArgs;
struct ICoreWebView2DevToolsProtocolEventReceivedEventArgs;
struct ICoreWebView2MoveFocusRequestedEventArgs;
struct ICoreWebView2NavigationCompletedEventArgs;
struct ICoreWebView2NavigationStartingEventArgs;
struct ICoreWebView2NewWindowRequestedEventArgs;
struct ICoreWebView2PermissionRequestedEventArgs;
struct ICoreWebView2ProcessFailedEventArgs;
struct ICoreWebView2ScriptDialogOpeningEventArgs;
struct ICoreWebView2SourceChangedEventArgs;
struct ICoreWebView2WebMessageReceivedEventArgs;
struct ICoreWebView2WebResourceRequestedEventArgs;

// Every handler has this shape; only the identifier and Invoke's parameter types differ, so each
// handler below is one line that reads like its row in the published tables.
template <class... Arguments>
struct HandlerInterface : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(Arguments... arguments) = 0;
};

// Completions: (error code, result).
struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler
    : HandlerInterface<HRESULT, ICoreWebView2Environment*> {};
struct ICoreWebView2CreateCoreWebView2ControllerCompletedHandler : HandlerInterface<HRESULT, ICoreWebView2Controller*> {
};
struct ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler
    : HandlerInterface<HRESULT, ICoreWebView2CompositionController*> {};
struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler : HandlerInterface<HRESULT, LPCWSTR> {};
struct ICoreWebView2ExecuteScriptCompletedHandler : HandlerInterface<HRESULT, LPCWSTR> {};
struct ICoreWebView2CallDevToolsProtocolMethodCompletedHandler : HandlerInterface<HRESULT, LPCWSTR> {};
struct ICoreWebView2GetFaviconCompletedHandler : HandlerInterface<HRESULT, IStream*> {};
// The one completion that delivers the error code alone.
struct ICoreWebView2CapturePreviewCompletedHandler : HandlerInterface<HRESULT> {};

// Events: (sender, args); an IUnknown args carries nothing and is null.
struct ICoreWebView2NewBrowserVersionAvailableEventHandler : HandlerInterface<ICoreWebView2Environment*, IUnknown*> {};
struct ICoreWebView2ZoomFactorChangedEventHandler : HandlerInterface<ICoreWebView2Controller*, IUnknown*> {};
struct ICoreWebView2MoveFocusRequestedEventHandler
    : HandlerInterface<ICoreWebView2Controller*, ICoreWebView2MoveFocusRequestedEventArgs*> {};
struct ICoreWebView2FocusChangedEventHandler : HandlerInterface<ICoreWebView2Controller*, IUnknown*> {};
struct ICoreWebView2AcceleratorKeyPressedEventHandler
    : HandlerInterface<ICoreWebView2Controller*, ICoreWebView2AcceleratorKeyPressedEventArgs*> {};
struct ICoreWebView2FaviconChangedEventHandler : HandlerInterface<ICoreWebView2*, IUnknown*> {};
struct ICoreWebView2DevToolsProtocolEventReceivedEventHandler
    : HandlerInterface<ICoreWebView2*, ICoreWebView2DevToolsProtocolEventReceivedEventArgs*> {};
struct ICoreWebView2NavigationStartingEventHandler
    : HandlerInterface<ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs*> {};
struct ICoreWebView2ContentLoadingEventHandler
    : HandlerInterface<ICoreWebView2*, ICoreWebView2ContentLoadingEventArgs*> {};
struct ICoreWebView2SourceChangedEventHandler : HandlerInterface<ICoreWebView2*, ICoreWebView2SourceChangedEventArgs*> {
};
struct ICoreWebView2HistoryChangedEventHandler : HandlerInterface<ICoreWebView2*, IUnknown*> {};
struct ICoreWebView2NavigationCompletedEventHandler
    : HandlerInterface<ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs*> {};
struct ICoreWebView2ScriptDialogOpeningEventHandler
    : HandlerInterface<ICoreWebView2*, ICoreWebView2ScriptDialogOpeningEventArgs*> {};
struct ICoreWebView2PermissionRequestedEventHandler
    : HandlerInterface<ICoreWebView2*, ICoreWebView2PermissionRequestedEventArgs*> {};
struct ICoreWebView2ProcessFailedEventHandler : HandlerInterface<ICoreWebView2*, ICoreWebView2ProcessFailedEventArgs*> {
};
struct ICoreWebView2WebMessageReceivedEventHandler
    : HandlerInterface<ICoreWebView2*, ICoreWebView2WebMessageReceivedEventArgs*> {};
struct ICoreWebView2NewWindowRequestedEventHandler
    : HandlerInterface<ICoreWebView2*, ICoreWebView2NewWindowRequestedEventArgs*> {};
struct ICoreWebView2DocumentTitleChangedEventHandler : HandlerInterface<ICoreWebView2*, IUnknown*> {};
struct ICoreWebView2ContainsFullScreenElementChangedEventHandler : HandlerInterface<ICoreWebView2*, IUnknown*> {};
struct ICoreWebView2WebResourceRequestedEventHandler
    : HandlerInterface<ICoreWebView2*, ICoreWebView2WebResourceRequestedEventArgs*> {};
struct ICoreWebView2WindowCloseRequestedEventHandler : HandlerInterface<ICoreWebView2*, IUnknown*> {};

namespace IidText {
inline constexpr char ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler[] =
    "{4e8a3389-c9d8-4bd2-b6b5-124fee6cc14d}";
inline constexpr char ICoreWebView2CreateCoreWebView2ControllerCompletedHandler[] =
    "{6c4819f3-c9b7-4260-8127-c9f5bde7f68c}";
inline constexpr char ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler[] =
    "{02fab84b-1428-4fb7-ad45-1b2e64736184}";
inline constexpr char ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler[] =
    "{b99369f3-9b11-47b5-bc6f-8e7895fcea17}";
inline constexpr char ICoreWebView2ExecuteScriptCompletedHandler[] = "{49511172-cc67-4bca-9923-137112f4c4cc}";
inline constexpr char ICoreWebView2CallDevToolsProtocolMethodCompletedHandler[] =
    "{5c4889f0-5ef6-4c5a-952c-d8f1b92d0574}";
inline constexpr char ICoreWebView2GetFaviconCompletedHandler[] = "{a2508329-7da8-49d7-8c05-fa125e4aee8d}";
inline constexpr char ICoreWebView2CapturePreviewCompletedHandler[] = "{697e05e9-3d8f-45fa-96f4-8ffe1ededaf5}";

inline constexpr char ICoreWebView2NewBrowserVersionAvailableEventHandler[] = "{f9a2976e-d34e-44fc-adee-81b6b57ca914}";
inline constexpr char ICoreWebView2ZoomFactorChangedEventHandler[] = "{b52d71d6-c4df-4543-a90c-64a3e60f38cb}";
inline constexpr char ICoreWebView2MoveFocusRequestedEventHandler[] = "{69035451-6dc7-4cb8-9bce-b2bd70ad289f}";
inline constexpr char ICoreWebView2FocusChangedEventHandler[] = "{05ea24bd-6452-4926-9014-4b82b498135d}";
inline constexpr char ICoreWebView2AcceleratorKeyPressedEventHandler[] = "{b29c7e28-fa79-41a8-8e44-65811c76dcb2}";
inline constexpr char ICoreWebView2FaviconChangedEventHandler[] = "{2913da94-833d-4de0-8dca-900fc524a1a4}";
inline constexpr char ICoreWebView2DevToolsProtocolEventReceivedEventHandler[] =
    "{e2fda4be-5456-406c-a261-3d452138362c}";
inline constexpr char ICoreWebView2NavigationStartingEventHandler[] = "{9adbe429-f36d-432b-9ddc-f8881fbd76e3}";
inline constexpr char ICoreWebView2ContentLoadingEventHandler[] = "{364471e7-f2be-4910-bdba-d72077d51c4b}";
inline constexpr char ICoreWebView2SourceChangedEventHandler[] = "{3c067f9f-5388-4772-8b48-79f7ef1ab37c}";
inline constexpr char ICoreWebView2HistoryChangedEventHandler[] = "{c79a420c-efd9-4058-9295-3e8b4bcab645}";
inline constexpr char ICoreWebView2NavigationCompletedEventHandler[] = "{d33a35bf-1c49-4f98-93ab-006e0533fe1c}";
inline constexpr char ICoreWebView2ScriptDialogOpeningEventHandler[] = "{ef381bf9-afa8-4e37-91c4-8ac48524bdfb}";
inline constexpr char ICoreWebView2PermissionRequestedEventHandler[] = "{15e1c6a3-c72a-4df3-91d7-d097fbec6bfd}";
inline constexpr char ICoreWebView2ProcessFailedEventHandler[] = "{79e0aea4-990b-42d9-aa1d-0fcc2e5bc7f1}";
inline constexpr char ICoreWebView2WebMessageReceivedEventHandler[] = "{57213f19-00e6-49fa-8e07-898ea01ecbd2}";
inline constexpr char ICoreWebView2NewWindowRequestedEventHandler[] = "{d4c185fe-c81c-4989-97af-2d3fa7ab5651}";
inline constexpr char ICoreWebView2DocumentTitleChangedEventHandler[] = "{f5f2b923-953e-4042-9f95-f3a118e1afd4}";
inline constexpr char ICoreWebView2ContainsFullScreenElementChangedEventHandler[] =
    "{e45d98b1-afef-45be-8baf-6c7728867f73}";
inline constexpr char ICoreWebView2WebResourceRequestedEventHandler[] = "{ab00b74c-15f1-4646-80e8-e76341d25d71}";
inline constexpr char ICoreWebView2WindowCloseRequestedEventHandler[] = "{5c19e9e0-092f-486b-affa-ca8231913039}";
}  // namespace IidText
