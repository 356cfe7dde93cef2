#pragma once

// The objects the view hands to the handlers of its navigation events.

#include <windows.h>
#include <unknwn.h>

#include <cstdint>
#include <string>

#include "com_object.h"
#include "event_args_interfaces.h"
#include "webview2/webview2.h"

class NavigationStartingArgs : public ComObject<ICoreWebView2NavigationStartingEventArgs> {
 public:
  NavigationStartingArgs(std::wstring uri, bool userInitiated, std::uint64_t navigationId);
  bool cancelled() const { return cancel_; }

  HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
  HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) override;
  HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* isRedirected) override;
  HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders** requestHeaders) override;
  HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) override;
  HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) override;
  HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) override;

 private:
  const std::wstring uri_;
  const bool userInitiated_;
  const std::uint64_t navigationId_;
  bool cancel_ = false;
};

class ContentLoadingArgs : public ComObject<ICoreWebView2ContentLoadingEventArgs> {
 public:
  ContentLoadingArgs(bool isErrorPage, std::uint64_t navigationId);
  HRESULT STDMETHODCALLTYPE get_IsErrorPage(BOOL* isErrorPage) override;
  HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) override;

 private:
  const bool isErrorPage_;
  const std::uint64_t navigationId_;
};

class SourceChangedArgs : public ComObject<ICoreWebView2SourceChangedEventArgs> {
 public:
  explicit SourceChangedArgs(bool isNewDocument);
  HRESULT STDMETHODCALLTYPE get_IsNewDocument(BOOL* isNewDocument) override;

 private:
  const bool isNewDocument_;
};

class NavigationCompletedArgs : public ComObject<ICoreWebView2NavigationCompletedEventArgs> {
 public:
  NavigationCompletedArgs(bool success, COREWEBVIEW2_WEB_ERROR_STATUS status, std::uint64_t navigationId);
  HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* isSuccess) override;
  HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* webErrorStatus) override;
  HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) override;

 private:
  const bool success_;
  const COREWEBVIEW2_WEB_ERROR_STATUS status_;
  const std::uint64_t navigationId_;
};
