#include "event_args.h"

namespace {

template <class T, class Value>
HRESULT Answer(T* out, Value value) {
  if (!out) return E_POINTER;
  *out = static_cast<T>(value);
  return S_OK;
}

}  // namespace

NavigationStartingArgs::NavigationStartingArgs(std::wstring uri, bool userInitiated, std::uint64_t navigationId)
    : ComObject({IidText::ICoreWebView2NavigationStartingEventArgs}),
      uri_(std::move(uri)),
      userInitiated_(userInitiated),
      navigationId_(navigationId) {}

HRESULT NavigationStartingArgs::get_Uri(LPWSTR* uri) { return HandOutText(uri_, uri); }
HRESULT NavigationStartingArgs::get_IsUserInitiated(BOOL* value) { return Answer(value, userInitiated_); }
// The stand-in follows no redirects of its own: every navigation it starts is a first request.
HRESULT NavigationStartingArgs::get_IsRedirected(BOOL* value) { return Answer(value, FALSE); }
HRESULT NavigationStartingArgs::get_RequestHeaders(ICoreWebView2HttpRequestHeaders** headers) {
  if (!headers) return E_POINTER;
  *headers = nullptr;
  return E_NOTIMPL;
}
HRESULT NavigationStartingArgs::get_Cancel(BOOL* value) { return Answer(value, cancel_); }
HRESULT NavigationStartingArgs::put_Cancel(BOOL cancel) {
  cancel_ = cancel != FALSE;
  return S_OK;
}
HRESULT NavigationStartingArgs::get_NavigationId(UINT64* value) { return Answer(value, navigationId_); }

ContentLoadingArgs::ContentLoadingArgs(bool isErrorPage, std::uint64_t navigationId)
    : ComObject({IidText::ICoreWebView2ContentLoadingEventArgs}),
      isErrorPage_(isErrorPage),
      navigationId_(navigationId) {}

HRESULT ContentLoadingArgs::get_IsErrorPage(BOOL* value) { return Answer(value, isErrorPage_); }
HRESULT ContentLoadingArgs::get_NavigationId(UINT64* value) { return Answer(value, navigationId_); }

SourceChangedArgs::SourceChangedArgs(bool isNewDocument)
    : ComObject({IidText::ICoreWebView2SourceChangedEventArgs}), isNewDocument_(isNewDocument) {}

HRESULT SourceChangedArgs::get_IsNewDocument(BOOL* value) { return Answer(value, isNewDocument_); }

NavigationCompletedArgs::NavigationCompletedArgs(bool success, COREWEBVIEW2_WEB_ERROR_STATUS status,
                                                 std::uint64_t navigationId)
    : ComObject({IidText::ICoreWebView2NavigationCompletedEventArgs}),
      success_(success),
      status_(status),
      navigationId_(navigationId) {}

HRESULT NavigationCompletedArgs::get_IsSuccess(BOOL* value) { return Answer(value, success_); }
HRESULT NavigationCompletedArgs::get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* value) {
  return Answer(value, status_);
}
HRESULT NavigationCompletedArgs::get_NavigationId(UINT64* value) { return Answer(value, navigationId_); }
