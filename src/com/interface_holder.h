#pragma once

// One counted reference to one COM interface: the base of every wrapper class.

#include <windows.h>
#include <unknwn.h>

#include <memory>

#include "com/text.h"

// An owned COM reference, released when the value goes.
class ComRef {
 public:
  ComRef() = default;
  // Takes over one reference the caller owns.
  explicit ComRef(IUnknown* owned) : pointer_(owned) {}
  ComRef(ComRef&& other) noexcept : pointer_(other.Detach()) {}
  ComRef& operator=(ComRef&& other) noexcept;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef();

  IUnknown* Get() const { return pointer_; }
  // Hands the reference to the caller.
  IUnknown* Detach();
  explicit operator bool() const { return pointer_ != nullptr; }

 private:
  IUnknown* pointer_ = nullptr;
};

// QueryInterface for the interface that the identifier text names.
HRESULT QueryInterfaceByText(IUnknown* object, TextArg interfaceIdText, void** result);

class InterfaceHolder {
 public:
  InterfaceHolder() = default;
  // A copy holds the same interface with a reference of its own.
  InterfaceHolder(const InterfaceHolder& other);
  InterfaceHolder& operator=(const InterfaceHolder& other);
  virtual ~InterfaceHolder();

  // A new object of the same class holding the same interface with one more reference.
  virtual std::unique_ptr<InterfaceHolder> Clone() const;

  // Releases the held interface, if any, and empties the holder.
  virtual void Release();
  // The held pointer without an added reference; null when empty.
  virtual IUnknown* Get() const;
  // Where a COM out-parameter writes the interface. The holder is emptied first (as WIL's put()
  // does), since the callee overwrites the slot without releasing what was there.
  virtual IUnknown** GetAddressOf();
  // Holds p with a reference of its own; false for null, which changes nothing.
  virtual bool Set(IUnknown* p);
  // Holds p, taking over the caller's reference; false for null, which changes nothing.
  virtual bool Attach(IUnknown* p);
  // Empties target, then fills it with this interface's answer to the identifier: the
  // QueryInterface result, or S_FALSE when this holder is empty.
  virtual HRESULT QueryInto(TextArg interfaceIdText, InterfaceHolder& target) const;
  // A new counted reference to the held interface; empty when the holder is.
  virtual ComRef Duplicate() const;

 private:
  IUnknown* pointer_ = nullptr;
};
