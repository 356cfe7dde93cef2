#pragma once

// The program's own environment options object, as start-up makes and sets it before it asks for
// the browser environment.

#include <windows.h>

#include <memory>

#include "com/interface_holder.h"
#include "com/text.h"

// Holds an ICoreWebView2EnvironmentOptions made by Create. The property methods call the options
// object's own routines directly, not through its table, so they are for the program's own object
// only; on an empty wrapper they call nothing (S_FALSE, the empty text, 0).
class EnvironmentOptionsWrapper : public InterfaceHolder {
 public:
  EnvironmentOptionsWrapper() = default;
  ~EnvironmentOptionsWrapper() override;
  std::unique_ptr<InterfaceHolder> Clone() const override;

  // A new options object in place of any held before; E_OUTOFMEMORY, keeping what was held, when
  // it cannot be made.
  virtual HRESULT Create();
  virtual HRESULT put_AdditionalBrowserArguments(TextArg value);
  virtual Utf8Text get_AdditionalBrowserArguments();
  virtual HRESULT put_Language(TextArg value);
  virtual Utf8Text get_Language();
  virtual HRESULT put_TargetCompatibleBrowserVersion(TextArg value);
  virtual Utf8Text get_TargetCompatibleBrowserVersion();
  virtual HRESULT put_AllowSingleSignOnUsingOSPrimaryAccount(bool allow);
  virtual BOOL get_AllowSingleSignOnUsingOSPrimaryAccount();
};
