#pragma once

// Handler objects: small COM objects built in process-heap memory that answer IUnknown and one
// handler interface, and forward Invoke to a program routine with a context fixed at creation.

#include <windows.h>
#include <unknwn.h>

// Called as routine(context, first, second) with the two values that Invoke received.
using CallbackRoutine = HRESULT(STDMETHODCALLTYPE*)(ULONG_PTR context, ULONG_PTR first, ULONG_PTR second);
// The same for handlers whose Invoke receives one value.
using SingleArgCallbackRoutine = HRESULT(STDMETHODCALLTYPE*)(ULONG_PTR context, ULONG_PTR first);

struct CallbackObject;

// What COM calls through; one table per object.
struct CallbackRoutineTable {
  HRESULT(STDMETHODCALLTYPE* QueryInterface)(CallbackObject* self, REFIID id, void** object);
  ULONG(STDMETHODCALLTYPE* AddRef)(CallbackObject* self);
  ULONG(STDMETHODCALLTYPE* Release)(CallbackObject* self);
  union {  // by kind
    HRESULT(STDMETHODCALLTYPE* InvokeTwoArg)(CallbackObject* self, ULONG_PTR first, ULONG_PTR second);
    HRESULT(STDMETHODCALLTYPE* InvokeSingleArg)(CallbackObject* self, ULONG_PTR first);
  };
};

// The record that COM sees; every field is 32 bits wide.
struct CallbackObject {
  CallbackRoutineTable* routineTable;
  volatile LONG referenceCount;
  ULONG_PTR context;
  union {  // by kind; may be null
    CallbackRoutine routine;
    SingleArgCallbackRoutine singleArgRoutine;
  };
  const char* interfaceIdText;  // a constant text that outlives the object
};

// A new two-value handler object with one reference owned by the caller, or null when memory
// cannot be had. interfaceIdText names the handler interface and must outlive the object.
IUnknown* MakeCallbackObject(CallbackRoutine routine, ULONG_PTR context, const char* interfaceIdText);

// The same for the one-value kind.
IUnknown* MakeSingleArgCallbackObject(SingleArgCallbackRoutine routine, ULONG_PTR context,
                                      const char* interfaceIdText);
