#include "environment.h"

#include "controller.h"
#include "dispatcher.h"
#include "journal.h"
#include "knobs.h"

const wchar_t kStandInBrowserVersion[] = L"138.0.3351.48";

namespace {

template <class T>
HRESULT NotImplemented(T** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return E_NOTIMPL;
}

}  // namespace

Environment::Environment(PageEngineSettings settings)
    : ComObject(
          {IidText::ICoreWebView2Environment, IidText::ICoreWebView2Environment2, IidText::ICoreWebView2Environment3}),
      settings_(std::move(settings)) {
  if (!Withheld(L"environment4")) AlsoAnswer(IidText::ICoreWebView2Environment4);
}

HRESULT Environment::CreateCoreWebView2Controller(HWND parentWindow,
                                                  ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) {
  Journalf("ICoreWebView2Environment::CreateCoreWebView2Controller");
  if (!handler || !IsWindow(parentWindow)) return E_INVALIDARG;
  Ref<Environment> self(this);
  Ref<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> completion(handler);
  PostToThisThread([self, completion, parentWindow] {
    Ref<Controller> controller;
    HRESULT result = E_FAIL;
    if (StepToFail() != FailStep::kController) {
      result = IsWindow(parentWindow) ? Controller::Create(parentWindow, self->settings_, &controller)
                                      : HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
    }
    Journalf("controller completes: 0x%08lx", static_cast<unsigned long>(result));
    completion->Invoke(result, controller.get());
  });
  return S_OK;
}

HRESULT Environment::get_BrowserVersionString(LPWSTR* versionInfo) {
  Journalf("ICoreWebView2Environment::get_BrowserVersionString");
  return HandOutText(kStandInBrowserVersion, versionInfo);
}

HRESULT Environment::add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler* handler,
                                                    EventRegistrationToken* token) {
  return newBrowserVersionAvailable_.Add(handler, token);
}

HRESULT Environment::remove_NewBrowserVersionAvailable(EventRegistrationToken token) {
  return newBrowserVersionAvailable_.Remove(token);
}

HRESULT Environment::CreateWebResourceResponse(IStream*, int, LPCWSTR, LPCWSTR,
                                               ICoreWebView2WebResourceResponse** response) {
  Journalf("ICoreWebView2Environment::CreateWebResourceResponse");
  return NotImplemented(response);
}

HRESULT Environment::CreateWebResourceRequest(LPCWSTR, LPCWSTR, IStream*, LPCWSTR,
                                              ICoreWebView2WebResourceRequest** request) {
  Journalf("ICoreWebView2Environment2::CreateWebResourceRequest");
  return NotImplemented(request);
}

HRESULT Environment::CreateCoreWebView2CompositionController(
    HWND, ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler*) {
  Journalf("ICoreWebView2Environment3::CreateCoreWebView2CompositionController");
  return E_NOTIMPL;
}

HRESULT Environment::CreateCoreWebView2PointerInfo(ICoreWebView2PointerInfo** pointerInfo) {
  Journalf("ICoreWebView2Environment3::CreateCoreWebView2PointerInfo");
  return NotImplemented(pointerInfo);
}

HRESULT Environment::GetAutomationProviderForWindow(HWND, IUnknown** provider) {
  Journalf("ICoreWebView2Environment4::GetAutomationProviderForWindow");
  return NotImplemented(provider);
}
