#include <gtest/gtest.h>

#include <cstdint>

#include "com/text.h"
#include "webview2/webview2.h"

// Every identifier text and enum value that the declarations give, against the literals of the
// published interfaces. A wrong digit builds and passes every other test, and fails on every real
// machine: QueryInterface answers E_NOINTERFACE, or the runtime reads another option or status.

namespace {

struct IdentifierRow {
  const char* interfaceName;
  const char* declared;
  const char* published;
};

const IdentifierRow kIdentifiers[] = {
    {"ICoreWebView2Controller", IidText::ICoreWebView2Controller, "{4d00c0d1-9434-4eb6-8078-8697a560334f}"},
    {"ICoreWebView2DevToolsProtocolEventReceiver", IidText::ICoreWebView2DevToolsProtocolEventReceiver, "{b32ca51a-8371-45e9-9317-af021d080367}"},
    {"ICoreWebView2Environment", IidText::ICoreWebView2Environment, "{b96d755e-0319-4e92-a296-23436f46a1fc}"},
    {"ICoreWebView2Environment2", IidText::ICoreWebView2Environment2, "{41f3632b-5ef4-404f-ad82-2d606c5a9a21}"},
    {"ICoreWebView2Environment3", IidText::ICoreWebView2Environment3, "{80a22ae3-be7c-4ce2-afe1-5a50056cdeeb}"},
    {"ICoreWebView2Environment4", IidText::ICoreWebView2Environment4, "{20944379-6dcf-41d6-a0a0-abc0fc50de0d}"},
    {"ICoreWebView2EnvironmentOptions", IidText::ICoreWebView2EnvironmentOptions, "{2fde08a8-1e9a-4766-8c05-95a9ceb9d1c5}"},
    {"ICoreWebView2EnvironmentOptions2", IidText::ICoreWebView2EnvironmentOptions2, "{ff85c98a-1ba7-4a6b-90c8-2b752c89e9e2}"},
    {"ICoreWebView2EnvironmentOptions3", IidText::ICoreWebView2EnvironmentOptions3, "{4a5c436e-a9e3-4a2e-89c3-910d3513f5cc}"},
    {"ICoreWebView2EnvironmentOptions4", IidText::ICoreWebView2EnvironmentOptions4, "{ac52d13f-0d38-475a-9dca-876580d6793e}"},
    {"ICoreWebView2EnvironmentOptions5", IidText::ICoreWebView2EnvironmentOptions5, "{0ae35d64-c47f-4464-814e-259c345d1501}"},
    {"ICoreWebView2EnvironmentOptions6", IidText::ICoreWebView2EnvironmentOptions6, "{57d29cc3-c84f-42a0-b0e2-effbd5e179de}"},
    {"ICoreWebView2EnvironmentOptions7", IidText::ICoreWebView2EnvironmentOptions7, "{c48d539f-e39f-441c-ae68-1f66e570bdc5}"},
    {"ICoreWebView2EnvironmentOptions8", IidText::ICoreWebView2EnvironmentOptions8, "{7c7ecf51-e918-5caf-853c-e9a2bcc27775}"},
    {"ICoreWebView2CustomSchemeRegistration", IidText::ICoreWebView2CustomSchemeRegistration, "{d60ac92c-37a6-4b26-a39e-95cfe59047bb}"},
    {"ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler", IidText::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, "{4e8a3389-c9d8-4bd2-b6b5-124fee6cc14d}"},
    {"ICoreWebView2CreateCoreWebView2ControllerCompletedHandler", IidText::ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, "{6c4819f3-c9b7-4260-8127-c9f5bde7f68c}"},
    {"ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler", IidText::ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler, "{02fab84b-1428-4fb7-ad45-1b2e64736184}"},
    {"ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler", IidText::ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler, "{b99369f3-9b11-47b5-bc6f-8e7895fcea17}"},
    {"ICoreWebView2ExecuteScriptCompletedHandler", IidText::ICoreWebView2ExecuteScriptCompletedHandler, "{49511172-cc67-4bca-9923-137112f4c4cc}"},
    {"ICoreWebView2CallDevToolsProtocolMethodCompletedHandler", IidText::ICoreWebView2CallDevToolsProtocolMethodCompletedHandler, "{5c4889f0-5ef6-4c5a-952c-d8f1b92d0574}"},
    {"ICoreWebView2GetFaviconCompletedHandler", IidText::ICoreWebView2GetFaviconCompletedHandler, "{a2508329-7da8-49d7-8c05-fa125e4aee8d}"},
    {"ICoreWebView2CapturePreviewCompletedHandler", IidText::ICoreWebView2CapturePreviewCompletedHandler, "{697e05e9-3d8f-45fa-96f4-8ffe1ededaf5}"},
    {"ICoreWebView2NewBrowserVersionAvailableEventHandler", IidText::ICoreWebView2NewBrowserVersionAvailableEventHandler, "{f9a2976e-d34e-44fc-adee-81b6b57ca914}"},
    {"ICoreWebView2ZoomFactorChangedEventHandler", IidText::ICoreWebView2ZoomFactorChangedEventHandler, "{b52d71d6-c4df-4543-a90c-64a3e60f38cb}"},
    {"ICoreWebView2MoveFocusRequestedEventHandler", IidText::ICoreWebView2MoveFocusRequestedEventHandler, "{69035451-6dc7-4cb8-9bce-b2bd70ad289f}"},
    {"ICoreWebView2FocusChangedEventHandler", IidText::ICoreWebView2FocusChangedEventHandler, "{05ea24bd-6452-4926-9014-4b82b498135d}"},
    {"ICoreWebView2AcceleratorKeyPressedEventHandler", IidText::ICoreWebView2AcceleratorKeyPressedEventHandler, "{b29c7e28-fa79-41a8-8e44-65811c76dcb2}"},
    {"ICoreWebView2FaviconChangedEventHandler", IidText::ICoreWebView2FaviconChangedEventHandler, "{2913da94-833d-4de0-8dca-900fc524a1a4}"},
    {"ICoreWebView2DevToolsProtocolEventReceivedEventHandler", IidText::ICoreWebView2DevToolsProtocolEventReceivedEventHandler, "{e2fda4be-5456-406c-a261-3d452138362c}"},
    {"ICoreWebView2NavigationStartingEventHandler", IidText::ICoreWebView2NavigationStartingEventHandler, "{9adbe429-f36d-432b-9ddc-f8881fbd76e3}"},
    {"ICoreWebView2ContentLoadingEventHandler", IidText::ICoreWebView2ContentLoadingEventHandler, "{364471e7-f2be-4910-bdba-d72077d51c4b}"},
    {"ICoreWebView2SourceChangedEventHandler", IidText::ICoreWebView2SourceChangedEventHandler, "{3c067f9f-5388-4772-8b48-79f7ef1ab37c}"},
    {"ICoreWebView2HistoryChangedEventHandler", IidText::ICoreWebView2HistoryChangedEventHandler, "{c79a420c-efd9-4058-9295-3e8b4bcab645}"},
    {"ICoreWebView2NavigationCompletedEventHandler", IidText::ICoreWebView2NavigationCompletedEventHandler, "{d33a35bf-1c49-4f98-93ab-006e0533fe1c}"},
    {"ICoreWebView2ScriptDialogOpeningEventHandler", IidText::ICoreWebView2ScriptDialogOpeningEventHandler, "{ef381bf9-afa8-4e37-91c4-8ac48524bdfb}"},
    {"ICoreWebView2PermissionRequestedEventHandler", IidText::ICoreWebView2PermissionRequestedEventHandler, "{15e1c6a3-c72a-4df3-91d7-d097fbec6bfd}"},
    {"ICoreWebView2ProcessFailedEventHandler", IidText::ICoreWebView2ProcessFailedEventHandler, "{79e0aea4-990b-42d9-aa1d-0fcc2e5bc7f1}"},
    {"ICoreWebView2WebMessageReceivedEventHandler", IidText::ICoreWebView2WebMessageReceivedEventHandler, "{57213f19-00e6-49fa-8e07-898ea01ecbd2}"},
    {"ICoreWebView2NewWindowRequestedEventHandler", IidText::ICoreWebView2NewWindowRequestedEventHandler, "{d4c185fe-c81c-4989-97af-2d3fa7ab5651}"},
    {"ICoreWebView2DocumentTitleChangedEventHandler", IidText::ICoreWebView2DocumentTitleChangedEventHandler, "{f5f2b923-953e-4042-9f95-f3a118e1afd4}"},
    {"ICoreWebView2ContainsFullScreenElementChangedEventHandler", IidText::ICoreWebView2ContainsFullScreenElementChangedEventHandler, "{e45d98b1-afef-45be-8baf-6c7728867f73}"},
    {"ICoreWebView2WebResourceRequestedEventHandler", IidText::ICoreWebView2WebResourceRequestedEventHandler, "{ab00b74c-15f1-4646-80e8-e76341d25d71}"},
    {"ICoreWebView2WindowCloseRequestedEventHandler", IidText::ICoreWebView2WindowCloseRequestedEventHandler, "{5c19e9e0-092f-486b-affa-ca8231913039}"},
    {"IUnknown", IidText::IUnknown, "{00000000-0000-0000-c000-000000000046}"},
    {"IDispatch", IidText::IDispatch, "{00020400-0000-0000-c000-000000000046}"},
    {"ICoreWebView2NavigationCompletedEventArgs", IidText::ICoreWebView2NavigationCompletedEventArgs, "{30d68b7d-20d9-4752-a9ca-ec8448fbb5c1}"},
    {"ICoreWebView2", IidText::ICoreWebView2, "{76eceacb-0462-4d94-ac83-423a6793775e}"},
    {"ICoreWebView2Settings", IidText::ICoreWebView2Settings, "{e562e4f0-d7fa-43ac-8d71-c05150499f00}"},
    {"ICoreWebView2_2", IidText::ICoreWebView2_2, "{9e8f0cf8-e670-4b5e-b2bc-73e061e3184c}"},
    {"ICoreWebView2_3", IidText::ICoreWebView2_3, "{a0d6df20-3b92-416d-aa0c-437a9c727857}"},
    {"ICoreWebView2_4", IidText::ICoreWebView2_4, "{20d02d59-6df2-42dc-bd06-f98a694b1302}"},
    {"ICoreWebView2_5", IidText::ICoreWebView2_5, "{bedb11b8-d63c-11eb-b8bc-0242ac130003}"},
    {"ICoreWebView2_6", IidText::ICoreWebView2_6, "{499aadac-d92c-4589-8a75-111bfc167795}"},
    {"ICoreWebView2_7", IidText::ICoreWebView2_7, "{79c24d83-09a3-45ae-9418-487f32a58740}"},
    {"ICoreWebView2_8", IidText::ICoreWebView2_8, "{e9632730-6e1e-43ab-b7b8-7b2c9e62e094}"},
    {"ICoreWebView2_9", IidText::ICoreWebView2_9, "{4d7b2eab-9fdc-468d-b998-a9260b5ed651}"},
    {"ICoreWebView2_10", IidText::ICoreWebView2_10, "{b1690564-6f5a-4983-8e48-31d1143fecdb}"},
    {"ICoreWebView2_11", IidText::ICoreWebView2_11, "{0be78e56-c193-4051-b943-23b460c08bdb}"},
    {"ICoreWebView2_12", IidText::ICoreWebView2_12, "{35d69927-bcfa-4566-9349-6b3e0d154cac}"},
    {"ICoreWebView2_13", IidText::ICoreWebView2_13, "{f75f09a8-667e-4983-88d6-c8773f315e84}"},
    {"ICoreWebView2_14", IidText::ICoreWebView2_14, "{6daa4f10-4a90-4753-8898-77c5df534165}"},
    {"ICoreWebView2_15", IidText::ICoreWebView2_15, "{517b2d1d-7dae-4a66-a4f4-10352ffb9518}"},
};

TEST(PublishedLiterals, EveryIdentifierText) {
  for (const IdentifierRow& row : kIdentifiers) {
    SCOPED_TRACE(row.interfaceName);
    const ByteBuffer declared = ParseInterfaceId(row.declared);
    ASSERT_EQ(declared.size(), 16u) << row.declared;
    // Identifier texts compare without regard to letter case; their bytes must be equal.
    EXPECT_TRUE(InterfaceIdEquals(declared, ParseInterfaceId(row.published))) << row.declared;
  }
}

struct EnumRow {
  const char* name;
  std::int64_t declared;
  std::int64_t published;
};

const EnumRow kEnumValues[] = {
    {"COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_PNG", COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_PNG, 0},
    {"COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_JPEG", COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_JPEG, 1},
    {"COREWEBVIEW2_FAVICON_IMAGE_FORMAT_PNG", COREWEBVIEW2_FAVICON_IMAGE_FORMAT_PNG, 0},
    {"COREWEBVIEW2_FAVICON_IMAGE_FORMAT_JPEG", COREWEBVIEW2_FAVICON_IMAGE_FORMAT_JPEG, 1},
    {"COREWEBVIEW2_CHANNEL_SEARCH_KIND_MOST_STABLE", COREWEBVIEW2_CHANNEL_SEARCH_KIND_MOST_STABLE, 0},
    {"COREWEBVIEW2_CHANNEL_SEARCH_KIND_LEAST_STABLE", COREWEBVIEW2_CHANNEL_SEARCH_KIND_LEAST_STABLE, 1},
    {"COREWEBVIEW2_RELEASE_CHANNELS_NONE", COREWEBVIEW2_RELEASE_CHANNELS_NONE, 0},
    {"COREWEBVIEW2_RELEASE_CHANNELS_STABLE", COREWEBVIEW2_RELEASE_CHANNELS_STABLE, 0x1},
    {"COREWEBVIEW2_RELEASE_CHANNELS_BETA", COREWEBVIEW2_RELEASE_CHANNELS_BETA, 0x2},
    {"COREWEBVIEW2_RELEASE_CHANNELS_DEV", COREWEBVIEW2_RELEASE_CHANNELS_DEV, 0x4},
    {"COREWEBVIEW2_RELEASE_CHANNELS_CANARY", COREWEBVIEW2_RELEASE_CHANNELS_CANARY, 0x8},
    {"COREWEBVIEW2_SCROLLBAR_STYLE_DEFAULT", COREWEBVIEW2_SCROLLBAR_STYLE_DEFAULT, 0},
    {"COREWEBVIEW2_SCROLLBAR_STYLE_FLUENT_OVERLAY", COREWEBVIEW2_SCROLLBAR_STYLE_FLUENT_OVERLAY, 1},
    {"COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC", COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC, 0},
    {"COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT", COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT, 1},
    {"COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS", COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS, 2},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL, 0},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT, 1},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_STYLESHEET", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_STYLESHEET, 2},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_IMAGE", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_IMAGE, 3},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_MEDIA", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_MEDIA, 4},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FONT", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FONT, 5},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SCRIPT", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SCRIPT, 6},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_XML_HTTP_REQUEST", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_XML_HTTP_REQUEST, 7},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FETCH", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FETCH, 8},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_TEXT_TRACK", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_TEXT_TRACK, 9},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_EVENT_SOURCE", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_EVENT_SOURCE, 10},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_WEBSOCKET", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_WEBSOCKET, 11},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_MANIFEST", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_MANIFEST, 12},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SIGNED_EXCHANGE", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SIGNED_EXCHANGE, 13},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_PING", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_PING, 14},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_CSP_VIOLATION_REPORT", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_CSP_VIOLATION_REPORT, 15},
    {"COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER, 16},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN", COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN, 0},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT, 1},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED, 2},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_CLIENT_CERTIFICATE_CONTAINS_ERRORS", COREWEBVIEW2_WEB_ERROR_STATUS_CLIENT_CERTIFICATE_CONTAINS_ERRORS, 3},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED, 4},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID, 5},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_SERVER_UNREACHABLE", COREWEBVIEW2_WEB_ERROR_STATUS_SERVER_UNREACHABLE, 6},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT", COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT, 7},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_ERROR_HTTP_INVALID_SERVER_RESPONSE", COREWEBVIEW2_WEB_ERROR_STATUS_ERROR_HTTP_INVALID_SERVER_RESPONSE, 8},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED", COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED, 9},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_RESET", COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_RESET, 10},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_DISCONNECTED", COREWEBVIEW2_WEB_ERROR_STATUS_DISCONNECTED, 11},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT", COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT, 12},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED", COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED, 13},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED", COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, 14},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_REDIRECT_FAILED", COREWEBVIEW2_WEB_ERROR_STATUS_REDIRECT_FAILED, 15},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR", COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR, 16},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_VALID_AUTHENTICATION_CREDENTIALS_REQUIRED", COREWEBVIEW2_WEB_ERROR_STATUS_VALID_AUTHENTICATION_CREDENTIALS_REQUIRED, 17},
    {"COREWEBVIEW2_WEB_ERROR_STATUS_VALID_PROXY_AUTHENTICATION_REQUIRED", COREWEBVIEW2_WEB_ERROR_STATUS_VALID_PROXY_AUTHENTICATION_REQUIRED, 18},
};

TEST(PublishedLiterals, EveryEnumValue) {
  for (const EnumRow& row : kEnumValues) {
    EXPECT_EQ(row.declared, row.published) << row.name;
  }
}

// Each enum crosses the boundary as 32 bits, on x86 and x64 alike.
TEST(PublishedLiterals, EnumsAreFourBytes) {
  EXPECT_EQ(sizeof(COREWEBVIEW2_CHANNEL_SEARCH_KIND), 4u);
  EXPECT_EQ(sizeof(COREWEBVIEW2_RELEASE_CHANNELS), 4u);
  EXPECT_EQ(sizeof(COREWEBVIEW2_SCROLLBAR_STYLE), 4u);
  EXPECT_EQ(sizeof(COREWEBVIEW2_MOVE_FOCUS_REASON), 4u);
  EXPECT_EQ(sizeof(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT), 4u);
  EXPECT_EQ(sizeof(COREWEBVIEW2_WEB_RESOURCE_CONTEXT), 4u);
  EXPECT_EQ(sizeof(COREWEBVIEW2_FAVICON_IMAGE_FORMAT), 4u);
  EXPECT_EQ(sizeof(COREWEBVIEW2_WEB_ERROR_STATUS), 4u);
}

}  // namespace
