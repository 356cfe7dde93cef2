#pragma once

// TestHost: the program's own automation object for page script, and the wrapper that made it.
// The object is a hand-built record in process-heap memory, like the handler objects; it holds no
// logic of its own and hands name lookups and calls to its owner, the wrapper.

#include <windows.h>
#include <oaidl.h>

#include <memory>

#include "com/interface_holder.h"
#include "com/text.h"

class ScriptHostWrapper;
struct ScriptHostObject;

// What COM calls through; one table per object, in IDispatch's order.
struct ScriptHostRoutineTable {
  HRESULT(STDMETHODCALLTYPE* QueryInterface)(ScriptHostObject* self, REFIID id, void** object);
  ULONG(STDMETHODCALLTYPE* AddRef)(ScriptHostObject* self);
  ULONG(STDMETHODCALLTYPE* Release)(ScriptHostObject* self);
  HRESULT(STDMETHODCALLTYPE* GetTypeInfoCount)(ScriptHostObject* self, UINT* count);
  HRESULT(STDMETHODCALLTYPE* GetTypeInfo)(ScriptHostObject* self, UINT index, LCID locale, ITypeInfo** info);
  HRESULT(STDMETHODCALLTYPE* GetIDsOfNames)(ScriptHostObject* self, REFIID id, LPOLESTR* names, UINT nameCount,
                                            LCID locale, DISPID* dispatchIds);
  HRESULT(STDMETHODCALLTYPE* Invoke)(ScriptHostObject* self, DISPID dispatchId, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError);
};

// The record that COM sees; the interface pointer is its address. Every field is pointer-sized
// but the count, which is 32 bits as the interlocked operations want it.
struct ScriptHostObject {
  ScriptHostRoutineTable* routineTable;
  volatile LONG referenceCount;
  // Null once the owner is gone: a browser that keeps the object after the view has been released
  // then gets the null-owner answers instead of reaching freed memory.
  ScriptHostWrapper* owner;
  ULONG_PTR context;
};
static_assert(sizeof(ScriptHostObject) == 4 * sizeof(void*), "four fields as COM sees them");
static_assert(sizeof(ScriptHostRoutineTable) == 7 * sizeof(void*), "IDispatch's seven routines");

// Holds at most one ScriptHostObject with one counted reference; defines what the object offers:
// one method, "add" (dispatch identifier 1), the sum of exactly two numbers as a double.
class ScriptHostWrapper {
 public:
  static constexpr DISPID kAddId = 1;

  ScriptHostWrapper() = default;
  // Releases the held object; when this wrapper made it, the object forgets it first.
  virtual ~ScriptHostWrapper();
  // The copy holds the same object with a reference of its own; the object's owner stays.
  ScriptHostWrapper(const ScriptHostWrapper& other);
  ScriptHostWrapper& operator=(const ScriptHostWrapper&) = delete;
  virtual std::unique_ptr<ScriptHostWrapper> Clone() const;

  // "add", byte for byte (so with its letter case), writes 1 and answers true; any other name
  // answers false and writes nothing.
  virtual bool LookupName(TextArg name, DISPID* dispatchId);
  // Handles add called as a method with exactly two arguments (arguments[0] is the last one, as
  // IDispatch passes them): stores their sum as VT_R8 into result when one is given. The
  // arguments stay the caller's: they are read, never changed, cleared or released.
  virtual bool Call(DISPID dispatchId, LONG flags, UINT count, VARIANTARG* arguments, VARIANT* result);
  // Builds the object when none is held; false only when memory cannot be had.
  virtual bool Create(ULONG_PTR context);
  // A new counted reference to the held object; empty when none is held.
  virtual ComRef Duplicate() const;
  // The held object without an added reference; null when none is held.
  virtual IUnknown* Get() const;
  // The context given to Create; 0 when no object is held.
  virtual ULONG_PTR GetContext() const;

 private:
  ScriptHostObject* object_ = nullptr;
};

// A VARIANT read as a double: VT_R8 as it is, anything else through a copy converted to VT_R8,
// 0.0 when it does not convert. The VARIANT itself is left as it was.
double VariantAsDouble(const VARIANT& value);
