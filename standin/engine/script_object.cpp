#include "engine/script_object.h"

HRESULT STDMETHODCALLTYPE ScriptObject::QueryInterface(REFIID id, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ScriptObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG STDMETHODCALLTYPE ScriptObject::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE ScriptObject::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ScriptObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

namespace {

// obj.method read as a value (`if (window.addEventListener)`, `var f = obj.method`): calling it
// calls the method.
class MethodReference : public ScriptObject {
 public:
  MethodReference(const ScriptLinkPtr& link, ScriptObject* owner, DISPID id)
      : ScriptObject(link), owner_(owner), id_(id) {
    owner_->AddRef();
  }
  ~MethodReference() override { owner_->Release(); }

 private:
  const Member* Members(size_t& count) const override {
    count = 0;
    return nullptr;
  }
  HRESULT Call(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT* result) override {
    if (id != DISPID_VALUE || !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    return owner_->Invoke(id_, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, const_cast<DISPPARAMS*>(&params), result,
                          nullptr, nullptr);
  }

  ScriptObject* owner_;
  const DISPID id_;
};

}  // namespace

const ScriptObject::Member* ScriptObject::MemberById(DISPID id) const {
  size_t count = 0;
  const Member* members = Members(count);
  for (size_t i = 0; i < count; ++i) {
    if (members[i].id == id) return &members[i];
  }
  return nullptr;
}

DISPID ScriptObject::MemberId(const std::wstring& name) {
  size_t count = 0;
  const Member* members = Members(count);
  for (size_t i = 0; i < count; ++i) {
    if (name == members[i].name) return members[i].id;
  }
  return DISPID_UNKNOWN;
}

HRESULT STDMETHODCALLTYPE ScriptObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (names == nullptr || ids == nullptr) return E_POINTER;
  HRESULT result = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = i == 0 && names[0] ? MemberId(names[0]) : DISPID_UNKNOWN;
    if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
  }
  return result;
}

HRESULT STDMETHODCALLTYPE ScriptObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                               EXCEPINFO*, UINT*) {
  if (Page() == nullptr) return E_ACCESSDENIED;  // the document is gone
  DISPPARAMS none{};
  VARIANT ignored;
  VariantInit(&ignored);
  const Member* member = MemberById(id);
  if (member && member->method && !(flags & DISPATCH_METHOD) && !IsPut(flags)) {
    return ReturnObject(result ? result : &ignored, new MethodReference(link_, this, id));
  }
  const HRESULT hr = Call(id, flags, params ? *params : none, result ? result : &ignored);
  VariantClear(&ignored);
  return hr;
}

const VARIANT* Argument(const DISPPARAMS& params, UINT index) {
  if (index >= params.cArgs) return nullptr;
  const VARIANT* value = &params.rgvarg[params.cArgs - 1 - index];
  if (V_VT(value) == (VT_BYREF | VT_VARIANT)) value = V_VARIANTREF(value);
  return value;
}

std::wstring VariantText(const VARIANT* value) {
  if (value == nullptr || V_VT(value) == VT_EMPTY || V_VT(value) == VT_NULL) return std::wstring();
  if (V_VT(value) == VT_BSTR) return V_BSTR(value) ? std::wstring(V_BSTR(value), SysStringLen(V_BSTR(value))) : L"";
  VARIANT text;
  VariantInit(&text);
  std::wstring out;
  // Locale-neutral, so numbers read as script writes them.
  if (SUCCEEDED(VariantChangeTypeEx(&text, const_cast<VARIANT*>(value),
                                    MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT),
                                    VARIANT_ALPHABOOL, VT_BSTR)) &&
      V_BSTR(&text)) {
    out.assign(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
  }
  VariantClear(&text);
  return out;
}

bool IsPut(WORD flags) { return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }

HRESULT ReturnText(VARIANT* result, const std::wstring& text) {
  V_VT(result) = VT_BSTR;
  V_BSTR(result) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return V_BSTR(result) ? S_OK : E_OUTOFMEMORY;
}

HRESULT ReturnNumber(VARIANT* result, LONG number) {
  V_VT(result) = VT_I4;
  V_I4(result) = number;
  return S_OK;
}

HRESULT ReturnObject(VARIANT* result, IDispatch* object) {
  if (object == nullptr) {
    V_VT(result) = VT_NULL;
    return S_OK;
  }
  V_VT(result) = VT_DISPATCH;
  V_DISPATCH(result) = object;
  return S_OK;
}
