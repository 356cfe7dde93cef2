#pragma once

// An automation object for the script host tests: its default value is 4.5, and it counts the
// references it hands out.

#include <windows.h>
#include <oaidl.h>

#include "support/counted_object.h"
#include "webview2/iid_text.h"

class CountingDispatch : public CountedObject<IDispatch> {
 public:
  CountingDispatch() : CountedObject({IidText::IDispatch}) {}
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                   UINT*) override {
    if (id != DISPID_VALUE || result == nullptr) return DISP_E_MEMBERNOTFOUND;
    V_VT(result) = VT_R8;
    V_R8(result) = 4.5;
    return S_OK;
  }
};
