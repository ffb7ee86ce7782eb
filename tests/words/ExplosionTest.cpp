#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "words/WordFixture.h"

namespace {

class ExplosionTest : public WordFixture {
 protected:
  const std::vector<TColor> Three = {0xFF0000, 0x0000FF, 0x00FFFF};
};

TEST_F(ExplosionTest, FragmentsStartNearTheCentreWithLifeAndSpeedFromTheBase) {
  for (uint32_t seed = 1; seed < 30; ++seed) {
    RandSeed(seed);
    TExplodeItem e(TPoint{100, 200}, TSize{20, 12}, 8, Three);
    EXPECT_EQ(e.Position, (TPoint{110, 206}));
    EXPECT_EQ(e.StepInterval, 60);
    // hw 10, hh 6: 60 fragments plus up to 9.
    EXPECT_GE(e.Debris.Count(), 60);
    EXPECT_LE(e.Debris.Count(), 69);
    for (int i = 0; i < e.Debris.Count(); ++i) {
      const TDebris* d = e.Debris.Items(i);
      EXPECT_LE(std::abs(d->X - 110), 3);  // ((5) - 0..9) / 2
      EXPECT_LE(std::abs(d->Y - 206), 2);  // ((3) - 0..5) / 2
      EXPECT_GE(d->Life, 8);
      EXPECT_LE(d->Life, 12);
      EXPECT_GE(d->Speed, 8);
      EXPECT_LE(d->Speed, 14);
      EXPECT_NE(std::find(Three.begin(), Three.end(), d->Colour), Three.end());
    }
  }
}

TEST_F(ExplosionTest, ATinyAreaGivesUpToNineFragmentsOnTheCentreAndABigOneAtMost109) {
  int seen[10] = {};
  for (uint32_t seed = 1; seed < 200; ++seed) {
    RandSeed(seed);
    TExplodeItem tiny(TPoint{50, 60}, TSize{1, 1}, 2, Three);
    ASSERT_LE(tiny.Debris.Count(), 9);
    seen[tiny.Debris.Count()]++;
    for (int i = 0; i < tiny.Debris.Count(); ++i) {
      EXPECT_EQ(tiny.Debris.Items(i)->X, 50);
      EXPECT_EQ(tiny.Debris.Items(i)->Y, 60);
    }
    TExplodeItem big(TPoint{0, 0}, TSize{400, 400}, 2, Three);
    EXPECT_GE(big.Debris.Count(), 100);
    EXPECT_LE(big.Debris.Count(), 109);
  }
  EXPECT_GT(seen[0], 0);
  EXPECT_GT(seen[9], 0);
}

// Per fragment the generator gives y, x, life, speed, colour, in that order.
TEST_F(ExplosionTest, EachFragmentDrawsItsNumbersInOrder) {
  RandSeed(99);
  int32_t n = 16 + Random(10);  // 8 x 8: hw = hh = 4
  std::vector<TDebris> expected;
  for (int32_t k = 0; k < n; ++k) {
    TDebris d;
    d.Y = 204 + (2 - Random(4)) / 2;
    d.X = 104 + (2 - Random(4)) / 2;
    d.Life = 2 + Random(5);
    d.Speed = 2 + Random(7);
    d.Colour = Three[static_cast<size_t>(Random(3))];
    expected.push_back(d);
  }
  RandSeed(99);
  TExplodeItem e(TPoint{100, 200}, TSize{8, 8}, 2, Three);
  ASSERT_EQ(e.Debris.Count(), n);
  for (int k = 0; k < n; ++k) {
    const TDebris* d = e.Debris.Items(k);
    EXPECT_EQ(d->X, expected[k].X);
    EXPECT_EQ(d->Y, expected[k].Y);
    EXPECT_EQ(d->Life, expected[k].Life);
    EXPECT_EQ(d->Speed, expected[k].Speed);
    EXPECT_EQ(d->Colour, expected[k].Colour);
  }
}

TEST_F(ExplosionTest, FragmentsLeapOutwardThenCrawlAPixelAtATime) {
  RandSeed(5);
  TExplodeItem e(TPoint{100, 100}, TSize{1, 1}, 2, Three);
  e.Debris.Clear();
  auto* right = new TDebris{105, 103, 8, 50, clWhite};   // right of and below the centre
  auto* centre = new TDebris{100, 100, 3, 50, clWhite};  // on both centre lines
  e.Debris.AddObject(right);
  e.Debris.AddObject(centre);
  const int32_t speeds[] = {8, 4, 1, 1, 1};
  for (int32_t s : speeds) {
    TDebris r = *right, c = *centre;
    e.Step();
    int32_t dx = right->X - r.X, dy = right->Y - r.Y;
    EXPECT_TRUE(dx == 0 || dx == s) << s << " " << dx;
    EXPECT_TRUE(dy == 0 || dy == s) << s << " " << dy;
    // On the centre line a fragment goes left and up.
    EXPECT_LE(centre->X - c.X, 0);
    EXPECT_LE(centre->Y - c.Y, 0);
  }
  EXPECT_EQ(centre->Speed, 1);  // 3 - 4 stops at 1, never -1
}

TEST_F(ExplosionTest, FragmentsExpireAndTheEmptyExplosionLeavesItsList) {
  RandSeed(3);
  form->ExplodeItems->Add(std::make_unique<TExplodeItem>(TPoint{300, 300}, TSize{16, 16}, 2, Three));
  auto* e = static_cast<TExplodeItem*>(form->ExplodeItems->Items(0));
  int before = e->Debris.Count();
  ASSERT_GT(before, 0);
  // Base 2: lives of 2 to 6 steps, one step every 60 ms from the first pass.
  form->ExplodeItems->UpdateAll();
  EXPECT_EQ(e->Debris.Count(), before);
  Advance(60);
  form->ExplodeItems->UpdateAll();
  EXPECT_LT(e->Debris.Count(), before);  // the two-step ones are gone
  for (int i = 0; i < 10 && form->ExplodeItems->Count() > 0; ++i) {
    Advance(60);
    form->ExplodeItems->UpdateAll();
  }
  EXPECT_EQ(form->ExplodeItems->Count(), 0);
}

TEST_F(ExplosionTest, AFragmentIsAPixelWithDimmerSidesAndCorners) {
  TCanvas& c = form->Canvas();
  c.Brush.Style = TBrushStyle::Solid;
  c.Brush.Color = clBlack;
  c.FillRect(TRect{0, 0, 800, 600});
  TExplodeItem e(TPoint{0, 0}, TSize{1, 1}, 2, Three);
  e.Debris.Clear();
  e.Debris.AddObject(new TDebris{100, 100, 1, 5, clWhite});
  e.Debris.AddObject(new TDebris{200, 100, 1, 5, clRed});
  e.Debris.AddObject(new TDebris{0, 0, 1, 5, clWhite});  // half off the canvas: clipped, no fault
  e.Draw();
  EXPECT_EQ(c.GetPixel(100, 100), 0xFFFFFFu);
  for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) EXPECT_EQ(c.GetPixel(100 + dx, 100 + dy), 0x404040u);
  for (auto [dx, dy] : {std::pair{1, 1}, {-1, 1}, {1, -1}, {-1, -1}}) EXPECT_EQ(c.GetPixel(100 + dx, 100 + dy), 0x202020u);
  EXPECT_EQ(c.GetPixel(102, 100), 0u);
  EXPECT_EQ(c.GetPixel(200, 100), 0x0000FFu);
  EXPECT_EQ(c.GetPixel(201, 100), 0x000040u);
  EXPECT_EQ(c.GetPixel(201, 101), 0x000020u);
}

TEST_F(ExplosionTest, ALetterBurstsFromItsOwnBoxInTheWordsColoursOfFire) {
  TSpriteWord* w = AddWord("KEY", {400, 200});
  w->Scale = 2;
  TSize x = form->LetterExtent(w->FontSize());
  int32_t top = w->TextLayout().TextTop;
  auto e = TExplodeItem::ForLetter(*w);
  EXPECT_EQ(e->Position, (TPoint{400 + x.cx / 2, top + x.cy / 2}));
  int32_t area = (x.cx / 2) * (x.cy / 2);
  EXPECT_GE(e->Debris.Count(), std::min(area, 100));
  for (int i = 0; i < e->Debris.Count(); ++i) {
    TColor c = e->Debris.Items(i)->Colour;
    EXPECT_TRUE(c == 0xFF0000 || c == 0x0000FF || c == 0x00FFFF);
    EXPECT_LE(e->Debris.Items(i)->Life, 6);
  }
}

}  // namespace
