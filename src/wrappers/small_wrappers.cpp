#include "wrappers/small_wrappers.h"

#include "webview2/devtools_receiver.h"
#include "wrappers/wrapper_calls.h"

using namespace WrapperCalls;

NavigationCompletedArgsWrapper::~NavigationCompletedArgsWrapper() = default;

std::unique_ptr<InterfaceHolder> NavigationCompletedArgsWrapper::Clone() const {
  return std::make_unique<NavigationCompletedArgsWrapper>(*this);
}

BOOL NavigationCompletedArgsWrapper::get_IsSuccess() {
  return Property(*this, &ICoreWebView2NavigationCompletedEventArgs::get_IsSuccess);
}

COREWEBVIEW2_WEB_ERROR_STATUS NavigationCompletedArgsWrapper::get_WebErrorStatus() {
  return Property(*this, &ICoreWebView2NavigationCompletedEventArgs::get_WebErrorStatus);
}

UINT64 NavigationCompletedArgsWrapper::get_NavigationId() {
  return Property(*this, &ICoreWebView2NavigationCompletedEventArgs::get_NavigationId);
}

WebView15Wrapper::~WebView15Wrapper() = default;

std::unique_ptr<InterfaceHolder> WebView15Wrapper::Clone() const { return std::make_unique<WebView15Wrapper>(*this); }

EventRegistrationToken WebView15Wrapper::add_FaviconChanged(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2_15::add_FaviconChanged,
                   {IidText::ICoreWebView2FaviconChangedEventHandler, routine, context});
}

HRESULT WebView15Wrapper::remove_FaviconChanged(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2_15::remove_FaviconChanged, token);
}

AnsiText WebView15Wrapper::get_FaviconUri() {
  return TextProperty(*this, &ICoreWebView2_15::get_FaviconUri, std::nullopt);
}

HRESULT WebView15Wrapper::GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT format, CallbackRoutine routine,
                                     ULONG_PTR context) {
  return Start(*this, &ICoreWebView2_15::GetFavicon, E_FAIL,
               HandlerRoutine{IidText::ICoreWebView2GetFaviconCompletedHandler, routine, context}, format);
}

DevToolsProtocolEventReceiverWrapper::~DevToolsProtocolEventReceiverWrapper() = default;

std::unique_ptr<InterfaceHolder> DevToolsProtocolEventReceiverWrapper::Clone() const {
  return std::make_unique<DevToolsProtocolEventReceiverWrapper>(*this);
}

EventRegistrationToken DevToolsProtocolEventReceiverWrapper::add_DevToolsProtocolEventReceived(CallbackRoutine routine,
                                                                                               ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2DevToolsProtocolEventReceiver::add_DevToolsProtocolEventReceived,
                   {IidText::ICoreWebView2DevToolsProtocolEventReceivedEventHandler, routine, context});
}

HRESULT DevToolsProtocolEventReceiverWrapper::remove_DevToolsProtocolEventReceived(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2DevToolsProtocolEventReceiver::remove_DevToolsProtocolEventReceived, token);
}
