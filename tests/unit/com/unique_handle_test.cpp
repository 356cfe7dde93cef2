#include "com/unique_handle.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/counted_object.h"

namespace {

// Handles that are plain numbers' addresses, closed into a list, so a test sees each close.
int g_handles[3];
std::vector<int*> g_closed;
void CloseNumber(int* handle) { g_closed.push_back(handle); }
using UniqueNumber = UniqueHandle<int*, CloseNumber>;

class UniqueHandleTest : public testing::Test {
 protected:
  void SetUp() override { g_closed.clear(); }
  int* first = &g_handles[0];
  int* second = &g_handles[1];
  int* third = &g_handles[2];
};

TEST_F(UniqueHandleTest, ClosesWhatItHoldsOnceWhenItGoesOrIsReplaced) {
  {
    UniqueNumber owner(first);
    EXPECT_TRUE(owner);
    EXPECT_EQ(owner.get(), first);
    owner.reset(second);
    EXPECT_EQ(g_closed, (std::vector<int*>{first}));
    *owner.put() = third;  // an out-parameter: the held value is closed before it is overwritten
    EXPECT_EQ(g_closed, (std::vector<int*>{first, second}));
    EXPECT_EQ(owner.get(), third);
  }
  EXPECT_EQ(g_closed, (std::vector<int*>{first, second, third}));
}

TEST_F(UniqueHandleTest, AnEmptyOwnerClosesNothingAndReleaseOrMoveHandsTheValueOn) {
  {
    UniqueNumber empty;
    EXPECT_FALSE(empty);
    empty.reset();
    *empty.put() = nullptr;
  }
  EXPECT_TRUE(g_closed.empty());

  UniqueNumber owner(first);
  EXPECT_EQ(owner.release(), first);
  EXPECT_FALSE(owner);
  owner.reset(second);
  UniqueNumber moved(std::move(owner));
  EXPECT_FALSE(owner);
  UniqueNumber assigned(third);
  assigned = std::move(moved);
  EXPECT_EQ(g_closed, (std::vector<int*>{third})) << "assignment closes what the target held";
  EXPECT_EQ(assigned.get(), second);
  EXPECT_EQ(*assigned.addressof(), second) << "addressof keeps the value";
}

TEST_F(UniqueHandleTest, AVariantOwnerClearsItAndSoReleasesWhatItCarries) {
  CountedObject<IUnknown> object;
  {
    UniqueVariant variant;
    EXPECT_FALSE(variant);
    object.AddRef();
    VARIANT* value = variant.put();
    V_VT(value) = VT_UNKNOWN;
    V_UNKNOWN(value) = &object;
    EXPECT_TRUE(variant);
    EXPECT_EQ(V_VT(variant.addressof()), VT_UNKNOWN);
    EXPECT_EQ(object.references(), 1);
  }
  EXPECT_EQ(object.references(), 0);
}

}  // namespace
