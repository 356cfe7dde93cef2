#pragma once

// One owner for every kind of handle (in the spirit of WIL's unique_any): it closes what it holds
// when it goes, or when something else takes its place. A kind is described by its traits: the
// stored value, the value that means "nothing held", and the function that closes one.

#include <windows.h>
#include <oleauto.h>

#include <utility>

template <class Traits>
class UniqueAny {
 public:
  using Value = typename Traits::Value;

  UniqueAny() noexcept : value_(Traits::Empty()) {}
  // Takes over a value the caller owns.
  explicit UniqueAny(Value owned) noexcept : value_(owned) {}
  UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  ~UniqueAny() { reset(); }

  Value get() const { return value_; }
  explicit operator bool() const { return !Traits::IsEmpty(value_); }

  // Closes what is held and takes the new value; the empty value by default.
  void reset(Value owned = Traits::Empty()) noexcept {
    Value old = std::exchange(value_, owned);
    if (!Traits::IsEmpty(old)) Traits::Close(old);
  }
  // Hands the value to the caller, who closes it.
  Value release() noexcept { return std::exchange(value_, Traits::Empty()); }
  // Where an out-parameter writes a new value: what was held is closed first, so nothing leaks.
  Value* put() noexcept {
    reset();
    return &value_;
  }
  // The storage itself, keeping what it holds: for a call that reads the value in place.
  Value* addressof() noexcept { return &value_; }

 private:
  Value value_;
};

// Handles for which null means none, closed by a function that takes the handle.
template <class Handle, auto CloseFunction>
struct NullEmptyHandleTraits {
  using Value = Handle;
  static Value Empty() { return nullptr; }
  static bool IsEmpty(Value value) { return value == nullptr; }
  static void Close(Value value) { CloseFunction(value); }
};

template <class Handle, auto CloseFunction>
using UniqueHandle = UniqueAny<NullEmptyHandleTraits<Handle, CloseFunction>>;

using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenu>;

// Kernel handles: CreateFile and its kin give INVALID_HANDLE_VALUE for none, others null.
struct FileHandleTraits {
  using Value = HANDLE;
  static Value Empty() { return INVALID_HANDLE_VALUE; }
  static bool IsEmpty(Value value) { return value == INVALID_HANDLE_VALUE || value == nullptr; }
  static void Close(Value value) { CloseHandle(value); }
};
using UniqueFile = UniqueAny<FileHandleTraits>;

// A VARIANT owns what it carries (an interface reference, a BSTR); VT_EMPTY carries nothing.
struct VariantTraits {
  using Value = VARIANT;
  static Value Empty() {
    VARIANT value;
    VariantInit(&value);
    return value;
  }
  static bool IsEmpty(const Value& value) { return V_VT(&value) == VT_EMPTY; }
  static void Close(Value& value) { VariantClear(&value); }
};
using UniqueVariant = UniqueAny<VariantTraits>;
