#include "browser/script_host.h"

#include <oleauto.h>

#include <cstring>

#include "com/heap.h"
#include "com/unique_handle.h"
#include "webview2/iid_text.h"

namespace {

HRESULT STDMETHODCALLTYPE QueryInterface(ScriptHostObject* self, REFIID id, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  const ByteBuffer requested = InterfaceIdBytes(id);
  if (!InterfaceIdEquals(requested, ParseInterfaceId(IidText::IUnknown)) &&
      !InterfaceIdEquals(requested, ParseInterfaceId(IidText::IDispatch))) {
    return E_NOINTERFACE;
  }
  self->routineTable->AddRef(self);
  *object = self;
  return S_OK;
}

ULONG STDMETHODCALLTYPE AddRef(ScriptHostObject* self) {
  return static_cast<ULONG>(InterlockedIncrement(&self->referenceCount));
}

ULONG STDMETHODCALLTYPE Release(ScriptHostObject* self) {
  const LONG count = InterlockedDecrement(&self->referenceCount);
  if (count != 0) return static_cast<ULONG>(count);
  ProcessHeap::Free(self->routineTable);
  ProcessHeap::Free(self);
  return 0;
}

HRESULT STDMETHODCALLTYPE GetTypeInfoCount(ScriptHostObject*, UINT*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE GetTypeInfo(ScriptHostObject*, UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE GetIDsOfNames(ScriptHostObject* self, REFIID, LPOLESTR* names, UINT nameCount, LCID,
                                        DISPID* dispatchIds) {
  if (self->owner == nullptr || nameCount != 1) return DISP_E_UNKNOWNNAME;
  if (names == nullptr || dispatchIds == nullptr) return E_POINTER;
  const Utf8Text name = TextFromWide(names[0], kCodePageUtf8);
  return self->owner->LookupName(name, &dispatchIds[0]) ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE Invoke(ScriptHostObject* self, DISPID dispatchId, REFIID, LCID, WORD flags,
                                 DISPPARAMS* parameters, VARIANT* result, EXCEPINFO*, UINT*) {
  if (self->owner == nullptr) return DISP_E_MEMBERNOTFOUND;
  // Only the positional arguments count; a call without parameters has none.
  const UINT count = parameters != nullptr ? parameters->cArgs : 0;
  VARIANTARG* arguments = parameters != nullptr ? parameters->rgvarg : nullptr;
  const LONG signExtendedFlags = static_cast<SHORT>(flags);
  return self->owner->Call(dispatchId, signExtendedFlags, count, arguments, result) ? S_OK : DISP_E_MEMBERNOTFOUND;
}

}  // namespace

double VariantAsDouble(const VARIANT& value) {
  if (V_VT(&value) == VT_R8) return V_R8(&value);
  // Conversions run on copies of our own, so that the caller's VARIANT and whatever it refers to
  // stay as they were; the copies are cleared when they go, which drops any reference they took.
  // VariantCopyInd only reads its source; its declaration just lacks the const.
  UniqueVariant copy;
  UniqueVariant converted;
  if (FAILED(VariantCopyInd(copy.put(), const_cast<VARIANT*>(&value))) ||
      FAILED(VariantChangeType(converted.put(), copy.addressof(), 0, VT_R8)) || V_VT(converted.addressof()) != VT_R8) {
    return 0.0;
  }
  return V_R8(converted.addressof());
}

ScriptHostWrapper::~ScriptHostWrapper() {
  if (object_ == nullptr) return;
  if (object_->owner == this) object_->owner = nullptr;
  object_->routineTable->Release(object_);
}

ScriptHostWrapper::ScriptHostWrapper(const ScriptHostWrapper& other) : object_(other.object_) {
  if (object_ != nullptr) object_->routineTable->AddRef(object_);
}

std::unique_ptr<ScriptHostWrapper> ScriptHostWrapper::Clone() const { return std::make_unique<ScriptHostWrapper>(*this); }

bool ScriptHostWrapper::LookupName(TextArg name, DISPID* dispatchId) {
  if (std::strcmp(name.c_str(), "add") != 0) return false;
  *dispatchId = kAddId;
  return true;
}

bool ScriptHostWrapper::Call(DISPID dispatchId, LONG flags, UINT count, VARIANTARG* arguments, VARIANT* result) {
  if (dispatchId != kAddId) return false;
  if ((flags & DISPATCH_METHOD) == 0 || count != 2 || arguments == nullptr) return false;
  const double sum = VariantAsDouble(arguments[0]) + VariantAsDouble(arguments[1]);
  if (result != nullptr) {
    VariantClear(result);
    V_VT(result) = VT_R8;
    V_R8(result) = sum;
  }
  return true;
}

bool ScriptHostWrapper::Create(ULONG_PTR context) {
  if (object_ != nullptr) return true;
  auto* table = static_cast<ScriptHostRoutineTable*>(ProcessHeap::AllocateZeroed(sizeof(ScriptHostRoutineTable)));
  if (table == nullptr) return false;
  auto* object = static_cast<ScriptHostObject*>(ProcessHeap::AllocateZeroed(sizeof(ScriptHostObject)));
  if (object == nullptr) {
    ProcessHeap::Free(table);
    return false;
  }
  table->QueryInterface = QueryInterface;
  table->AddRef = AddRef;
  table->Release = Release;
  table->GetTypeInfoCount = GetTypeInfoCount;
  table->GetTypeInfo = GetTypeInfo;
  table->GetIDsOfNames = GetIDsOfNames;
  table->Invoke = Invoke;
  object->routineTable = table;
  object->referenceCount = 1;
  object->owner = this;
  object->context = context;
  object_ = object;
  return true;
}

ComRef ScriptHostWrapper::Duplicate() const {
  if (object_ == nullptr) return ComRef();
  object_->routineTable->AddRef(object_);
  return ComRef(Get());
}

IUnknown* ScriptHostWrapper::Get() const { return reinterpret_cast<IUnknown*>(object_); }

ULONG_PTR ScriptHostWrapper::GetContext() const { return object_ != nullptr ? object_->context : 0; }
