#include "shell/Castle.h"

#include <tuple>
#include <utility>

#include "platform/Canvas.h"
#include "support/GameFixture.h"
#include "words/Ink.h"
#include "words/WordUnit.h"

namespace {

constexpr int Top = 104;

class CastleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    castle.Top = Top;
    castle.Build(nullptr);
  }
  int Standing() const {
    int n = 0;
    for (int c = 0; c < CastleColumns; ++c)
      for (int r = 0; r < CastleRows; ++r) n += State(c, r) >= 1 && State(c, r) <= 4;
    return n;
  }
  int State(int c, int r) const { return static_cast<int>(castle[c][r].State); }
  void Hit(TPoint cell, int times) {
    for (int i = 0; i < times; ++i) castle.Hit(cell);
  }
  TCastle castle;
};

}  // namespace

TEST_F(CastleTest, NewCastleHas112CellsTwoArchesAndNothingDamaged) {
  EXPECT_EQ(Standing(), 112);
  for (auto [c, r, state] : {std::tuple{2, 3, 2}, {1, 15, 2}, {2, 4, 0}, {1, 17, 0}}) EXPECT_EQ(State(c, r), state);
  for (int r = 0; r < CastleRows; ++r) EXPECT_EQ(State(5, r), 0) << r;
  EXPECT_FALSE(castle.AnyDamaged());
  EXPECT_EQ(castle.Repair(false), (TPoint{-1, -1}));
  EXPECT_EQ(Standing(), 112);
}

TEST_F(CastleTest, ThreeHitsDestroyABrickOnlyStandingCellsTakeBlowsAndRepairsGoLeftmostTopmost) {
  for (auto [took, state] : {std::pair{true, 3}, {true, 4}, {true, 5}, {false, 5}}) {
    EXPECT_EQ(castle.Hit({0, 10}), took);
    EXPECT_EQ(State(0, 10), state);
  }
  for (TPoint p : {TPoint{5, 3}, TPoint{6, 3}, TPoint{-1, 0}, TPoint{1, 29}}) EXPECT_FALSE(castle.Hit(p)) << p.X;
  EXPECT_EQ(State(5, 3), 0);
  EXPECT_EQ(Standing(), 111);
  // An arch goes straight to damaged and comes back a plain brick.
  castle.Hit({2, 3});
  EXPECT_EQ(State(2, 3), 3);
  EXPECT_TRUE(castle.AnyDamaged());
  castle.Repair(true);
  EXPECT_EQ(State(2, 3), 1);
  EXPECT_EQ(State(0, 10), 1);
  EXPECT_FALSE(castle.AnyDamaged());
  // One repair mends the leftmost column's topmost cell.
  castle.Hit({2, 20});
  castle.Hit({1, 25});
  castle.Hit({1, 7});
  EXPECT_EQ(castle.Repair(false), (TPoint{16, Top + 7 * 16}));
  EXPECT_EQ(State(1, 7), 1);
  EXPECT_EQ(State(1, 25), 3);
  EXPECT_EQ(castle.Repair(false), (TPoint{16, Top + 25 * 16}));
}

TEST_F(CastleTest, CellAtLookupRules) {
  EXPECT_EQ(castle.CellAt(-40, Top + 16 * 10), (TPoint{0, 10}));  // negative x: column 0
  EXPECT_EQ(castle.CellAt(15, Top + 16 * 10), (TPoint{0, 10}));
  EXPECT_EQ(castle.CellAt(3, Top - 15), (TPoint{0, 0}));  // truncation toward zero
  EXPECT_EQ(castle.CellAt(3, Top - 16), (TPoint{-1, -1}));
  for (int x = 80; x < 96; ++x) EXPECT_EQ(castle.CellAt(x, Top + 16 * 5), (TPoint{-1, -1}));
  Hit({3, 20}, 3);
  EXPECT_EQ(castle.CellAt(3 * 16 + 1, Top + 20 * 16), (TPoint{-1, -1}));  // destroyed: words pass
  EXPECT_EQ(castle.CellAt(500, Top), (TPoint{-1, -1}));
}

TEST_F(CastleTest, ExplodingBurstsOnlyStandingCellsAndBuildingAgainRestores) {
  Hit({0, 0}, 3);
  castle.Hit({0, 1});
  TSpriteList bursts;
  castle.Explode(bursts);
  EXPECT_EQ(Standing(), 0);
  EXPECT_EQ(State(0, 0), 5);  // destroyed cells are not burst again
  EXPECT_EQ(bursts.Count(), 111);
  castle.Build(nullptr);
  EXPECT_EQ(Standing(), 112);
}

// The form's castle: placed on the ground, drawn with its pictures.
class CastleOnFormTest : public GameFixture {};

TEST_F(CastleOnFormTest, DrawnOnTheGroundAtTheLeft) {
  StartGame();
  EXPECT_EQ(form->CastleTop(), Top);
  form->DrawBackground();
  form->DrawCastle();
  // Bricks are opaque pictures: a standing cell is never pure black all over.
  auto cellHasPixels = [&](int c, int r) {
    return InkIn(*form->OffscreenImage, {c * 16, Top + r * 16, c * 16 + 16, Top + r * 16 + 16}).Count > 0;
  };
  EXPECT_TRUE(cellHasPixels(0, 28));
  EXPECT_TRUE(cellHasPixels(4, 1));
  EXPECT_FALSE(cellHasPixels(4, 2));  // empty cell: only black background (no stars yet)
}
