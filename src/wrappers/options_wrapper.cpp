#include "wrappers/options_wrapper.h"

#include "com/options_object.h"
#include "wrappers/wrapper_calls.h"

namespace {

using WrapperCalls::Held;
using WrapperCalls::WideArg;
using Options = ICoreWebView2EnvironmentOptions;

HRESULT PutText(const InterfaceHolder& holder, HRESULT(STDMETHODCALLTYPE* put)(Options*, LPCWSTR), TextArg value) {
  Options* options = Held<Options>(holder);
  if (options == nullptr) return S_FALSE;
  return put(options, WideArg(value));
}

Utf8Text GetText(const InterfaceHolder& holder, HRESULT(STDMETHODCALLTYPE* get)(Options*, LPWSTR*)) {
  LPWSTR text = nullptr;
  if (Options* options = Held<Options>(holder)) get(options, &text);
  return WrapperCalls::TakeText(text, kCodePageUtf8);
}

}  // namespace

EnvironmentOptionsWrapper::~EnvironmentOptionsWrapper() = default;

std::unique_ptr<InterfaceHolder> EnvironmentOptionsWrapper::Clone() const {
  return std::make_unique<EnvironmentOptionsWrapper>(*this);
}

HRESULT EnvironmentOptionsWrapper::Create() {
  Options* options = CreateEnvironmentOptionsObject();
  if (options == nullptr) return E_OUTOFMEMORY;
  Attach(options);
  return S_OK;
}

HRESULT EnvironmentOptionsWrapper::put_AdditionalBrowserArguments(TextArg value) {
  return PutText(*this, EnvironmentOptionsRoutines::put_AdditionalBrowserArguments, value);
}

Utf8Text EnvironmentOptionsWrapper::get_AdditionalBrowserArguments() {
  return GetText(*this, EnvironmentOptionsRoutines::get_AdditionalBrowserArguments);
}

HRESULT EnvironmentOptionsWrapper::put_Language(TextArg value) {
  return PutText(*this, EnvironmentOptionsRoutines::put_Language, value);
}

Utf8Text EnvironmentOptionsWrapper::get_Language() { return GetText(*this, EnvironmentOptionsRoutines::get_Language); }

HRESULT EnvironmentOptionsWrapper::put_TargetCompatibleBrowserVersion(TextArg value) {
  return PutText(*this, EnvironmentOptionsRoutines::put_TargetCompatibleBrowserVersion, value);
}

Utf8Text EnvironmentOptionsWrapper::get_TargetCompatibleBrowserVersion() {
  return GetText(*this, EnvironmentOptionsRoutines::get_TargetCompatibleBrowserVersion);
}

HRESULT EnvironmentOptionsWrapper::put_AllowSingleSignOnUsingOSPrimaryAccount(bool allow) {
  Options* options = Held<Options>(*this);
  if (options == nullptr) return S_FALSE;
  return EnvironmentOptionsRoutines::put_AllowSingleSignOnUsingOSPrimaryAccount(options, allow ? TRUE : FALSE);
}

BOOL EnvironmentOptionsWrapper::get_AllowSingleSignOnUsingOSPrimaryAccount() {
  BOOL allow = FALSE;
  if (Options* options = Held<Options>(*this)) {
    EnvironmentOptionsRoutines::get_AllowSingleSignOnUsingOSPrimaryAccount(options, &allow);
  }
  return allow;
}
