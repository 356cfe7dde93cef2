#include "com/callback_object.h"

#include <gtest/gtest.h>

#include "com/heap.h"
#include "com/text.h"
#include "support/iid.h"
#include "support/process_heap.h"
#include "support/stdcall_probe.h"
#include "webview2/iid_text.h"

namespace {

// Handler interfaces as WebView2 declares them: one Invoke at slot 3, after IUnknown's three.
struct ITwoValueHandler : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ULONG_PTR first, ULONG_PTR second) = 0;
};
struct IOneValueHandler : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ULONG_PTR first) = 0;
};

constexpr char kHandlerId[] = "{d33a35bf-1c49-4f98-93ab-006e0533fe1c}";
constexpr char kHandlerIdCapitals[] = "{D33A35BF-1C49-4F98-93AB-006E0533FE1C}";
constexpr int kInvokeSlot = 3;

struct Received {
  int calls = 0;
  ULONG_PTR context = 0, first = 0, second = 0;
};
Received received;

HRESULT STDMETHODCALLTYPE TwoValueRoutine(ULONG_PTR context, ULONG_PTR first, ULONG_PTR second) {
  received = {received.calls + 1, context, first, second};
  return 0x00ABCDEF;
}

HRESULT STDMETHODCALLTYPE OneValueRoutine(ULONG_PTR context, ULONG_PTR first) {
  received = {received.calls + 1, context, first, 0};
  return 0x00FEDCBA;
}

class CallbackObjectTest : public testing::Test {
 protected:
  void SetUp() override { received = {}; }
  HeapBalance heap_;
};

TEST_F(CallbackObjectTest, CountsReferencesAndFreesBothBlocksAtTheLastRelease) {
  IUnknown* object = MakeCallbackObject(TwoValueRoutine, 0, kHandlerId);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(reinterpret_cast<CallbackObject*>(object)->referenceCount, 1);
  EXPECT_EQ(object->AddRef(), 2u);
  EXPECT_EQ(object->Release(), 1u);
  EXPECT_EQ(object->Release(), 0u);
}

TEST_F(CallbackObjectTest, AnswersIUnknownAndItsOwnInterfaceOnly) {
  struct Case {
    const char* name;
    const char* madeWith;
    const char* asked;
    HRESULT result;
  } const cases[] = {
      {"IUnknown", kHandlerId, IidText::IUnknown, S_OK},
      {"its own interface", kHandlerId, kHandlerId, S_OK},
      {"its own interface, made with capital digits", kHandlerIdCapitals, kHandlerId, S_OK},
      {"IDispatch", kHandlerId, IidText::IDispatch, E_NOINTERFACE},
      {"another handler interface", kHandlerId, "{9adbe429-f36d-432b-9ddc-f8881fbd76e3}", E_NOINTERFACE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IUnknown* object = MakeCallbackObject(TwoValueRoutine, 0, c.madeWith);
    void* answer = reinterpret_cast<void*>(1);
    EXPECT_EQ(object->QueryInterface(IidOf(c.asked), &answer), c.result);
    if (c.result == S_OK) {
      EXPECT_EQ(answer, object);
      EXPECT_EQ(object->Release(), 1u) << "the answer carries a reference";
    } else {
      EXPECT_EQ(answer, nullptr);
    }
    EXPECT_EQ(object->Release(), 0u);
  }
}

TEST_F(CallbackObjectTest, RefusesANullOutPointer) {
  IUnknown* object = MakeCallbackObject(TwoValueRoutine, 0, kHandlerId);
  EXPECT_EQ(object->QueryInterface(IidOf(kHandlerId), nullptr), E_POINTER);
  EXPECT_EQ(object->Release(), 0u);
}

TEST_F(CallbackObjectTest, InvokeForwardsContextAndBothValues) {
  IUnknown* object = MakeCallbackObject(TwoValueRoutine, 7, kHandlerId);
  int sender = 0;
  const auto result = CallStdcall(TableEntry(object, kInvokeSlot),
                                  {reinterpret_cast<ULONG_PTR>(object), static_cast<ULONG>(E_FAIL),
                                   reinterpret_cast<ULONG_PTR>(&sender)});
  EXPECT_STACK_BYTES(result.bytesPopped, 12);
  EXPECT_EQ(result.value, 0x00ABCDEFu);
  EXPECT_EQ(received.calls, 1);
  EXPECT_EQ(received.context, 7u);
  EXPECT_EQ(received.first, 0x80004005u);
  EXPECT_EQ(received.second, reinterpret_cast<ULONG_PTR>(&sender));
  object->Release();
}

TEST_F(CallbackObjectTest, SingleArgInvokeTakesOneValue) {
  IUnknown* object = MakeSingleArgCallbackObject(OneValueRoutine, 9, kHandlerId);
  const auto result = CallStdcall(TableEntry(object, kInvokeSlot),
                                  {reinterpret_cast<ULONG_PTR>(object), static_cast<ULONG>(E_FAIL)});
  EXPECT_STACK_BYTES(result.bytesPopped, 8);
  EXPECT_EQ(result.value, 0x00FEDCBAu);
  EXPECT_EQ(received.calls, 1);
  EXPECT_EQ(received.context, 9u);
  EXPECT_EQ(received.first, 0x80004005u);
  object->Release();
}

TEST_F(CallbackObjectTest, WithoutARoutineInvokeAnswersOk) {
  IUnknown* two = MakeCallbackObject(nullptr, 7, kHandlerId);
  IUnknown* one = MakeSingleArgCallbackObject(nullptr, 7, kHandlerId);
  EXPECT_EQ(static_cast<ITwoValueHandler*>(two)->Invoke(1, 2), S_OK);
  EXPECT_EQ(static_cast<IOneValueHandler*>(one)->Invoke(1), S_OK);
  EXPECT_EQ(received.calls, 0);
  two->Release();
  one->Release();
}

TEST_F(CallbackObjectTest, ObjectsOfOneInterfaceHaveTheirOwnTablesAndCounts) {
  IUnknown* first = MakeCallbackObject(TwoValueRoutine, 1, kHandlerId);
  IUnknown* second = MakeCallbackObject(TwoValueRoutine, 2, kHandlerId);
  EXPECT_NE(reinterpret_cast<CallbackObject*>(first)->routineTable,
            reinterpret_cast<CallbackObject*>(second)->routineTable);
  first->AddRef();
  EXPECT_EQ(second->Release(), 0u);
  EXPECT_EQ(first->Release(), 1u);
  EXPECT_EQ(first->Release(), 0u);
}

TEST_F(CallbackObjectTest, WithoutMemoryForItsTableOrRecordNoObjectIsMadeAndNothingIsKept) {
  const struct {
    const char* name;
    int skipped;  // allocations that succeed before the one that fails
  } cases[] = {{"the table", 0}, {"the record", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    {
      ProcessHeap::ScopedFailures failure(1, c.skipped);
      EXPECT_EQ(MakeCallbackObject(TwoValueRoutine, 7, kHandlerId), nullptr);
      EXPECT_EQ(ProcessHeap::PendingFailures(), 0) << "the failure came where it was asked for";
    }
    {
      ProcessHeap::ScopedFailures failure(1, c.skipped);
      EXPECT_EQ(MakeSingleArgCallbackObject(OneValueRoutine, 7, kHandlerId), nullptr);
      EXPECT_EQ(ProcessHeap::PendingFailures(), 0);
    }
  }
  // and with memory again, objects are made as before
  IUnknown* object = MakeCallbackObject(TwoValueRoutine, 7, kHandlerId);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->Release(), 0u);
}

}  // namespace
