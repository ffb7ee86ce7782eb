// The star field: filling, scrolling, wrapping and the colour pulse.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "framework/Utils.h"
#include "sprites/StageFixture.h"
#include "sprites/StarUnit.h"

namespace {

class StarFieldTest : public StageFixture {
 protected:
  TStar& Star(int i) { return *static_cast<TStar*>(field.Items(i)); }

  // Every star's position and colour.
  std::vector<std::array<int64_t, 3>> Take() {
    std::vector<std::array<int64_t, 3>> s;
    for (int i = 0; i < field.Count(); ++i) s.push_back({Star(i).Position.X, Star(i).Position.Y, Star(i).Colour});
    return s;
  }
  TStarField field;
};

}  // namespace

TEST_F(StarFieldTest, FirstPassMakesTwoHundredStarsAllOverTheWindow) {
  field.UpdateAll(stage);
  ASSERT_EQ(field.Count(), StarCount);
  bool beyondPlayfield = false;
  for (int i = 0; i < field.Count(); ++i) {
    const TPoint p = Star(i).Position;
    EXPECT_TRUE(p.X >= 0 && p.X < stage.OuterSize.cx && p.Y >= 0 && p.Y < stage.OuterSize.cy) << i;
    EXPECT_EQ(Star(i).Colour, 1u) << i;  // no colour step yet
    beyondPlayfield |= p.X >= Width || p.Y >= Height;
  }
  EXPECT_TRUE(beyondPlayfield);  // the window's frame counts too
  field.UpdateAll(stage);
  EXPECT_EQ(field.Count(), StarCount);
}

TEST_F(StarFieldTest, NewStarDrawsHeightWidthTargetThenPace) {
  RandSeed(777);
  int32_t y = Random(626), x = Random(808), target = Random(0xFFFFFF), pace = Random(100) + 1;
  RandSeed(777);
  TStar star(stage.OuterSize);
  EXPECT_EQ(star.Position, Point(x, y));
  EXPECT_EQ(star.TargetColour, static_cast<TColor>(target));
  EXPECT_EQ(star.FadeSpeed, pace);
}

TEST_F(StarFieldTest, NothingMovesWhileTheClockStandsStill) {
  field.UpdateAll(stage);
  field.UpdateAll(stage);  // the stars' first colour step
  const auto still = Take();
  for (int i = 0; i < 100; ++i) field.UpdateAll(stage);
  EXPECT_EQ(Take(), still);

  // The first scroll and colour step come 40 ms after the first pass.
  clock.GameTime += 39;
  field.UpdateAll(stage);
  EXPECT_EQ(Take(), still);
  clock.GameTime += 1;
  field.UpdateAll(stage);
  const auto moved = Take();
  for (size_t i = 0; i < still.size(); ++i) {
    EXPECT_TRUE(still[i][0] < 4 || moved[i][0] == still[i][0] - 4) << i;
    EXPECT_NE(moved[i][2], still[i][2]) << i;
  }
}

TEST_F(StarFieldTest, StarLeavingTheLeftEdgeReturnsAtTheOffscreenWidth) {
  field.UpdateAll(stage);
  Star(0).Position = Point(3, 50);
  Star(1).Position = Point(4, 60);  // lands on column 0 and stays
  clock.GameTime += 40;
  field.UpdateAll(stage);
  EXPECT_EQ(Star(0).Position.X, screen.Width());
  EXPECT_GE(Star(0).Position.Y, 0);
  EXPECT_LT(Star(0).Position.Y, screen.Height());
  EXPECT_EQ(Star(1).Position, Point(0, 60));
}

// Values no star is made with (a star field read from a file) still scroll,
// fade and draw with well-defined arithmetic.
TEST_F(StarFieldTest, StarsAtTheEndsOfTheNumberRangeWrapFadeAndDraw) {
  field.UpdateAll(stage);
  Star(0).Position = Point(INT32_MIN + 1, 50);
  Star(1).Position = Point(INT32_MAX, INT32_MIN);
  Star(2).Colour = 0xFFFFFF;
  Star(2).FadeSpeed = INT32_MIN;
  Star(3).Colour = 0;
  Star(3).TargetColour = 0xFFFFFF;
  Star(3).FadeSpeed = INT32_MAX;
  clock.GameTime += 40;
  field.UpdateAll(stage);
  EXPECT_EQ(Star(0).Position.X, screen.Width());
  EXPECT_EQ(Star(2).Colour, 0x9B9B9Bu);  // dimmed at the fastest pace a star has
  EXPECT_EQ(Star(3).Colour, 0x646464u);
  EXPECT_EQ(Star(2).FadeSpeed, -100);
  ClearScreen();
  Star(0).Position = Point(INT32_MAX, INT32_MAX);
  Star(1).Position = Point(INT32_MIN, INT32_MIN);
  for (int i = 0; i < 2; ++i) Star(i).Draw(stage);
}

TEST_F(StarFieldTest, StarBrightensToItsTargetFadesOutAndTakesANewPace) {
  TStar star(stage.OuterSize);
  star.TargetColour = 0x0A0A0A;
  star.FadeSpeed = 4;
  std::vector<TColor> seen;
  for (int i = 0; i < 5; ++i) {
    star.Step();
    seen.push_back(star.Colour);
    EXPECT_FALSE(star.IsDead());
  }
  EXPECT_EQ(seen, (std::vector<TColor>{0x040405, 0x080809, 0x0A0A0A, 0x060606, 0x020202}));
  EXPECT_EQ(star.FadeSpeed, -4);
  star.Step();
  EXPECT_EQ(star.Colour, clBlack);
  RandSeed(99);
  const int32_t pace = Random(40) + 1;
  RandSeed(99);
  EXPECT_FALSE(star.IsDead());  // black: a fresh pace, never dead
  EXPECT_EQ(star.FadeSpeed, pace);
}

TEST_F(StarFieldTest, StarWithBlackTargetKeepsItsSign) {
  TStar star(stage.OuterSize);
  star.TargetColour = clBlack;
  star.FadeSpeed = 7;
  star.Step();
  EXPECT_EQ(star.Colour, clBlack);
  EXPECT_EQ(star.FadeSpeed, 7);  // turned twice in one step
}

TEST_F(StarFieldTest, StarIsANineDotCrossWithDimmedNeighbours) {
  TStar star(stage.OuterSize);
  star.Position = Point(100, 100);
  star.Colour = 0x40FF80;
  ClearScreen();
  star.Draw(stage);
  TCanvas& c = stage.Canvas();
  // Full at the centre, half beside it, a quarter at the corners (255/4
  // rounds to 64, 128/4 to 32).
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      EXPECT_EQ(c.GetPixel(100 + dx, 100 + dy), dx == 0 && dy == 0   ? 0x40FF80u
                                                : dx == 0 || dy == 0 ? 0x208040u
                                                                     : 0x104020u)
          << dx << "," << dy;
  EXPECT_EQ(c.GetPixel(102, 100), clBlack);
  // At the right edge only the left neighbours land on the bitmap.
  star.Position = Point(Width, 10);
  star.Draw(stage);
  EXPECT_EQ(c.GetPixel(Width - 1, 10), 0x208040u);
}
