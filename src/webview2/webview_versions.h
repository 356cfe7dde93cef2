#pragma once

// The later versions of the view, ICoreWebView2_2 to ICoreWebView2_15, each deriving from the one
// before. The program calls only ICoreWebView2_15's own four methods (slots 109 to 112), so the 48
// slots in between are declared as placeholders: parameterless, named by slot and published
// method, never called. They keep every later slot where the runtime has it; their parameters
// would matter only to a caller, and there is none. An implementation of ICoreWebView2_15 gets
// them all answered by PlaceholderSlots (webview2/placeholder_slots.h).

#include <windows.h>
#include <unknwn.h>
#include <eventtoken.h>

#include <cstdint>

#include "webview2/handlers.h"
#include "webview2/iid_text.h"
#include "webview2/webview.h"

enum COREWEBVIEW2_FAVICON_IMAGE_FORMAT : std::int32_t {
  COREWEBVIEW2_FAVICON_IMAGE_FORMAT_PNG = 0,
  COREWEBVIEW2_FAVICON_IMAGE_FORMAT_JPEG = 1,
};

namespace IidText {
inline constexpr char ICoreWebView2_2[] = "{9e8f0cf8-e670-4b5e-b2bc-73e061e3184c}";
inline constexpr char ICoreWebView2_3[] = "{a0d6df20-3b92-416d-aa0c-437a9c727857}";
inline constexpr char ICoreWebView2_4[] = "{20d02d59-6df2-42dc-bd06-f98a694b1302}";
inline constexpr char ICoreWebView2_5[] = "{bedb11b8-d63c-11eb-b8bc-0242ac130003}";
inline constexpr char ICoreWebView2_6[] = "{499aadac-d92c-4589-8a75-111bfc167795}";
inline constexpr char ICoreWebView2_7[] = "{79c24d83-09a3-45ae-9418-487f32a58740}";
inline constexpr char ICoreWebView2_8[] = "{e9632730-6e1e-43ab-b7b8-7b2c9e62e094}";
inline constexpr char ICoreWebView2_9[] = "{4d7b2eab-9fdc-468d-b998-a9260b5ed651}";
inline constexpr char ICoreWebView2_10[] = "{b1690564-6f5a-4983-8e48-31d1143fecdb}";
inline constexpr char ICoreWebView2_11[] = "{0be78e56-c193-4051-b943-23b460c08bdb}";
inline constexpr char ICoreWebView2_12[] = "{35d69927-bcfa-4566-9349-6b3e0d154cac}";
inline constexpr char ICoreWebView2_13[] = "{f75f09a8-667e-4983-88d6-c8773f315e84}";
inline constexpr char ICoreWebView2_14[] = "{6daa4f10-4a90-4753-8898-77c5df534165}";
inline constexpr char ICoreWebView2_15[] = "{517b2d1d-7dae-4a66-a4f4-10352ffb9518}";
}  // namespace IidText

// Slots 61 to 67.
struct ICoreWebView2_2 : ICoreWebView2 {
  virtual HRESULT STDMETHODCALLTYPE Slot61_add_WebResourceResponseReceived() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot62_remove_WebResourceResponseReceived() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot63_NavigateWithWebResourceRequest() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot64_add_DOMContentLoaded() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot65_remove_DOMContentLoaded() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot66_get_CookieManager() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot67_get_Environment() = 0;
};

// Slots 68 to 72.
struct ICoreWebView2_3 : ICoreWebView2_2 {
  virtual HRESULT STDMETHODCALLTYPE Slot68_TrySuspend() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot69_Resume() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot70_get_IsSuspended() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot71_SetVirtualHostNameToFolderMapping() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot72_ClearVirtualHostNameToFolderMapping() = 0;
};

// Slots 73 to 76.
struct ICoreWebView2_4 : ICoreWebView2_3 {
  virtual HRESULT STDMETHODCALLTYPE Slot73_add_FrameCreated() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot74_remove_FrameCreated() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot75_add_DownloadStarting() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot76_remove_DownloadStarting() = 0;
};

// Slots 77 to 78.
struct ICoreWebView2_5 : ICoreWebView2_4 {
  virtual HRESULT STDMETHODCALLTYPE Slot77_add_ClientCertificateRequested() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot78_remove_ClientCertificateRequested() = 0;
};

// Slot 79.
struct ICoreWebView2_6 : ICoreWebView2_5 {
  virtual HRESULT STDMETHODCALLTYPE Slot79_OpenTaskManagerWindow() = 0;
};

// Slot 80.
struct ICoreWebView2_7 : ICoreWebView2_6 {
  virtual HRESULT STDMETHODCALLTYPE Slot80_PrintToPdf() = 0;
};

// Slots 81 to 87.
struct ICoreWebView2_8 : ICoreWebView2_7 {
  virtual HRESULT STDMETHODCALLTYPE Slot81_add_IsMutedChanged() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot82_remove_IsMutedChanged() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot83_get_IsMuted() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot84_put_IsMuted() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot85_add_IsDocumentPlayingAudioChanged() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot86_remove_IsDocumentPlayingAudioChanged() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot87_get_IsDocumentPlayingAudio() = 0;
};

// Slots 88 to 96.
struct ICoreWebView2_9 : ICoreWebView2_8 {
  virtual HRESULT STDMETHODCALLTYPE Slot88_add_IsDefaultDownloadDialogOpenChanged() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot89_remove_IsDefaultDownloadDialogOpenChanged() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot90_get_IsDefaultDownloadDialogOpen() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot91_OpenDefaultDownloadDialog() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot92_CloseDefaultDownloadDialog() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot93_get_DefaultDownloadDialogCornerAlignment() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot94_put_DefaultDownloadDialogCornerAlignment() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot95_get_DefaultDownloadDialogMargin() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot96_put_DefaultDownloadDialogMargin() = 0;
};

// Slots 97 to 98.
struct ICoreWebView2_10 : ICoreWebView2_9 {
  virtual HRESULT STDMETHODCALLTYPE Slot97_add_BasicAuthenticationRequested() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot98_remove_BasicAuthenticationRequested() = 0;
};

// Slots 99 to 101.
struct ICoreWebView2_11 : ICoreWebView2_10 {
  virtual HRESULT STDMETHODCALLTYPE Slot99_CallDevToolsProtocolMethodForSession() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot100_add_ContextMenuRequested() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot101_remove_ContextMenuRequested() = 0;
};

// Slots 102 to 104.
struct ICoreWebView2_12 : ICoreWebView2_11 {
  virtual HRESULT STDMETHODCALLTYPE Slot102_add_StatusBarTextChanged() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot103_remove_StatusBarTextChanged() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot104_get_StatusBarText() = 0;
};

// Slot 105.
struct ICoreWebView2_13 : ICoreWebView2_12 {
  virtual HRESULT STDMETHODCALLTYPE Slot105_get_Profile() = 0;
};

// Slots 106 to 108.
struct ICoreWebView2_14 : ICoreWebView2_13 {
  virtual HRESULT STDMETHODCALLTYPE Slot106_add_ServerCertificateErrorDetected() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot107_remove_ServerCertificateErrorDetected() = 0;
  virtual HRESULT STDMETHODCALLTYPE Slot108_ClearServerCertificateErrorActions() = 0;
};
// Slots 109 to 112, the favicon.
struct ICoreWebView2_15 : ICoreWebView2_14 {
  virtual HRESULT STDMETHODCALLTYPE add_FaviconChanged(ICoreWebView2FaviconChangedEventHandler* handler,
                                                       EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_FaviconChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_FaviconUri(LPWSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT format,
                                               ICoreWebView2GetFaviconCompletedHandler* completedHandler) = 0;
};
