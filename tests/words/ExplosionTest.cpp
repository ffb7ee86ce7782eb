#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "sprites/StageFixture.h"
#include "words/WordUnit.h"

namespace {

class ExplosionTest : public StageFixture {
 protected:
  const std::vector<TColor> Three = {0xFF0000, 0x0000FF, 0x00FFFF};
};

TEST_F(ExplosionTest, FragmentsStartNearTheCentreInNumbersSetByTheArea) {
  int tinyCounts[10] = {};
  for (uint32_t seed = 1; seed < 100; ++seed) {
    RandSeed(seed);
    TExplodeItem e(TPoint{100, 200}, TSize{20, 12}, 8, Three);
    EXPECT_EQ(e.Position, (TPoint{110, 206}));
    EXPECT_GE(e.Debris.Count(), 60);  // hw 10 x hh 6, plus up to 9
    EXPECT_LE(e.Debris.Count(), 69);
    for (int i = 0; i < e.Debris.Count(); ++i) {
      const TDebris* d = e.Debris.Items(i);
      EXPECT_LE(std::abs(d->X - 110), 3);
      EXPECT_LE(std::abs(d->Y - 206), 2);
      EXPECT_TRUE(d->Life >= 8 && d->Life <= 12 && d->Speed >= 8 && d->Speed <= 14);
      EXPECT_NE(std::find(Three.begin(), Three.end(), d->Colour), Three.end());
    }
    TExplodeItem big(TPoint{0, 0}, TSize{400, 400}, 2, Three);
    EXPECT_LE(big.Debris.Count(), 109);
    // A single pixel gives 0 to 9 fragments, all on the centre.
    TExplodeItem tiny(TPoint{50, 60}, TSize{1, 1}, 2, Three);
    ASSERT_LE(tiny.Debris.Count(), 9);
    tinyCounts[tiny.Debris.Count()]++;
    for (int i = 0; i < tiny.Debris.Count(); ++i)
      EXPECT_EQ((TPoint{tiny.Debris.Items(i)->X, tiny.Debris.Items(i)->Y}), (TPoint{50, 60}));
  }
  EXPECT_GT(tinyCounts[0], 0);
  EXPECT_GT(tinyCounts[9], 0);
}

TEST_F(ExplosionTest, FragmentsLeapOutwardThenCrawlAPixelAtATime) {
  TExplodeItem e(TPoint{100, 100}, TSize{1, 1}, 2, Three);
  e.Debris.Clear();
  auto* right = new TDebris{105, 103, 8, 50, clWhite};   // right of and below the centre
  auto* centre = new TDebris{100, 100, 3, 50, clWhite};  // on both centre lines
  e.Debris.AddObject(right);
  e.Debris.AddObject(centre);
  for (int32_t s : {8, 4, 1, 1, 1}) {
    TDebris r = *right, c = *centre;
    e.Step();
    EXPECT_TRUE(right->X - r.X == 0 || right->X - r.X == s) << s;
    EXPECT_TRUE(right->Y - r.Y == 0 || right->Y - r.Y == s) << s;
    EXPECT_LE(centre->X - c.X, 0);  // on the centre line: left and up
    EXPECT_LE(centre->Y - c.Y, 0);
    EXPECT_EQ(centre->Speed, 1);  // 3 - 4 stops at 1
  }
}

TEST_F(ExplosionTest, AnExplosionWhoseFragmentsHaveAllExpiredLeavesItsList) {
  TSpriteList list;
  list.Add(std::make_unique<TExplodeItem>(TPoint{300, 300}, TSize{16, 16}, 2, Three));
  // Base 2: lives of 2 to 6 steps, one step every 60 ms from the first pass.
  list.UpdateAll(stage);
  for (int i = 0; i < 5; ++i) {
    ASSERT_EQ(list.Count(), 1) << i;
    clock.GameTime += 60;
    list.UpdateAll(stage);
  }
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(ExplosionTest, AFragmentIsAPixelWithSidesAtAQuarterAndCornersAtAnEighth) {
  TCanvas& c = stage.Canvas();
  ClearScreen();
  TExplodeItem e(TPoint{0, 0}, TSize{1, 1}, 2, Three);
  e.Debris.Clear();
  e.Debris.AddObject(new TDebris{100, 100, 1, 5, clWhite});
  e.Debris.AddObject(new TDebris{200, 100, 1, 5, clRed});
  e.Debris.AddObject(new TDebris{0, 0, 1, 5, clWhite});  // half off the canvas
  e.Draw(stage);
  EXPECT_EQ(c.GetPixel(100, 100), 0xFFFFFFu);
  for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
    EXPECT_EQ(c.GetPixel(100 + dx, 100 + dy), 0x404040u);
  for (auto [dx, dy] : {std::pair{1, 1}, {-1, 1}, {1, -1}, {-1, -1}})
    EXPECT_EQ(c.GetPixel(100 + dx, 100 + dy), 0x202020u);
  EXPECT_EQ(c.GetPixel(102, 100), 0u);
  EXPECT_EQ(c.GetPixel(201, 100), 0x000040u);
  EXPECT_EQ(c.GetPixel(201, 101), 0x000020u);
}

}  // namespace
