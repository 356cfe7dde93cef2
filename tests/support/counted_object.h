#pragma once

// A COM object for tests that counts its references and never frees itself, so a test can own it
// on the stack and check that every reference it handed out came back.

#include <windows.h>
#include <unknwn.h>

#include <initializer_list>
#include <vector>

#include "com/text.h"
#include "webview2/iid_text.h"

template <class Interface>
class CountedObject : public Interface {
 public:
  // Answers IUnknown and the identifier texts given, always with this same pointer.
  explicit CountedObject(std::initializer_list<const char*> answered = {}) : answered_(answered) {
    answered_.push_back(IidText::IUnknown);
  }

  LONG references() const { return references_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    for (const char* text : answered_) {
      if (InterfaceIdEquals(InterfaceIdBytes(id), ParseInterfaceId(text))) {
        AddRef();
        *object = static_cast<Interface*>(this);
        return S_OK;
      }
    }
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references_); }

 private:
  std::vector<const char*> answered_;
  LONG references_ = 0;
};
