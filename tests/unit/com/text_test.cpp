#include "com/text.h"

#include <gtest/gtest.h>

TEST(TextToWide, EmptyTextGivesOneZeroUnit) {
  const WideBuffer wide = TextToWide("");
  ASSERT_EQ(wide.byteLength(), 2u);
  EXPECT_EQ(WideData(wide)[0], 0);
}

TEST(TextToWide, RunsWithCodePage936) { EXPECT_EQ(GetACP(), 936u); }
