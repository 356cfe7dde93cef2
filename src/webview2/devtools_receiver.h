#pragma once

// The source of one DevTools protocol event, as the view hands it out by event name.

#include <windows.h>
#include <unknwn.h>
#include <eventtoken.h>

#include "webview2/handlers.h"
#include "webview2/iid_text.h"

namespace IidText {
inline constexpr char ICoreWebView2DevToolsProtocolEventReceiver[] = "{b32ca51a-8371-45e9-9317-af021d080367}";
}  // namespace IidText

// Slots 3 and 4.
struct ICoreWebView2DevToolsProtocolEventReceiver : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE add_DevToolsProtocolEventReceived(
      ICoreWebView2DevToolsProtocolEventReceivedEventHandler* handler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_DevToolsProtocolEventReceived(EventRegistrationToken token) = 0;
};
