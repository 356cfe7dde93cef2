#pragma once

// Small COM helpers of the stand-in: an owning interface pointer, interface identifiers named by
// their texts, and strings handed out the way WebView2 hands them out.

#include <windows.h>
#include <unknwn.h>

#include <string>
#include <utility>

// Holds one reference; copying adds one.
template <class T>
class Ref {
 public:
  Ref() = default;
  // Takes a new reference of its own; implicit, so that a raw pointer passes where a Ref is wanted.
  Ref(T* object) : object_(object) {
    if (object_) object_->AddRef();
  }
  Ref(const Ref& other) : Ref(other.object_) {}
  Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  Ref& operator=(Ref other) {
    std::swap(object_, other.object_);
    return *this;
  }
  ~Ref() {
    if (object_) object_->Release();
  }

  // Takes over a reference the caller already owns.
  static Ref Adopt(T* object) {
    Ref ref;
    ref.object_ = object;
    return ref;
  }

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  void reset() { Ref().swap(*this); }
  void swap(Ref& other) { std::swap(object_, other.object_); }
  // Hands the reference to an out-parameter.
  T* Detach() { return std::exchange(object_, nullptr); }

 private:
  T* object_ = nullptr;
};

// The identifier that the text "{xxxxxxxx-xxxx-...}" names; false when it is no identifier text.
bool IidFromText(const char* text, IID* id);

// Whether id is the interface that the text names.
bool IidIs(REFIID id, const char* text);

// Queries object for the interface that text names; a null Ref when it has none.
template <class T>
Ref<T> QueryFor(IUnknown* object, const char* text) {
  IID id;
  if (!object || !IidFromText(text, &id)) return {};
  void* found = nullptr;
  if (FAILED(object->QueryInterface(id, &found)) || !found) return {};
  return Ref<T>::Adopt(static_cast<T*>(found));
}
// A fresh CoTaskMemAlloc copy for an LPWSTR out-parameter; E_OUTOFMEMORY when none is left.
HRESULT HandOutText(const std::wstring& text, LPWSTR* out);

// Takes a string received through an LPWSTR out-parameter and frees it with CoTaskMemFree.
std::wstring TakeText(LPWSTR text);

std::string Utf8(const std::wstring& text);
