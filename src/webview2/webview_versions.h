#pragma once

// The later versions of the view, ICoreWebView2_2 to ICoreWebView2_15, each deriving from the one
// before. The program calls only ICoreWebView2_15's own four methods (slots 109 to 112); the 48
// methods in between are declared with their published parameters all the same, because an
// object that answers ICoreWebView2_15 answers every one of them, and under stdcall each must
// take exactly its own arguments off the stack. Their interface and handler types stay opaque.
// PlaceholderSlots (webview2/placeholder_slots.h) answers them all with E_NOTIMPL.

#include <windows.h>
#include <unknwn.h>
#include <eventtoken.h>

#include <cstdint>

#include "webview2/handlers.h"
#include "webview2/iid_text.h"
#include "webview2/webview.h"

// Reached only through the slots between ICoreWebView2 and ICoreWebView2_15, never used.
struct ICoreWebView2BasicAuthenticationRequestedEventHandler;
struct ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler;
struct ICoreWebView2ClientCertificateRequestedEventHandler;
struct ICoreWebView2ContextMenuRequestedEventHandler;
struct ICoreWebView2CookieManager;
struct ICoreWebView2DOMContentLoadedEventHandler;
struct ICoreWebView2DownloadStartingEventHandler;
struct ICoreWebView2FrameCreatedEventHandler;
struct ICoreWebView2IsDefaultDownloadDialogOpenChangedEventHandler;
struct ICoreWebView2IsDocumentPlayingAudioChangedEventHandler;
struct ICoreWebView2IsMutedChangedEventHandler;
struct ICoreWebView2PrintSettings;
struct ICoreWebView2PrintToPdfCompletedHandler;
struct ICoreWebView2Profile;
struct ICoreWebView2ServerCertificateErrorDetectedEventHandler;
struct ICoreWebView2StatusBarTextChangedEventHandler;
struct ICoreWebView2TrySuspendCompletedHandler;
struct ICoreWebView2WebResourceRequest;
struct ICoreWebView2WebResourceResponseReceivedEventHandler;

enum COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND : std::int32_t {
  COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND_DENY = 0,
  COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND_ALLOW = 1,
  COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND_DENY_CORS = 2,
};

// A 32-bit enum like every other; its values are never needed here.
enum COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT : std::int32_t {};

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
  virtual HRESULT STDMETHODCALLTYPE add_WebResourceResponseReceived(
      ICoreWebView2WebResourceResponseReceivedEventHandler* handler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_WebResourceResponseReceived(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE NavigateWithWebResourceRequest(ICoreWebView2WebResourceRequest* request) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_DOMContentLoaded(ICoreWebView2DOMContentLoadedEventHandler* handler,
                                                         EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_DOMContentLoaded(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CookieManager(ICoreWebView2CookieManager** cookieManager) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Environment(ICoreWebView2Environment** environment) = 0;
};

// Slots 68 to 72.
struct ICoreWebView2_3 : ICoreWebView2_2 {
  virtual HRESULT STDMETHODCALLTYPE TrySuspend(ICoreWebView2TrySuspendCompletedHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE Resume() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsSuspended(BOOL* isSuspended) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetVirtualHostNameToFolderMapping(
      LPCWSTR hostName, LPCWSTR folderPath, COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND accessKind) = 0;
  virtual HRESULT STDMETHODCALLTYPE ClearVirtualHostNameToFolderMapping(LPCWSTR hostName) = 0;
};

// Slots 73 to 76.
struct ICoreWebView2_4 : ICoreWebView2_3 {
  virtual HRESULT STDMETHODCALLTYPE add_FrameCreated(ICoreWebView2FrameCreatedEventHandler* handler,
                                                     EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_FrameCreated(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_DownloadStarting(ICoreWebView2DownloadStartingEventHandler* handler,
                                                         EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_DownloadStarting(EventRegistrationToken token) = 0;
};

// Slots 77 to 78.
struct ICoreWebView2_5 : ICoreWebView2_4 {
  virtual HRESULT STDMETHODCALLTYPE add_ClientCertificateRequested(
      ICoreWebView2ClientCertificateRequestedEventHandler* handler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ClientCertificateRequested(EventRegistrationToken token) = 0;
};

// Slot 79.
struct ICoreWebView2_6 : ICoreWebView2_5 {
  virtual HRESULT STDMETHODCALLTYPE OpenTaskManagerWindow() = 0;
};

// Slot 80.
struct ICoreWebView2_7 : ICoreWebView2_6 {
  virtual HRESULT STDMETHODCALLTYPE PrintToPdf(LPCWSTR resultFilePath, ICoreWebView2PrintSettings* printSettings,
                                               ICoreWebView2PrintToPdfCompletedHandler* handler) = 0;
};

// Slots 81 to 87.
struct ICoreWebView2_8 : ICoreWebView2_7 {
  virtual HRESULT STDMETHODCALLTYPE add_IsMutedChanged(ICoreWebView2IsMutedChangedEventHandler* handler,
                                                       EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_IsMutedChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsMuted(BOOL* isMuted) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsMuted(BOOL isMuted) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_IsDocumentPlayingAudioChanged(
      ICoreWebView2IsDocumentPlayingAudioChangedEventHandler* handler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_IsDocumentPlayingAudioChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsDocumentPlayingAudio(BOOL* isDocumentPlayingAudio) = 0;
};

// Slots 88 to 96.
struct ICoreWebView2_9 : ICoreWebView2_8 {
  virtual HRESULT STDMETHODCALLTYPE add_IsDefaultDownloadDialogOpenChanged(
      ICoreWebView2IsDefaultDownloadDialogOpenChangedEventHandler* handler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_IsDefaultDownloadDialogOpenChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsDefaultDownloadDialogOpen(BOOL* isOpen) = 0;
  virtual HRESULT STDMETHODCALLTYPE OpenDefaultDownloadDialog() = 0;
  virtual HRESULT STDMETHODCALLTYPE CloseDefaultDownloadDialog() = 0;
  virtual HRESULT STDMETHODCALLTYPE
  get_DefaultDownloadDialogCornerAlignment(COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT* alignment) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  put_DefaultDownloadDialogCornerAlignment(COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT alignment) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DefaultDownloadDialogMargin(POINT* margin) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DefaultDownloadDialogMargin(POINT margin) = 0;
};

// Slots 97 to 98.
struct ICoreWebView2_10 : ICoreWebView2_9 {
  virtual HRESULT STDMETHODCALLTYPE add_BasicAuthenticationRequested(
      ICoreWebView2BasicAuthenticationRequestedEventHandler* handler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_BasicAuthenticationRequested(EventRegistrationToken token) = 0;
};

// Slots 99 to 101.
struct ICoreWebView2_11 : ICoreWebView2_10 {
  virtual HRESULT STDMETHODCALLTYPE
  CallDevToolsProtocolMethodForSession(LPCWSTR sessionId, LPCWSTR methodName, LPCWSTR parametersAsJson,
                                       ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_ContextMenuRequested(ICoreWebView2ContextMenuRequestedEventHandler* handler,
                                                             EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ContextMenuRequested(EventRegistrationToken token) = 0;
};

// Slots 102 to 104.
struct ICoreWebView2_12 : ICoreWebView2_11 {
  virtual HRESULT STDMETHODCALLTYPE add_StatusBarTextChanged(ICoreWebView2StatusBarTextChangedEventHandler* handler,
                                                             EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_StatusBarTextChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_StatusBarText(LPWSTR* value) = 0;
};

// Slot 105.
struct ICoreWebView2_13 : ICoreWebView2_12 {
  virtual HRESULT STDMETHODCALLTYPE get_Profile(ICoreWebView2Profile** profile) = 0;
};

// Slots 106 to 108.
struct ICoreWebView2_14 : ICoreWebView2_13 {
  virtual HRESULT STDMETHODCALLTYPE add_ServerCertificateErrorDetected(
      ICoreWebView2ServerCertificateErrorDetectedEventHandler* handler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ServerCertificateErrorDetected(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  ClearServerCertificateErrorActions(ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler* handler) = 0;
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
