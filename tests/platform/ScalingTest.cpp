#include <gtest/gtest.h>

#include "platform/Scaling.h"

TEST(Scaling, WholeScalesAreCentredAndMapBothWays) {
  for (int s = 1; s <= 3; ++s) {
    TViewport v = FitPlayfield(800 * s + 40, 600 * s + 10, 800, 600);
    EXPECT_EQ(v, (TViewport{20, 5, 800 * s, 600 * s})) << s;
    // Every window pixel of a playfield pixel maps back to it, edges included.
    for (int px : {0, 1, 399, 799})
      for (int k = 0; k < s; ++k) {
        TPoint w = PlayfieldToWindow(v, px, 599, 800, 600);
        EXPECT_EQ(WindowToPlayfield(v, w.X + k, w.Y + k, 800, 600), (TPoint{px, 599})) << s << " " << px;
      }
  }
}

TEST(Scaling, NonIntegerFullscreenKeepsTheAspectAndLetterboxes) {
  // 1920 x 1080 holds 1x; a 700 x 700 window holds none and shrinks.
  TViewport v = FitPlayfield(1920, 1080, 800, 600);
  EXPECT_EQ(v, (TViewport{560, 240, 800, 600}));
  TViewport small = FitPlayfield(700, 700, 800, 600);
  EXPECT_EQ(small, (TViewport{0, 87, 700, 525}));
  EXPECT_EQ(WindowToPlayfield(small, 0, 87, 800, 600), (TPoint{0, 0}));
  EXPECT_EQ(WindowToPlayfield(small, 699, 611, 800, 600), (TPoint{798, 598}));
  // The black bars clamp to the nearest edge of the playfield.
  EXPECT_EQ(WindowToPlayfield(small, 10, 3, 800, 600), (TPoint{11, 0}));
  EXPECT_EQ(WindowToPlayfield(small, 10, 699, 800, 600), (TPoint{11, 599}));
}

TEST(Scaling, WindowScaleFitsTheWorkArea) {
  EXPECT_EQ(WindowScaleFor(1920, 1040, 8, 26, 800, 600), 1);
  EXPECT_EQ(WindowScaleFor(3840, 2120, 8, 26, 800, 600), 3);
  EXPECT_EQ(WindowScaleFor(640, 480, 8, 26, 800, 600), 1);
}
