#include "com/options_object.h"

#include <objbase.h>

#include <cstddef>
#include <cstdint>

#include "com/heap.h"
#include "com/text.h"

namespace {

using Options1 = ICoreWebView2EnvironmentOptions;
using Options2 = ICoreWebView2EnvironmentOptions2;
using Options3 = ICoreWebView2EnvironmentOptions3;
using Options4 = ICoreWebView2EnvironmentOptions4;
using Options5 = ICoreWebView2EnvironmentOptions5;
using Options6 = ICoreWebView2EnvironmentOptions6;
using Options7 = ICoreWebView2EnvironmentOptions7;
using Options8 = ICoreWebView2EnvironmentOptions8;
using Registration = ICoreWebView2CustomSchemeRegistration;

constexpr char kTargetCompatibleBrowserVersion[] = "138.0.3351.48";

struct EnvironmentOptionsRoutineTable;

// The record. Each options interface has its own pointer here, pointing at its part of the one
// routine table, so that a pointer a consumer keeps always reaches its own interface's routines.
// The first is the object's identity.
struct EnvironmentOptionsObject {
  const void* interfaces[8];
  volatile LONG referenceCount;
  EnvironmentOptionsRoutineTable* baseTable;
  LPWSTR additionalBrowserArguments;
  LPWSTR language;
  LPWSTR targetCompatibleBrowserVersion;
  BOOL allowSingleSignOnUsingOSPrimaryAccount;
  BOOL exclusiveUserDataFolderAccess;
  BOOL isCustomCrashReportingEnabled;
  Registration** customSchemeRegistrations;
  UINT32 customSchemeRegistrationCount;
  BOOL enableTrackingPrevention;
  BOOL areBrowserExtensionsEnabled;
  COREWEBVIEW2_CHANNEL_SEARCH_KIND channelSearchKind;
  COREWEBVIEW2_RELEASE_CHANNELS releaseChannels;
  COREWEBVIEW2_SCROLLBAR_STYLE scrollBarStyle;
};

// Which of the object's interface pointers an interface is.
template <class I> constexpr int kInterfaceIndex = -1;
template <> constexpr int kInterfaceIndex<Options1> = 0;
template <> constexpr int kInterfaceIndex<Options2> = 1;
template <> constexpr int kInterfaceIndex<Options3> = 2;
template <> constexpr int kInterfaceIndex<Options4> = 3;
template <> constexpr int kInterfaceIndex<Options5> = 4;
template <> constexpr int kInterfaceIndex<Options6> = 5;
template <> constexpr int kInterfaceIndex<Options7> = 6;
template <> constexpr int kInterfaceIndex<Options8> = 7;

template <class I>
EnvironmentOptionsObject* ObjectOf(I* self) {
  static_assert(kInterfaceIndex<I> >= 0, "not an options interface");
  const void** slot = reinterpret_cast<const void**>(self);
  return reinterpret_cast<EnvironmentOptionsObject*>(slot - kInterfaceIndex<I>);
}

// The identifiers answered, in the order they are tried, with the interface pointer each gets.
struct Answer {
  const char* interfaceIdText;
  int interfaceIndex;
};
constexpr Answer kAnswers[] = {
    {IidText::IUnknown, 0},
    {IidText::ICoreWebView2EnvironmentOptions, 0},
    {IidText::ICoreWebView2EnvironmentOptions2, 1},
    {IidText::ICoreWebView2EnvironmentOptions3, 2},
    {IidText::ICoreWebView2EnvironmentOptions4, 3},
    {IidText::ICoreWebView2EnvironmentOptions5, 4},
    {IidText::ICoreWebView2EnvironmentOptions6, 5},
    {IidText::ICoreWebView2EnvironmentOptions7, 6},
    {IidText::ICoreWebView2EnvironmentOptions8, 7},
};

template <class I>
HRESULT STDMETHODCALLTYPE QueryInterface(I* self, REFIID id, void** result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  EnvironmentOptionsObject* object = ObjectOf(self);
  const ByteBuffer requested = InterfaceIdBytes(id);
  for (const Answer& answer : kAnswers) {
    if (InterfaceIdEquals(requested, ParseInterfaceId(answer.interfaceIdText))) {
      InterlockedIncrement(&object->referenceCount);
      *result = &object->interfaces[answer.interfaceIndex];
      return S_OK;
    }
  }
  return E_NOINTERFACE;
}

template <class I>
ULONG STDMETHODCALLTYPE AddRef(I* self) {
  return static_cast<ULONG>(InterlockedIncrement(&ObjectOf(self)->referenceCount));
}

void DropSchemeRegistrations(EnvironmentOptionsObject* object) {
  if (object->customSchemeRegistrations != nullptr) {
    for (UINT32 i = 0; i < object->customSchemeRegistrationCount; ++i) {
      if (object->customSchemeRegistrations[i] != nullptr) object->customSchemeRegistrations[i]->Release();
    }
    CoTaskMemFree(object->customSchemeRegistrations);
  }
  object->customSchemeRegistrations = nullptr;
  object->customSchemeRegistrationCount = 0;
}

template <class I>
ULONG STDMETHODCALLTYPE Release(I* self) {
  EnvironmentOptionsObject* object = ObjectOf(self);
  const LONG count = InterlockedDecrement(&object->referenceCount);
  if (count != 0) return static_cast<ULONG>(count);
  ProcessHeap::Free(object->baseTable);
  CoTaskMemFree(object->additionalBrowserArguments);
  CoTaskMemFree(object->language);
  CoTaskMemFree(object->targetCompatibleBrowserVersion);
  DropSchemeRegistrations(object);
  ProcessHeap::Free(object);
  return 0;
}

// Text options hand out a fresh task-allocator copy, which the caller frees.
template <LPWSTR EnvironmentOptionsObject::*Field>
HRESULT GetText(Options1* self, LPWSTR* value) {
  if (value == nullptr) return E_POINTER;
  const LPWSTR field = ObjectOf(self)->*Field;
  LPWSTR copy = CoTaskMemDupWide(field);
  if (copy == nullptr && field != nullptr) return E_POINTER;
  *value = copy;
  return S_OK;
}

// A null value unsets the option; a copy that cannot be made keeps the current value.
template <LPWSTR EnvironmentOptionsObject::*Field>
HRESULT PutText(Options1* self, LPCWSTR value) {
  EnvironmentOptionsObject* object = ObjectOf(self);
  LPWSTR copy = CoTaskMemDupWide(value);
  if (copy == nullptr && value != nullptr) return E_POINTER;
  CoTaskMemFree(object->*Field);
  object->*Field = copy;
  return S_OK;
}

template <class M>
struct MemberType;
template <class T>
struct MemberType<T EnvironmentOptionsObject::*> {
  using type = T;
};

// 32-bit options are stored as given; no value is refused.
template <class I, auto Field>
HRESULT STDMETHODCALLTYPE GetValue(I* self, typename MemberType<decltype(Field)>::type* value) {
  if (value == nullptr) return E_POINTER;
  *value = ObjectOf(self)->*Field;
  return S_OK;
}

template <class I, auto Field>
HRESULT STDMETHODCALLTYPE PutValue(I* self, typename MemberType<decltype(Field)>::type value) {
  ObjectOf(self)->*Field = value;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE GetCustomSchemeRegistrations(Options4* self, UINT32* count, Registration*** registrations) {
  if (count == nullptr || registrations == nullptr) return E_POINTER;
  *count = 0;
  *registrations = nullptr;
  const EnvironmentOptionsObject* object = ObjectOf(self);
  const UINT32 held = object->customSchemeRegistrationCount;
  if (held == 0) return S_OK;
  auto* copy = static_cast<Registration**>(CoTaskMemAlloc(held * sizeof(Registration*)));
  if (copy == nullptr) return E_OUTOFMEMORY;
  for (UINT32 i = 0; i < held; ++i) {
    copy[i] = object->customSchemeRegistrations[i];
    if (copy[i] != nullptr) copy[i]->AddRef();
  }
  *registrations = copy;
  *count = held;
  return S_OK;
}

// The new registrations are taken in full before the old ones go: a refused call changes nothing,
// and setting the held registrations again never drops their last reference before it is taken.
HRESULT STDMETHODCALLTYPE SetCustomSchemeRegistrations(Options4* self, UINT32 count, Registration** registrations) {
  if (count != 0 && registrations == nullptr) return E_POINTER;
  if (count > UINT32_MAX / sizeof(Registration*)) return E_OUTOFMEMORY;
  auto* copy = static_cast<Registration**>(CoTaskMemAlloc(count * sizeof(Registration*)));
  if (copy == nullptr) return E_OUTOFMEMORY;
  for (UINT32 i = 0; i < count; ++i) {
    copy[i] = registrations[i];
    if (copy[i] != nullptr) copy[i]->AddRef();
  }
  EnvironmentOptionsObject* object = ObjectOf(self);
  DropSchemeRegistrations(object);
  object->customSchemeRegistrations = copy;
  object->customSchemeRegistrationCount = count;
  return S_OK;
}

// The routine table: 48 entries, each interface's part starting with its own IUnknown routines.
template <class I>
struct UnknownEntries {
  HRESULT(STDMETHODCALLTYPE* QueryInterface)(I* self, REFIID id, void** result);
  ULONG(STDMETHODCALLTYPE* AddRef)(I* self);
  ULONG(STDMETHODCALLTYPE* Release)(I* self);
};

template <class I, class Out, class In = Out>
struct PropertyEntries {
  HRESULT(STDMETHODCALLTYPE* get)(I* self, Out* value);
  HRESULT(STDMETHODCALLTYPE* put)(I* self, In value);
};

struct EnvironmentOptionsRoutineTable {
  struct {
    UnknownEntries<Options1> unknown;
    PropertyEntries<Options1, LPWSTR, LPCWSTR> additionalBrowserArguments;
    PropertyEntries<Options1, LPWSTR, LPCWSTR> language;
    PropertyEntries<Options1, LPWSTR, LPCWSTR> targetCompatibleBrowserVersion;
    PropertyEntries<Options1, BOOL> allowSingleSignOnUsingOSPrimaryAccount;
  } options1;
  struct {
    UnknownEntries<Options2> unknown;
    PropertyEntries<Options2, BOOL> exclusiveUserDataFolderAccess;
  } options2;
  struct {
    UnknownEntries<Options3> unknown;
    PropertyEntries<Options3, BOOL> isCustomCrashReportingEnabled;
  } options3;
  struct {
    UnknownEntries<Options4> unknown;
    HRESULT(STDMETHODCALLTYPE* GetCustomSchemeRegistrations)(Options4* self, UINT32* count, Registration*** registrations);
    HRESULT(STDMETHODCALLTYPE* SetCustomSchemeRegistrations)(Options4* self, UINT32 count, Registration** registrations);
  } options4;
  struct {
    UnknownEntries<Options5> unknown;
    PropertyEntries<Options5, BOOL> enableTrackingPrevention;
  } options5;
  struct {
    UnknownEntries<Options6> unknown;
    PropertyEntries<Options6, BOOL> areBrowserExtensionsEnabled;
  } options6;
  struct {
    UnknownEntries<Options7> unknown;
    PropertyEntries<Options7, COREWEBVIEW2_CHANNEL_SEARCH_KIND> channelSearchKind;
    PropertyEntries<Options7, COREWEBVIEW2_RELEASE_CHANNELS> releaseChannels;
  } options7;
  struct {
    UnknownEntries<Options8> unknown;
    PropertyEntries<Options8, COREWEBVIEW2_SCROLLBAR_STYLE> scrollBarStyle;
  } options8;
};

constexpr std::size_t kEntry = sizeof(void*);
static_assert(sizeof(EnvironmentOptionsRoutineTable) == 48 * kEntry, "48 entries");
static_assert(offsetof(EnvironmentOptionsRoutineTable, options2) == 11 * kEntry, "entry 11");
static_assert(offsetof(EnvironmentOptionsRoutineTable, options3) == 16 * kEntry, "entry 16");
static_assert(offsetof(EnvironmentOptionsRoutineTable, options4) == 21 * kEntry, "entry 21");
static_assert(offsetof(EnvironmentOptionsRoutineTable, options5) == 26 * kEntry, "entry 26");
static_assert(offsetof(EnvironmentOptionsRoutineTable, options6) == 31 * kEntry, "entry 31");
static_assert(offsetof(EnvironmentOptionsRoutineTable, options7) == 36 * kEntry, "entry 36");
static_assert(offsetof(EnvironmentOptionsRoutineTable, options8) == 43 * kEntry, "entry 43");

template <class I>
UnknownEntries<I> Unknown() {
  return {QueryInterface<I>, AddRef<I>, Release<I>};
}

template <class I, auto Field>
PropertyEntries<I, typename MemberType<decltype(Field)>::type> Value() {
  return {GetValue<I, Field>, PutValue<I, Field>};
}

void FillTable(EnvironmentOptionsRoutineTable& table) {
  namespace own = EnvironmentOptionsRoutines;
  using Object = EnvironmentOptionsObject;
  table.options1.unknown = Unknown<Options1>();
  table.options1.additionalBrowserArguments = {own::get_AdditionalBrowserArguments, own::put_AdditionalBrowserArguments};
  table.options1.language = {own::get_Language, own::put_Language};
  table.options1.targetCompatibleBrowserVersion = {own::get_TargetCompatibleBrowserVersion,
                                                   own::put_TargetCompatibleBrowserVersion};
  table.options1.allowSingleSignOnUsingOSPrimaryAccount = {own::get_AllowSingleSignOnUsingOSPrimaryAccount,
                                                           own::put_AllowSingleSignOnUsingOSPrimaryAccount};
  table.options2.unknown = Unknown<Options2>();
  table.options2.exclusiveUserDataFolderAccess = Value<Options2, &Object::exclusiveUserDataFolderAccess>();
  table.options3.unknown = Unknown<Options3>();
  table.options3.isCustomCrashReportingEnabled = Value<Options3, &Object::isCustomCrashReportingEnabled>();
  table.options4.unknown = Unknown<Options4>();
  table.options4.GetCustomSchemeRegistrations = GetCustomSchemeRegistrations;
  table.options4.SetCustomSchemeRegistrations = SetCustomSchemeRegistrations;
  table.options5.unknown = Unknown<Options5>();
  table.options5.enableTrackingPrevention = Value<Options5, &Object::enableTrackingPrevention>();
  table.options6.unknown = Unknown<Options6>();
  table.options6.areBrowserExtensionsEnabled = Value<Options6, &Object::areBrowserExtensionsEnabled>();
  table.options7.unknown = Unknown<Options7>();
  table.options7.channelSearchKind = Value<Options7, &Object::channelSearchKind>();
  table.options7.releaseChannels = Value<Options7, &Object::releaseChannels>();
  table.options8.unknown = Unknown<Options8>();
  table.options8.scrollBarStyle = Value<Options8, &Object::scrollBarStyle>();
}

}  // namespace

namespace EnvironmentOptionsRoutines {

HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(Options1* object, LPWSTR* value) {
  return GetText<&EnvironmentOptionsObject::additionalBrowserArguments>(object, value);
}
HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(Options1* object, LPCWSTR value) {
  return PutText<&EnvironmentOptionsObject::additionalBrowserArguments>(object, value);
}
HRESULT STDMETHODCALLTYPE get_Language(Options1* object, LPWSTR* value) {
  return GetText<&EnvironmentOptionsObject::language>(object, value);
}
HRESULT STDMETHODCALLTYPE put_Language(Options1* object, LPCWSTR value) {
  return PutText<&EnvironmentOptionsObject::language>(object, value);
}
HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(Options1* object, LPWSTR* value) {
  return GetText<&EnvironmentOptionsObject::targetCompatibleBrowserVersion>(object, value);
}
HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(Options1* object, LPCWSTR value) {
  return PutText<&EnvironmentOptionsObject::targetCompatibleBrowserVersion>(object, value);
}
HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(Options1* object, BOOL* allow) {
  return GetValue<Options1, &EnvironmentOptionsObject::allowSingleSignOnUsingOSPrimaryAccount>(object, allow);
}
HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(Options1* object, BOOL allow) {
  return PutValue<Options1, &EnvironmentOptionsObject::allowSingleSignOnUsingOSPrimaryAccount>(object, allow);
}

}  // namespace EnvironmentOptionsRoutines

ICoreWebView2EnvironmentOptions* CreateEnvironmentOptionsObject() {
  auto* table =
      static_cast<EnvironmentOptionsRoutineTable*>(ProcessHeap::AllocateZeroed(sizeof(EnvironmentOptionsRoutineTable)));
  if (table == nullptr) return nullptr;
  FillTable(*table);
  auto* object = static_cast<EnvironmentOptionsObject*>(ProcessHeap::AllocateZeroed(sizeof(EnvironmentOptionsObject)));
  if (object == nullptr) {
    ProcessHeap::Free(table);
    return nullptr;
  }
  object->interfaces[0] = &table->options1;
  object->interfaces[1] = &table->options2;
  object->interfaces[2] = &table->options3;
  object->interfaces[3] = &table->options4;
  object->interfaces[4] = &table->options5;
  object->interfaces[5] = &table->options6;
  object->interfaces[6] = &table->options7;
  object->interfaces[7] = &table->options8;
  object->referenceCount = 1;
  object->baseTable = table;

  auto* identity = reinterpret_cast<Options1*>(&object->interfaces[0]);
  EnvironmentOptionsRoutines::put_TargetCompatibleBrowserVersion(identity, WideData(TextToWide(kTargetCompatibleBrowserVersion)));
  return identity;
}
