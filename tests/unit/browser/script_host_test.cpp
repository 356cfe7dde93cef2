// TestHost as page script reaches it: through the object's own IDispatch table.

#include "browser/script_host.h"

#include <gtest/gtest.h>
#include <oleauto.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "com/heap.h"
#include "support/counted_object.h"
#include "support/iid.h"
#include "support/process_heap.h"
#include "support/task_allocator_spy.h"
#include "unit/browser/counting_dispatch.h"
#include "unit/browser/string_cache.h"
#include "webview2/iid_text.h"

namespace {

// The published object as the browser sees it.
IDispatch* AsDispatch(IUnknown* object) { return reinterpret_cast<IDispatch*>(object); }

// What the engine does for TestHost.add(first, second): the arguments go in reverse order.
HRESULT CallAdd(IDispatch* host, VARIANT first, VARIANT second, VARIANT* result, WORD flags = DISPATCH_METHOD) {
  VARIANTARG arguments[2] = {second, first};
  DISPPARAMS parameters{arguments, nullptr, 2, 0};
  return host->Invoke(ScriptHostWrapper::kAddId, IID_NULL, 0, flags, &parameters, result, nullptr, nullptr);
}

VARIANT Real(double value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_R8;
  V_R8(&v) = value;
  return v;
}

class ScriptHostTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { DisableStringCache(); }
  HeapBalance heap_;
};

TEST_F(ScriptHostTest, TheRecordIsWhatCOMSeesAndTheLastReleaseFreesIt) {
  ScriptHostWrapper wrapper;
  EXPECT_EQ(wrapper.Get(), nullptr);
  EXPECT_FALSE(wrapper.Duplicate());
  EXPECT_EQ(wrapper.GetContext(), 0u);

  ASSERT_TRUE(wrapper.Create(0x1234));
  auto* record = reinterpret_cast<ScriptHostObject*>(wrapper.Get());
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->referenceCount, 1);
  EXPECT_EQ(record->owner, &wrapper);
  EXPECT_EQ(record->context, 0x1234u);
  EXPECT_EQ(wrapper.GetContext(), 0x1234u);
  // The routine table's entries sit where IDispatch's vtable has them.
  EXPECT_EQ(reinterpret_cast<void**>(record->routineTable)[6], reinterpret_cast<void*>(record->routineTable->Invoke));

  // A second Create keeps the object: it is the same one for the whole run.
  EXPECT_TRUE(wrapper.Create(99));
  EXPECT_EQ(wrapper.Get(), reinterpret_cast<IUnknown*>(record));
  EXPECT_EQ(wrapper.GetContext(), 0x1234u);

  ComRef duplicate = wrapper.Duplicate();
  EXPECT_EQ(duplicate.Get(), wrapper.Get());
  EXPECT_EQ(record->referenceCount, 2);
}

TEST_F(ScriptHostTest, WithoutMemoryNothingIsMadeAndNothingIsLeftBehind) {
  ScriptHostWrapper wrapper;
  for (int skipped : {0, 1}) {  // the routine table, then the record
    SCOPED_TRACE(skipped);
    ProcessHeap::ScopedFailures noMemory(1, skipped);
    EXPECT_FALSE(wrapper.Create(7));
    EXPECT_EQ(wrapper.Get(), nullptr);
    EXPECT_EQ(ProcessHeap::PendingFailures(), 0);
  }
  EXPECT_TRUE(wrapper.Create(7));
}

TEST_F(ScriptHostTest, AnswersIUnknownAndIDispatchWithItselfAndNothingElse) {
  ScriptHostWrapper wrapper;
  ASSERT_TRUE(wrapper.Create(0));
  IUnknown* object = wrapper.Get();
  struct Case {
    const char* asked;
    HRESULT result;
  } const cases[] = {
      {IidText::IUnknown, S_OK},
      {IidText::IDispatch, S_OK},
      {"{00020400-0000-0000-c000-000000000046}", S_OK},
      {"{00000003-0000-0000-C000-000000000046}", E_NOINTERFACE},  // IMarshal
      {"{a6ef9860-c720-11d0-9337-00a0c90dcaa9}", E_NOINTERFACE},  // IDispatchEx
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.asked);
    void* answer = reinterpret_cast<void*>(1);
    EXPECT_EQ(object->QueryInterface(IidOf(c.asked), &answer), c.result);
    EXPECT_EQ(answer, c.result == S_OK ? object : nullptr);
    if (answer != nullptr) {
      EXPECT_EQ(object->Release(), 1u) << "the answer carries a reference";
    }
  }
  EXPECT_EQ(object->QueryInterface(IidOf(IidText::IDispatch), nullptr), E_POINTER);
}

TEST_F(ScriptHostTest, HasNoTypeInformation) {
  ScriptHostWrapper wrapper;
  ASSERT_TRUE(wrapper.Create(0));
  UINT count = 77;
  ITypeInfo* info = reinterpret_cast<ITypeInfo*>(1);
  EXPECT_EQ(AsDispatch(wrapper.Get())->GetTypeInfoCount(&count), E_NOTIMPL);
  EXPECT_EQ(AsDispatch(wrapper.Get())->GetTypeInfo(0, 0, &info), E_NOTIMPL);
  EXPECT_EQ(count, 77u);
  EXPECT_EQ(info, reinterpret_cast<ITypeInfo*>(1));
}

TEST_F(ScriptHostTest, KnowsTheNameAddExactlyAndOneNameAtATime) {
  ScriptHostWrapper wrapper;
  ASSERT_TRUE(wrapper.Create(0));
  IDispatch* host = AsDispatch(wrapper.Get());
  struct Case {
    std::vector<const wchar_t*> names;
    HRESULT result;
    DISPID id;
  } const cases[] = {
      {{L"add"}, S_OK, 1},
      {{L"Add"}, DISP_E_UNKNOWNNAME, -7},
      {{L"ADD"}, DISP_E_UNKNOWNNAME, -7},
      {{L"add "}, DISP_E_UNKNOWNNAME, -7},
      {{L"ad"}, DISP_E_UNKNOWNNAME, -7},
      {{L""}, DISP_E_UNKNOWNNAME, -7},
      {{L"加"}, DISP_E_UNKNOWNNAME, -7},
      {{L"add", L"first"}, DISP_E_UNKNOWNNAME, -7},
      {{}, DISP_E_UNKNOWNNAME, -7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.names.size() << " names, first "
                                    << (c.names.empty() ? "none" : TextFromWide(c.names[0], kCodePageUtf8)));
    std::vector<LPOLESTR> names;
    for (const wchar_t* name : c.names) names.push_back(const_cast<LPOLESTR>(name));
    DISPID ids[2] = {-7, -7};
    EXPECT_EQ(host->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()), 0, ids), c.result);
    EXPECT_EQ(ids[0], c.id);
    EXPECT_EQ(ids[1], -7);
  }
}

TEST_F(ScriptHostTest, AddSumsExactlyTwoArgumentsOfAMethodCall) {
  ScriptHostWrapper wrapper;
  ASSERT_TRUE(wrapper.Create(0));
  IDispatch* host = AsDispatch(wrapper.Get());
  const BSTR seven = SysAllocString(L"7");
  const BSTR word = SysAllocString(L"seven");
  VARIANT sevenText, wordText, yes;
  V_VT(&sevenText) = VT_BSTR;
  V_BSTR(&sevenText) = seven;
  V_VT(&wordText) = VT_BSTR;
  V_BSTR(&wordText) = word;
  V_VT(&yes) = VT_BOOL;
  V_BOOL(&yes) = VARIANT_TRUE;

  struct Case {
    const char* name;
    DISPID id;
    WORD flags;
    std::vector<VARIANT> arguments;  // in script order
    HRESULT result;
    double sum;
  } const cases[] = {
      {"2 + 3", 1, DISPATCH_METHOD, {Real(2), Real(3)}, S_OK, 5},
      {"1.5 + 2.25", 1, DISPATCH_METHOD, {Real(1.5), Real(2.25)}, S_OK, 3.75},
      {"\"7\" + true (-1)", 1, DISPATCH_METHOD, {sevenText, yes}, S_OK, 6},
      {"a word counts as 0", 1, DISPATCH_METHOD, {wordText, Real(2)}, S_OK, 2},
      {"method and property get", 1, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {Real(1), Real(1)}, S_OK, 2},
      {"one argument", 1, DISPATCH_METHOD, {Real(2)}, DISP_E_MEMBERNOTFOUND, -1},
      {"three arguments", 1, DISPATCH_METHOD, {Real(1), Real(2), Real(3)}, DISP_E_MEMBERNOTFOUND, -1},
      {"no arguments", 1, DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND, -1},
      {"read as a property", 1, DISPATCH_PROPERTYGET, {Real(2), Real(3)}, DISP_E_MEMBERNOTFOUND, -1},
      {"another member", 2, DISPATCH_METHOD, {Real(2), Real(3)}, DISP_E_MEMBERNOTFOUND, -1},
      {"the default member", DISPID_VALUE, DISPATCH_METHOD, {Real(2), Real(3)}, DISP_E_MEMBERNOTFOUND, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<VARIANT> reversed(c.arguments.rbegin(), c.arguments.rend());
    DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    VARIANT result = Real(-1);
    EXCEPINFO exception{};
    exception.scode = 0x1234;
    UINT argumentError = 77;
    EXPECT_EQ(host->Invoke(c.id, IID_NULL, 0, c.flags, &parameters, &result, &exception, &argumentError), c.result);
    EXPECT_EQ(V_VT(&result), VT_R8);
    EXPECT_EQ(V_R8(&result), c.sum);
    EXPECT_EQ(exception.scode, 0x1234) << "exception information is not written";
    EXPECT_EQ(argumentError, 77u);
  }
  EXPECT_EQ(std::wstring(V_BSTR(&sevenText)), L"7");
  SysFreeString(seven);
  SysFreeString(word);
}

TEST_F(ScriptHostTest, AddWithoutResultLocationOrParametersDoesNotCrash) {
  ScriptHostWrapper wrapper;
  ASSERT_TRUE(wrapper.Create(0));
  IDispatch* host = AsDispatch(wrapper.Get());
  EXPECT_EQ(CallAdd(host, Real(2), Real(3), nullptr), S_OK);
  EXPECT_EQ(host->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
  DISPPARAMS noArray{nullptr, nullptr, 2, 0};
  EXPECT_EQ(host->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &noArray, nullptr, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
}

TEST_F(ScriptHostTest, TheResultLocationIsClearedBeforeTheSumGoesIn) {
  ScriptHostWrapper wrapper;
  ASSERT_TRUE(wrapper.Create(0));
  CountingDispatch previous;
  VARIANT result;
  V_VT(&result) = VT_DISPATCH;
  V_DISPATCH(&result) = &previous;
  previous.AddRef();
  EXPECT_EQ(CallAdd(AsDispatch(wrapper.Get()), Real(2), Real(3), &result), S_OK);
  EXPECT_EQ(previous.references(), 0) << "the old value was released";
  EXPECT_EQ(V_VT(&result), VT_R8);
}

TEST_F(ScriptHostTest, AnObjectWhoseOwnerIsGoneAnswersAsUnknown) {
  ComRef kept;
  {
    ScriptHostWrapper wrapper;
    ASSERT_TRUE(wrapper.Create(0));
    kept = wrapper.Duplicate();
    ScriptHostWrapper copy(wrapper);
    EXPECT_EQ(copy.Get(), wrapper.Get());
    EXPECT_EQ(reinterpret_cast<ScriptHostObject*>(kept.Get())->referenceCount, 3);
  }
  auto* record = reinterpret_cast<ScriptHostObject*>(kept.Get());
  EXPECT_EQ(record->owner, nullptr);
  EXPECT_EQ(record->referenceCount, 1) << "both wrappers dropped their references";
  LPOLESTR name = const_cast<LPOLESTR>(L"add");
  DISPID id = -7;
  EXPECT_EQ(AsDispatch(kept.Get())->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(id, -7);
  VARIANT result = Real(-1);
  EXPECT_EQ(CallAdd(AsDispatch(kept.Get()), Real(2), Real(3), &result), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(V_R8(&result), -1);
}

TEST_F(ScriptHostTest, ACopyDoesNotTakeOverTheObject) {
  ScriptHostWrapper wrapper;
  ASSERT_TRUE(wrapper.Create(0));
  { std::unique_ptr<ScriptHostWrapper> clone = wrapper.Clone(); }
  EXPECT_EQ(reinterpret_cast<ScriptHostObject*>(wrapper.Get())->owner, &wrapper);
  VARIANT result = Real(-1);
  EXPECT_EQ(CallAdd(AsDispatch(wrapper.Get()), Real(2), Real(3), &result), S_OK);
}

}  // namespace
