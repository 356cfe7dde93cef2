#pragma once

// The browser environment: asks for the controller, tells the runtime's version, and through its
// later version makes requests, composition controllers and automation providers.

#include <windows.h>
#include <eventtoken.h>

#include <memory>

#include "com/callback_object.h"
#include "com/interface_holder.h"
#include "com/text.h"

// Holds an ICoreWebView2Environment.
class EnvironmentWrapper : public InterfaceHolder {
 public:
  EnvironmentWrapper() = default;
  ~EnvironmentWrapper() override;
  std::unique_ptr<InterfaceHolder> Clone() const override;

  // The routine receives (context, error code, controller). E_OUTOFMEMORY when the holder is
  // empty or the handler object cannot be made.
  virtual HRESULT CreateCoreWebView2Controller(HWND parentWindow, CallbackRoutine routine, ULONG_PTR context);
  // content: a holder of an IStream, or an empty one. An absent reason phrase or headers text is
  // passed as null. E_FAIL, leaving response as it was, when the holder is empty.
  virtual HRESULT CreateWebResourceResponse(const InterfaceHolder& content, int statusCode, TextArg reasonPhrase,
                                            TextArg headers, InterfaceHolder& response);
  virtual Utf8Text get_BrowserVersionString();
  // The routine receives (context, environment, args).
  virtual EventRegistrationToken add_NewBrowserVersionAvailable(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_NewBrowserVersionAvailable(EventRegistrationToken token);
};

// Holds an ICoreWebView2Environment4, which is also an ICoreWebView2Environment.
class Environment4Wrapper : public EnvironmentWrapper {
 public:
  Environment4Wrapper() = default;
  ~Environment4Wrapper() override;
  std::unique_ptr<InterfaceHolder> Clone() const override;

  // postData: a holder of an IStream, or an empty one. An absent text is passed as the empty one.
  virtual HRESULT CreateWebResourceRequest(TextArg uri, TextArg method, const InterfaceHolder& postData,
                                           TextArg headers, InterfaceHolder& request);
  // The routine receives (context, error code, composition controller). E_FAIL when the holder is
  // empty, E_OUTOFMEMORY when the handler object cannot be made.
  virtual HRESULT CreateCoreWebView2CompositionController(HWND parentWindow, CallbackRoutine routine,
                                                          ULONG_PTR context);
  virtual HRESULT CreateCoreWebView2PointerInfo(InterfaceHolder& pointerInfo);
  virtual HRESULT GetAutomationProviderForWindow(HWND window, InterfaceHolder& provider);
};
