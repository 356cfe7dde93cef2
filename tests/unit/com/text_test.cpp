#include "com/text.h"

#include <gtest/gtest.h>

TEST(TextToWide, EmptyTextGivesOneZeroUnit) {
  const WideBuffer wide = TextToWide("");
  ASSERT_EQ(wide.byteLength(), 2u);
  EXPECT_EQ(WideData(wide)[0], 0);
}

TEST(TextToWide, RunsWithCodePage936) { EXPECT_EQ(GetACP(), 936u); }

#include "support/task_allocator_spy.h"

TEST(CoTaskMemDupWide, CopyIsATaskBlock) {
  TaskAllocatorSpy spy;
  WCHAR* copy = CoTaskMemDupWide(L"ab");
  EXPECT_TRUE(spy.IsLive(copy));
  CoTaskMemFree(copy);
  EXPECT_EQ(spy.FreeCount(copy), 1);
  EXPECT_EQ(spy.liveBlocks(), 0);
}
