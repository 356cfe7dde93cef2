#include "wrappers/environment_wrappers.h"

#include "webview2/environment.h"
#include "wrappers/wrapper_calls.h"

using namespace WrapperCalls;

EnvironmentWrapper::~EnvironmentWrapper() = default;

std::unique_ptr<InterfaceHolder> EnvironmentWrapper::Clone() const {
  return std::make_unique<EnvironmentWrapper>(*this);
}

HRESULT EnvironmentWrapper::CreateCoreWebView2Controller(HWND parentWindow, CallbackRoutine routine,
                                                         ULONG_PTR context) {
  return Start(*this, &ICoreWebView2Environment::CreateCoreWebView2Controller, E_OUTOFMEMORY,
               HandlerRoutine{IidText::ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, routine, context},
               parentWindow);
}

HRESULT EnvironmentWrapper::CreateWebResourceResponse(const InterfaceHolder& content, int statusCode,
                                                      TextArg reasonPhrase, TextArg headers,
                                                      InterfaceHolder& response) {
  if (Get() == nullptr) return E_FAIL;
  return Call(*this, &ICoreWebView2Environment::CreateWebResourceResponse, static_cast<IStream*>(content.Get()),
              statusCode, WideArg(reasonPhrase, WideArg::Absent::kNull), WideArg(headers, WideArg::Absent::kNull),
              OutSlot(response));
}

Utf8Text EnvironmentWrapper::get_BrowserVersionString() {
  return TextProperty(*this, &ICoreWebView2Environment::get_BrowserVersionString);
}

EventRegistrationToken EnvironmentWrapper::add_NewBrowserVersionAvailable(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2Environment::add_NewBrowserVersionAvailable,
                   {IidText::ICoreWebView2NewBrowserVersionAvailableEventHandler, routine, context});
}

HRESULT EnvironmentWrapper::remove_NewBrowserVersionAvailable(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2Environment::remove_NewBrowserVersionAvailable, token);
}

Environment4Wrapper::~Environment4Wrapper() = default;

std::unique_ptr<InterfaceHolder> Environment4Wrapper::Clone() const {
  return std::make_unique<Environment4Wrapper>(*this);
}

HRESULT Environment4Wrapper::CreateWebResourceRequest(TextArg uri, TextArg method, const InterfaceHolder& postData,
                                                      TextArg headers, InterfaceHolder& request) {
  return Call(*this, &ICoreWebView2Environment4::CreateWebResourceRequest, WideArg(uri), WideArg(method),
              static_cast<IStream*>(postData.Get()), WideArg(headers), OutSlot(request));
}

HRESULT Environment4Wrapper::CreateCoreWebView2CompositionController(HWND parentWindow, CallbackRoutine routine,
                                                                     ULONG_PTR context) {
  return Start(
      *this, &ICoreWebView2Environment4::CreateCoreWebView2CompositionController, E_FAIL,
      HandlerRoutine{IidText::ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler, routine, context},
      parentWindow);
}

HRESULT Environment4Wrapper::CreateCoreWebView2PointerInfo(InterfaceHolder& pointerInfo) {
  return Call(*this, &ICoreWebView2Environment4::CreateCoreWebView2PointerInfo, OutSlot(pointerInfo));
}

HRESULT Environment4Wrapper::GetAutomationProviderForWindow(HWND window, InterfaceHolder& provider) {
  return Call(*this, &ICoreWebView2Environment4::GetAutomationProviderForWindow, window, OutSlot(provider));
}
