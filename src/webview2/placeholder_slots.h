#pragma once

// Answers every method of ICoreWebView2_2 to ICoreWebView2_14 with E_NOTIMPL, each taking its
// published parameters, so that an implementation of ICoreWebView2_15 (a test fake, the
// stand-in) writes only the methods it means:
//   class View : public PlaceholderSlots<ICoreWebView2_15> { ... };
// Each of them goes through Unimplemented with its own name, for an implementation that notes
// or journals the call.

#include "webview2/webview_versions.h"

template <class Interface>
struct PlaceholderSlots : Interface {
  virtual HRESULT Unimplemented(const char* /*method*/) { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE add_WebResourceResponseReceived(ICoreWebView2WebResourceResponseReceivedEventHandler*,
                                                            EventRegistrationToken*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE remove_WebResourceResponseReceived(EventRegistrationToken) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE NavigateWithWebResourceRequest(ICoreWebView2WebResourceRequest*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE add_DOMContentLoaded(ICoreWebView2DOMContentLoadedEventHandler*,
                                                 EventRegistrationToken*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE remove_DOMContentLoaded(EventRegistrationToken) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE get_CookieManager(ICoreWebView2CookieManager**) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE get_Environment(ICoreWebView2Environment**) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE TrySuspend(ICoreWebView2TrySuspendCompletedHandler*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE Resume() override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE get_IsSuspended(BOOL*) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE SetVirtualHostNameToFolderMapping(LPCWSTR, LPCWSTR,
                                                              COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE ClearVirtualHostNameToFolderMapping(LPCWSTR) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE add_FrameCreated(ICoreWebView2FrameCreatedEventHandler*, EventRegistrationToken*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE remove_FrameCreated(EventRegistrationToken) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE add_DownloadStarting(ICoreWebView2DownloadStartingEventHandler*,
                                                 EventRegistrationToken*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE remove_DownloadStarting(EventRegistrationToken) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE add_ClientCertificateRequested(ICoreWebView2ClientCertificateRequestedEventHandler*,
                                                           EventRegistrationToken*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE remove_ClientCertificateRequested(EventRegistrationToken) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE OpenTaskManagerWindow() override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE PrintToPdf(LPCWSTR, ICoreWebView2PrintSettings*,
                                       ICoreWebView2PrintToPdfCompletedHandler*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE add_IsMutedChanged(ICoreWebView2IsMutedChangedEventHandler*,
                                               EventRegistrationToken*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE remove_IsMutedChanged(EventRegistrationToken) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE get_IsMuted(BOOL*) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE put_IsMuted(BOOL) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE add_IsDocumentPlayingAudioChanged(ICoreWebView2IsDocumentPlayingAudioChangedEventHandler*,
                                                              EventRegistrationToken*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE remove_IsDocumentPlayingAudioChanged(EventRegistrationToken) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE get_IsDocumentPlayingAudio(BOOL*) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE add_IsDefaultDownloadDialogOpenChanged(
      ICoreWebView2IsDefaultDownloadDialogOpenChangedEventHandler*, EventRegistrationToken*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE remove_IsDefaultDownloadDialogOpenChanged(EventRegistrationToken) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE get_IsDefaultDownloadDialogOpen(BOOL*) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE OpenDefaultDownloadDialog() override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE CloseDefaultDownloadDialog() override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE
  get_DefaultDownloadDialogCornerAlignment(COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE
  put_DefaultDownloadDialogCornerAlignment(COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE get_DefaultDownloadDialogMargin(POINT*) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE put_DefaultDownloadDialogMargin(POINT) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE add_BasicAuthenticationRequested(ICoreWebView2BasicAuthenticationRequestedEventHandler*,
                                                             EventRegistrationToken*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE remove_BasicAuthenticationRequested(EventRegistrationToken) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE CallDevToolsProtocolMethodForSession(
      LPCWSTR, LPCWSTR, LPCWSTR, ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE add_ContextMenuRequested(ICoreWebView2ContextMenuRequestedEventHandler*,
                                                     EventRegistrationToken*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE remove_ContextMenuRequested(EventRegistrationToken) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE add_StatusBarTextChanged(ICoreWebView2StatusBarTextChangedEventHandler*,
                                                     EventRegistrationToken*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE remove_StatusBarTextChanged(EventRegistrationToken) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE get_StatusBarText(LPWSTR*) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE get_Profile(ICoreWebView2Profile**) override { return Unimplemented(__func__); }
  HRESULT STDMETHODCALLTYPE add_ServerCertificateErrorDetected(ICoreWebView2ServerCertificateErrorDetectedEventHandler*,
                                                               EventRegistrationToken*) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE remove_ServerCertificateErrorDetected(EventRegistrationToken) override {
    return Unimplemented(__func__);
  }
  HRESULT STDMETHODCALLTYPE
  ClearServerCertificateErrorActions(ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler*) override {
    return Unimplemented(__func__);
  }
};
