#pragma once

// The view, ICoreWebView2 up to ICoreWebView2_15 on one object. It owns the WebView2 side of a
// page (navigation ids, the order of the events, handlers and tokens, host objects) and drives a
// page engine for the rest. The controller creates it on its child window and ends it at Close.

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "com_object.h"
#include "engine/page_engine.h"
#include "event_list.h"
#include "webview2/placeholder_slots.h"
#include "webview2/webview2.h"

class View : public ComObject<PlaceholderSlots<ICoreWebView2_15>>, public PageEngineHost {
 public:
  View(HWND window, const PageEngineSettings& settings);
  ~View() override;

  // The end of the view (its controller closed): every handler and host object is let go, the
  // page stops, and later calls answer HRESULT_FROM_WIN32(ERROR_INVALID_STATE).
  void End();
  bool ended() const { return ended_; }

  // The controller's child window hands these on.
  void Paint(HDC dc, const RECT& client);
  void Click(POINT point);
  void Wheel(int delta);

  // ICoreWebView2
  HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) override;
  HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) override;
  HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override;
  HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR htmlContent) override;
  HRESULT STDMETHODCALLTYPE add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* handler,
                                                   EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ContentLoading(ICoreWebView2ContentLoadingEventHandler* handler,
                                               EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_SourceChanged(ICoreWebView2SourceChangedEventHandler* handler,
                                              EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_HistoryChanged(ICoreWebView2HistoryChangedEventHandler* handler,
                                               EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_HistoryChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* handler,
                                                    EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_FrameNavigationStarting(ICoreWebView2NavigationStartingEventHandler* handler,
                                                        EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_FrameNavigationStarting(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_FrameNavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* handler,
                                                         EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_FrameNavigationCompleted(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventHandler* handler,
                                                    EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ScriptDialogOpening(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_PermissionRequested(ICoreWebView2PermissionRequestedEventHandler* handler,
                                                    EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler* handler,
                                              EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
      LPCWSTR javaScript, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) override;
  HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR javaScript,
                                          ICoreWebView2ExecuteScriptCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT imageFormat, IStream* imageStream,
                                           ICoreWebView2CapturePreviewCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE Reload() override;
  HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR webMessageAsJson) override;
  HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR webMessageAsString) override;
  HRESULT STDMETHODCALLTYPE add_WebMessageReceived(ICoreWebView2WebMessageReceivedEventHandler* handler,
                                                   EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE
  CallDevToolsProtocolMethod(LPCWSTR methodName, LPCWSTR parametersAsJson,
                             ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* value) override;
  HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* canGoBack) override;
  HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* canGoForward) override;
  HRESULT STDMETHODCALLTYPE GoBack() override;
  HRESULT STDMETHODCALLTYPE GoForward() override;
  HRESULT STDMETHODCALLTYPE
  GetDevToolsProtocolEventReceiver(LPCWSTR eventName, ICoreWebView2DevToolsProtocolEventReceiver** receiver) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE add_NewWindowRequested(ICoreWebView2NewWindowRequestedEventHandler* handler,
                                                   EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler* handler,
                                                     EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) override;
  HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR name, VARIANT* object) override;
  HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR name) override;
  HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() override;
  HRESULT STDMETHODCALLTYPE add_ContainsFullScreenElementChanged(
      ICoreWebView2ContainsFullScreenElementChangedEventHandler* handler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ContainsFullScreenElementChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* containsFullScreenElement) override;
  HRESULT STDMETHODCALLTYPE add_WebResourceRequested(ICoreWebView2WebResourceRequestedEventHandler* handler,
                                                     EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WebResourceRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilter(LPCWSTR uri,
                                                          COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) override;
  HRESULT STDMETHODCALLTYPE
  RemoveWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) override;
  HRESULT STDMETHODCALLTYPE add_WindowCloseRequested(ICoreWebView2WindowCloseRequestedEventHandler* handler,
                                                     EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WindowCloseRequested(EventRegistrationToken token) override;

  // ICoreWebView2_15
  HRESULT STDMETHODCALLTYPE add_FaviconChanged(ICoreWebView2FaviconChangedEventHandler* handler,
                                               EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_FaviconChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_FaviconUri(LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT format,
                                       ICoreWebView2GetFaviconCompletedHandler* completedHandler) override;

  // ICoreWebView2_2 to ICoreWebView2_14: their events are kept by token, never raised.
  HRESULT STDMETHODCALLTYPE add_WebResourceResponseReceived(
      ICoreWebView2WebResourceResponseReceivedEventHandler* handler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WebResourceResponseReceived(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_DOMContentLoaded(ICoreWebView2DOMContentLoadedEventHandler* handler,
                                                 EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_DOMContentLoaded(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_FrameCreated(ICoreWebView2FrameCreatedEventHandler* handler,
                                             EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_FrameCreated(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_DownloadStarting(ICoreWebView2DownloadStartingEventHandler* handler,
                                                 EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_DownloadStarting(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ClientCertificateRequested(ICoreWebView2ClientCertificateRequestedEventHandler* handler,
                                                           EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ClientCertificateRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_IsMutedChanged(ICoreWebView2IsMutedChangedEventHandler* handler,
                                               EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_IsMutedChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_IsDocumentPlayingAudioChanged(
      ICoreWebView2IsDocumentPlayingAudioChangedEventHandler* handler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_IsDocumentPlayingAudioChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_IsDefaultDownloadDialogOpenChanged(
      ICoreWebView2IsDefaultDownloadDialogOpenChangedEventHandler* handler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_IsDefaultDownloadDialogOpenChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_BasicAuthenticationRequested(
      ICoreWebView2BasicAuthenticationRequestedEventHandler* handler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_BasicAuthenticationRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ContextMenuRequested(ICoreWebView2ContextMenuRequestedEventHandler* handler,
                                                     EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ContextMenuRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_StatusBarTextChanged(ICoreWebView2StatusBarTextChangedEventHandler* handler,
                                                     EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_StatusBarTextChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ServerCertificateErrorDetected(
      ICoreWebView2ServerCertificateErrorDetectedEventHandler* handler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ServerCertificateErrorDetected(EventRegistrationToken token) override;
  // Their other methods: journalled, then E_NOTIMPL.
  HRESULT Unimplemented(const char* method) override;

  // PageEngineHost
  void OnPageRequestsNavigation(const std::wstring& uri, bool userInitiated) override;
  void OnContentLoading(bool isErrorPage) override;
  void OnTitleChanged() override;
  void OnLoadFinished(bool success, int webErrorStatus, int httpStatus) override;
  IDispatch* FindHostObject(const std::wstring& name) override;

 private:
  struct Navigation {
    std::uint64_t id = 0;
    std::wstring uri;
    bool contentLoading = false;  // OnContentLoading came for it
  };

  // Journals the call; answers S_OK, or the error for a call after the end.
  HRESULT Enter(const char* method);
  void StartNavigation(const std::wstring& uri, bool userInitiated);
  void BeginNavigation(const std::wstring& uri, bool userInitiated, std::uint64_t id);
  void FailNavigation(std::uint64_t id, COREWEBVIEW2_WEB_ERROR_STATUS status);
  void CompleteNavigation(std::uint64_t id, bool success, COREWEBVIEW2_WEB_ERROR_STATUS status);
  void RaiseTitleIfChanged();
  void RaiseFaviconIfChanged(const std::wstring& favicon);

  std::unique_ptr<PageEngine> engine_;
  bool ended_ = false;
  std::wstring source_ = L"about:blank";
  std::wstring reportedTitle_;
  std::wstring favicon_;
  Navigation current_;              // the navigation under way; id 0 when none
  std::uint64_t stoppedBelow_ = 0;  // navigations with a smaller id were stopped before they began
  std::map<std::wstring, Ref<IDispatch>> hostObjects_;

  EventList<ICoreWebView2NavigationStartingEventHandler> navigationStarting_{"NavigationStarting"};
  EventList<ICoreWebView2ContentLoadingEventHandler> contentLoading_{"ContentLoading"};
  EventList<ICoreWebView2SourceChangedEventHandler> sourceChanged_{"SourceChanged"};
  EventList<ICoreWebView2HistoryChangedEventHandler> historyChanged_{"HistoryChanged"};
  EventList<ICoreWebView2NavigationCompletedEventHandler> navigationCompleted_{"NavigationCompleted"};
  EventList<ICoreWebView2NavigationStartingEventHandler> frameNavigationStarting_{"FrameNavigationStarting"};
  EventList<ICoreWebView2NavigationCompletedEventHandler> frameNavigationCompleted_{"FrameNavigationCompleted"};
  EventList<ICoreWebView2ScriptDialogOpeningEventHandler> scriptDialogOpening_{"ScriptDialogOpening"};
  EventList<ICoreWebView2PermissionRequestedEventHandler> permissionRequested_{"PermissionRequested"};
  EventList<ICoreWebView2ProcessFailedEventHandler> processFailed_{"ProcessFailed"};
  EventList<ICoreWebView2WebMessageReceivedEventHandler> webMessageReceived_{"WebMessageReceived"};
  EventList<ICoreWebView2NewWindowRequestedEventHandler> newWindowRequested_{"NewWindowRequested"};
  EventList<ICoreWebView2DocumentTitleChangedEventHandler> documentTitleChanged_{"DocumentTitleChanged"};
  EventList<ICoreWebView2ContainsFullScreenElementChangedEventHandler> containsFullScreenElementChanged_{
      "ContainsFullScreenElementChanged"};
  EventList<ICoreWebView2WebResourceRequestedEventHandler> webResourceRequested_{"WebResourceRequested"};
  EventList<ICoreWebView2WindowCloseRequestedEventHandler> windowCloseRequested_{"WindowCloseRequested"};
  EventList<ICoreWebView2FaviconChangedEventHandler> faviconChanged_{"FaviconChanged"};
  // The handler types of the later versions stay opaque: kept as what they all are, IUnknown.
  EventList<IUnknown> webResourceResponseReceived_{"WebResourceResponseReceived"};
  EventList<IUnknown> dOMContentLoaded_{"DOMContentLoaded"};
  EventList<IUnknown> frameCreated_{"FrameCreated"};
  EventList<IUnknown> downloadStarting_{"DownloadStarting"};
  EventList<IUnknown> clientCertificateRequested_{"ClientCertificateRequested"};
  EventList<IUnknown> isMutedChanged_{"IsMutedChanged"};
  EventList<IUnknown> isDocumentPlayingAudioChanged_{"IsDocumentPlayingAudioChanged"};
  EventList<IUnknown> isDefaultDownloadDialogOpenChanged_{"IsDefaultDownloadDialogOpenChanged"};
  EventList<IUnknown> basicAuthenticationRequested_{"BasicAuthenticationRequested"};
  EventList<IUnknown> contextMenuRequested_{"ContextMenuRequested"};
  EventList<IUnknown> statusBarTextChanged_{"StatusBarTextChanged"};
  EventList<IUnknown> serverCertificateErrorDetected_{"ServerCertificateErrorDetected"};
};
