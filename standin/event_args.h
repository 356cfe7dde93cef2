#pragma once

// The arguments of the view's navigation events. The client declares only the completed
// navigation's arguments (webview2/navigation_completed_args.h); the others are declared here,
// slot for slot as published, with the objects the view hands to its handlers.

#include <windows.h>
#include <unknwn.h>

#include <cstdint>
#include <string>

#include "com_object.h"
#include "webview2/webview2.h"

struct ICoreWebView2HttpRequestHeaders;

namespace IidText {
inline constexpr char ICoreWebView2NavigationStartingEventArgs[] = "{5b495469-e119-438a-9b18-7604f25f2e49}";
inline constexpr char ICoreWebView2ContentLoadingEventArgs[] = "{0c8a1275-9b6b-4901-87ad-70df25bafa6e}";
inline constexpr char ICoreWebView2SourceChangedEventArgs[] = "{31e0e545-1dba-4266-8914-f63848a1f7d7}";
}  // namespace IidText

// Slots 3 to 9.
struct ICoreWebView2NavigationStartingEventArgs : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* isRedirected) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders** requestHeaders) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) = 0;
};

// Slots 3 and 4.
struct ICoreWebView2ContentLoadingEventArgs : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_IsErrorPage(BOOL* isErrorPage) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) = 0;
};

// Slot 3.
struct ICoreWebView2SourceChangedEventArgs : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_IsNewDocument(BOOL* isNewDocument) = 0;
};

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
