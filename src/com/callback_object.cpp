#include "com/callback_object.h"

#include "com/heap.h"
#include "com/text.h"
#include "webview2/iid_text.h"

namespace {

HRESULT STDMETHODCALLTYPE QueryInterface(CallbackObject* self, REFIID id, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  const ByteBuffer requested = InterfaceIdBytes(id);
  if (!InterfaceIdEquals(requested, ParseInterfaceId(IidText::IUnknown)) &&
      !InterfaceIdEquals(requested, ParseInterfaceId(self->interfaceIdText))) {
    return E_NOINTERFACE;
  }
  self->routineTable->AddRef(self);
  *object = self;
  return S_OK;
}

ULONG STDMETHODCALLTYPE AddRef(CallbackObject* self) {
  return static_cast<ULONG>(InterlockedIncrement(&self->referenceCount));
}

ULONG STDMETHODCALLTYPE Release(CallbackObject* self) {
  const LONG count = InterlockedDecrement(&self->referenceCount);
  if (count != 0) return static_cast<ULONG>(count);
  ProcessHeap::Free(self->routineTable);
  ProcessHeap::Free(self);
  return 0;
}

HRESULT STDMETHODCALLTYPE InvokeTwoArg(CallbackObject* self, ULONG_PTR first, ULONG_PTR second) {
  return self->routine == nullptr ? S_OK : self->routine(self->context, first, second);
}

HRESULT STDMETHODCALLTYPE InvokeSingleArg(CallbackObject* self, ULONG_PTR first) {
  return self->singleArgRoutine == nullptr ? S_OK : self->singleArgRoutine(self->context, first);
}

// Both kinds share the record and the first three routines; fill sets the kind's Invoke and routine.
template <class Fill>
IUnknown* Make(ULONG_PTR context, const char* interfaceIdText, Fill fill) {
  auto* table = static_cast<CallbackRoutineTable*>(ProcessHeap::AllocateZeroed(sizeof(CallbackRoutineTable)));
  if (table == nullptr) return nullptr;
  auto* object = static_cast<CallbackObject*>(ProcessHeap::AllocateZeroed(sizeof(CallbackObject)));
  if (object == nullptr) {
    ProcessHeap::Free(table);
    return nullptr;
  }
  table->QueryInterface = QueryInterface;
  table->AddRef = AddRef;
  table->Release = Release;
  object->routineTable = table;
  object->referenceCount = 1;
  object->context = context;
  object->interfaceIdText = interfaceIdText;
  fill(*table, *object);
  return reinterpret_cast<IUnknown*>(object);
}

}  // namespace

IUnknown* MakeCallbackObject(CallbackRoutine routine, ULONG_PTR context, const char* interfaceIdText) {
  return Make(context, interfaceIdText, [routine](CallbackRoutineTable& table, CallbackObject& object) {
    table.InvokeTwoArg = InvokeTwoArg;
    object.routine = routine;
  });
}

IUnknown* MakeSingleArgCallbackObject(SingleArgCallbackRoutine routine, ULONG_PTR context,
                                      const char* interfaceIdText) {
  return Make(context, interfaceIdText, [routine](CallbackRoutineTable& table, CallbackObject& object) {
    table.InvokeSingleArg = InvokeSingleArg;
    object.singleArgRoutine = routine;
  });
}
