#include "com/interface_holder.h"

#include <gtest/gtest.h>

#include "support/counted_object.h"

namespace {

constexpr char kAnsweredId[] = "{20944379-6dcf-41d6-a0a0-abc0fc50de0d}";
constexpr char kRefusedId[] = "{517B2D1D-7DAE-4A66-A4F4-10352FFB9518}";

using Counted = CountedObject<IUnknown>;

TEST(InterfaceHolder, SetTakesAReferenceOfItsOwn) {
  Counted first, second;
  {
    InterfaceHolder holder;
    EXPECT_EQ(holder.Get(), nullptr);
    EXPECT_TRUE(holder.Set(&first));
    EXPECT_EQ(holder.Get(), &first);
    EXPECT_EQ(first.references(), 1);

    EXPECT_TRUE(holder.Set(&first));
    EXPECT_EQ(first.references(), 1) << "setting the held interface again keeps one reference";

    EXPECT_FALSE(holder.Set(nullptr));
    EXPECT_EQ(holder.Get(), &first) << "null changes nothing";

    EXPECT_TRUE(holder.Set(&second));
    EXPECT_EQ(first.references(), 0);
    EXPECT_EQ(second.references(), 1);
  }
  EXPECT_EQ(second.references(), 0) << "destruction releases";
}

TEST(InterfaceHolder, AttachTakesOverTheCallersReference) {
  Counted first, second;
  first.AddRef();
  second.AddRef();
  InterfaceHolder holder;
  EXPECT_TRUE(holder.Attach(&first));
  EXPECT_EQ(first.references(), 1);
  EXPECT_FALSE(holder.Attach(nullptr));
  EXPECT_EQ(holder.Get(), &first);
  EXPECT_TRUE(holder.Attach(&second));
  EXPECT_EQ(first.references(), 0);
  EXPECT_EQ(second.references(), 1);
  holder.Release();
  EXPECT_EQ(second.references(), 0);
  EXPECT_EQ(holder.Get(), nullptr);
  holder.Release();  // on an empty holder: nothing
  EXPECT_EQ(second.references(), 0);
}

TEST(InterfaceHolder, GetAddressOfReceivesAnOutParameter) {
  Counted previous, object;
  InterfaceHolder holder;
  holder.Set(&previous);
  IUnknown** slot = holder.GetAddressOf();
  EXPECT_EQ(previous.references(), 0) << "what it held goes first: the callee overwrites the slot";
  EXPECT_EQ(*slot, nullptr);
  EXPECT_EQ(holder.Get(), nullptr);
  object.AddRef();  // as a COM method does for its out-parameter
  *slot = &object;
  EXPECT_EQ(holder.Get(), &object);
  holder.Release();
  EXPECT_EQ(object.references(), 0);
}

TEST(InterfaceHolder, CopiesHoldReferencesOfTheirOwn) {
  Counted object, other;
  InterfaceHolder holder;
  holder.Set(&object);
  {
    InterfaceHolder copy(holder);
    std::unique_ptr<InterfaceHolder> clone = holder.Clone();
    EXPECT_EQ(copy.Get(), &object);
    EXPECT_EQ(clone->Get(), &object);
    EXPECT_EQ(object.references(), 3);
  }
  EXPECT_EQ(object.references(), 1);

  InterfaceHolder assigned;
  assigned.Set(&other);
  assigned = holder;
  EXPECT_EQ(other.references(), 0);
  EXPECT_EQ(object.references(), 2);
  assigned = InterfaceHolder();
  EXPECT_EQ(assigned.Get(), nullptr);
  EXPECT_EQ(object.references(), 1);
}

TEST(InterfaceHolder, QueryIntoFillsOrEmptiesTheTarget) {
  struct Case {
    const char* name;
    bool sourceHolds;
    const char* id;
    HRESULT result;
  } const cases[] = {
      {"an answered identifier", true, kAnsweredId, S_OK},
      {"a refused identifier", true, kRefusedId, E_NOINTERFACE},
      {"an empty source", false, kAnsweredId, S_FALSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Counted object({kAnsweredId}), previous;
    InterfaceHolder source, target;
    if (c.sourceHolds) source.Set(&object);
    target.Set(&previous);

    EXPECT_EQ(source.QueryInto(c.id, target), c.result);
    EXPECT_EQ(previous.references(), 0) << "the target's interface is released first";
    EXPECT_EQ(source.Get(), c.sourceHolds ? &object : nullptr);
    EXPECT_EQ(target.Get(), c.result == S_OK ? &object : nullptr);
    EXPECT_EQ(object.references(), (c.sourceHolds ? 1 : 0) + (c.result == S_OK ? 1 : 0));
  }
}

TEST(InterfaceHolder, DuplicateHandsOutACountedReference) {
  Counted object;
  InterfaceHolder holder;
  EXPECT_FALSE(holder.Duplicate());
  holder.Set(&object);
  {
    ComRef duplicate = holder.Duplicate();
    EXPECT_EQ(duplicate.Get(), &object);
    EXPECT_EQ(object.references(), 2);
    ComRef moved = std::move(duplicate);
    EXPECT_EQ(object.references(), 2);
  }
  EXPECT_EQ(object.references(), 1);
}

}  // namespace
