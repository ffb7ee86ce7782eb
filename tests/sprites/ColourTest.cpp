// The colour helpers behind fading score texts and pulsing stars.
#include <gtest/gtest.h>

#include "sprites/SpriteUnit.h"

TEST(FadeColour, EachChannelMovesTowardsItsTargetAndStopsThere) {
  // Up, down and unchanged channels in one colour: R up by 10, G down by 10, B equal.
  EXPECT_EQ(FadeColour(0x80A014, 0x806450, 10), 0x80961E);
  // A step larger than the gap lands exactly on the target, never past it.
  EXPECT_EQ(FadeColour(0x0000F8, 0xFF0000, 100), 0x640094);
  EXPECT_EQ(FadeColour(0x000005, 0x0000FF, 255), 0x0000FF);
  EXPECT_EQ(FadeColour(0xFFFFFF, 0x000000, 300), 0x000000);
  EXPECT_EQ(FadeColour(0x000000, 0xFFFFFF, INT32_MAX), 0xFFFFFFu);
  // Step 0 changes nothing; a negative step pushes no channel out of range.
  EXPECT_EQ(FadeColour(0x123456, 0xFFFFFF, 0), 0x123456);
  EXPECT_EQ(FadeColour(0x00FF00, 0xFF0000, -5), 0x00FF00);
  EXPECT_EQ(FadeColour(0x000000, 0xFFFFFF, -1), 0x000000);
}

TEST(DimColour, RoundsHalfToEvenPerChannelAndOnlyDivides) {
  EXPECT_EQ(DimColour(0x0000FF, 4), 0x000040u);  // 63.75 -> 64
  EXPECT_EQ(DimColour(0x00FF00, 8), 0x002000u);  // 31.875 -> 32
  EXPECT_EQ(DimColour(0x030507, 2), 0x020204u);  // 1.5 -> 2, 2.5 -> 2, 3.5 -> 4
  EXPECT_EQ(DimColour(0xFFFFFF, 2), 0x808080u);  // 127.5 -> 128
  EXPECT_EQ(DimColour(0x010101, 4), 0x000000u);
  for (int divisor : {1, 0, -3}) EXPECT_EQ(DimColour(0x123456, divisor), 0x123456u) << divisor;  // left as it is
}
