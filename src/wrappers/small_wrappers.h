#pragma once

// The small wrappers: a completed navigation's arguments, the favicon side of the view, and a
// DevTools protocol event receiver.

#include <windows.h>
#include <eventtoken.h>

#include <memory>

#include "com/callback_object.h"
#include "com/interface_holder.h"
#include "com/text.h"
#include "webview2/navigation_completed_args.h"
#include "webview2/webview_versions.h"

// Holds an ICoreWebView2NavigationCompletedEventArgs. Each getter answers 0 when the holder is
// empty or the call fails.
class NavigationCompletedArgsWrapper : public InterfaceHolder {
 public:
  NavigationCompletedArgsWrapper() = default;
  ~NavigationCompletedArgsWrapper() override;
  std::unique_ptr<InterfaceHolder> Clone() const override;

  virtual BOOL get_IsSuccess();
  virtual COREWEBVIEW2_WEB_ERROR_STATUS get_WebErrorStatus();
  virtual UINT64 get_NavigationId();
};

// Holds an ICoreWebView2_15.
class WebView15Wrapper : public InterfaceHolder {
 public:
  WebView15Wrapper() = default;
  ~WebView15Wrapper() override;
  std::unique_ptr<InterfaceHolder> Clone() const override;

  // The routine receives (context, view, args).
  virtual EventRegistrationToken add_FaviconChanged(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_FaviconChanged(EventRegistrationToken token);
  // In code page 936, not UTF-8: a character that code page lacks becomes its default character.
  virtual AnsiText get_FaviconUri();
  // The routine receives (context, error code, image stream). E_FAIL when the holder is empty,
  // E_OUTOFMEMORY when the handler object cannot be made.
  virtual HRESULT GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT format, CallbackRoutine routine, ULONG_PTR context);
};

// Holds an ICoreWebView2DevToolsProtocolEventReceiver.
class DevToolsProtocolEventReceiverWrapper : public InterfaceHolder {
 public:
  DevToolsProtocolEventReceiverWrapper() = default;
  ~DevToolsProtocolEventReceiverWrapper() override;
  std::unique_ptr<InterfaceHolder> Clone() const override;

  // The routine receives (context, view, args).
  virtual EventRegistrationToken add_DevToolsProtocolEventReceived(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_DevToolsProtocolEventReceived(EventRegistrationToken token);
};
