#pragma once

// Answers every placeholder slot of ICoreWebView2_2 to ICoreWebView2_14 with E_NOTIMPL, so that an
// implementation of ICoreWebView2_15 (a test fake, the stand-in) writes only the methods it means:
//   class View : public PlaceholderSlots<ICoreWebView2_15> { ... };

#include "webview2/webview_versions.h"

template <class Interface>
struct PlaceholderSlots : Interface {
  HRESULT STDMETHODCALLTYPE Slot61_add_WebResourceResponseReceived() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot62_remove_WebResourceResponseReceived() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot63_NavigateWithWebResourceRequest() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot64_add_DOMContentLoaded() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot65_remove_DOMContentLoaded() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot66_get_CookieManager() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot67_get_Environment() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot68_TrySuspend() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot69_Resume() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot70_get_IsSuspended() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot71_SetVirtualHostNameToFolderMapping() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot72_ClearVirtualHostNameToFolderMapping() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot73_add_FrameCreated() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot74_remove_FrameCreated() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot75_add_DownloadStarting() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot76_remove_DownloadStarting() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot77_add_ClientCertificateRequested() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot78_remove_ClientCertificateRequested() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot79_OpenTaskManagerWindow() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot80_PrintToPdf() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot81_add_IsMutedChanged() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot82_remove_IsMutedChanged() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot83_get_IsMuted() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot84_put_IsMuted() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot85_add_IsDocumentPlayingAudioChanged() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot86_remove_IsDocumentPlayingAudioChanged() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot87_get_IsDocumentPlayingAudio() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot88_add_IsDefaultDownloadDialogOpenChanged() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot89_remove_IsDefaultDownloadDialogOpenChanged() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot90_get_IsDefaultDownloadDialogOpen() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot91_OpenDefaultDownloadDialog() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot92_CloseDefaultDownloadDialog() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot93_get_DefaultDownloadDialogCornerAlignment() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot94_put_DefaultDownloadDialogCornerAlignment() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot95_get_DefaultDownloadDialogMargin() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot96_put_DefaultDownloadDialogMargin() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot97_add_BasicAuthenticationRequested() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot98_remove_BasicAuthenticationRequested() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot99_CallDevToolsProtocolMethodForSession() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot100_add_ContextMenuRequested() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot101_remove_ContextMenuRequested() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot102_add_StatusBarTextChanged() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot103_remove_StatusBarTextChanged() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot104_get_StatusBarText() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot105_get_Profile() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot106_add_ServerCertificateErrorDetected() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot107_remove_ServerCertificateErrorDetected() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Slot108_ClearServerCertificateErrorActions() override { return E_NOTIMPL; }
};
