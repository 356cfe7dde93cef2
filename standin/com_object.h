#pragma once

// The reference counting and QueryInterface that every object of the stand-in shares. An object
// implements one chain of interfaces (each version deriving from the one before), so every
// identifier it answers gives the same pointer.

#include <windows.h>
#include <unknwn.h>

#include <initializer_list>
#include <vector>

#include "com_ref.h"
#include "webview2/iid_text.h"

template <class Interface>
class ComObject : public Interface {
 public:
  // Answers IUnknown and the identifier texts given.
  explicit ComObject(std::initializer_list<const char*> answered) : answered_(answered) {
    answered_.push_back(IidText::IUnknown);
  }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;
  virtual ~ComObject() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    for (const char* text : answered_) {
      if (IidIs(id, text)) {
        *object = static_cast<Interface*>(this);
        this->AddRef();
        return S_OK;
      }
    }
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 protected:
  // Answers one more identifier: a later version in the same chain.
  void AlsoAnswer(const char* text) { answered_.push_back(text); }

 private:
  std::vector<const char*> answered_;
  LONG references_ = 1;
};

// Makes an object whose one reference the caller owns.
template <class T, class... Arguments>
Ref<T> MakeObject(Arguments&&... arguments) {
  return Ref<T>::Adopt(new T(std::forward<Arguments>(arguments)...));
}
