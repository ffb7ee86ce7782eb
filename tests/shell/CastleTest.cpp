#include "support/GameFixture.h"
#include "words/WordUnit.h"

class CastleTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    form->BuildCastle();
  }
  int Standing() const {
    int n = 0;
    for (int c = 0; c < CastleColumns; ++c)
      for (int r = 0; r < CastleRows; ++r) n += State(c, r) >= 1 && State(c, r) <= 4;
    return n;
  }
  int State(int c, int r) const { return static_cast<int>(form->Castle[c][r].State); }
};

TEST_F(CastleTest, NewCastleHas112CellsTwoArchesAndNothingDamaged) {
  EXPECT_EQ(form->CastleTop(), 104);
  EXPECT_EQ(Standing(), 112);
  EXPECT_EQ(State(2, 3), 2);
  EXPECT_EQ(State(1, 15), 2);
  EXPECT_EQ(State(2, 4), 0);
  EXPECT_EQ(State(1, 17), 0);
  for (int r = 0; r < CastleRows; ++r) EXPECT_EQ(State(5, r), 0) << r;
  EXPECT_FALSE(form->AnyBrickDamaged());
  EXPECT_EQ(form->RepairBricks(false), (TPoint{-1, -1}));
  EXPECT_EQ(Standing(), 112);
}

TEST_F(CastleTest, ThreeHitsDestroyABrickAndTheFourthChangesNothing) {
  TPlayStats& seen = Watch();
  TPoint cell{0, 10};
  form->HitBrick(cell);
  EXPECT_EQ(State(0, 10), 3);
  form->HitBrick(cell);
  EXPECT_EQ(State(0, 10), 4);
  form->HitBrick(cell);
  EXPECT_EQ(State(0, 10), 5);
  form->HitBrick(cell);
  EXPECT_EQ(State(0, 10), 5);
  // Empty cells and cells outside the grid take no hit.
  form->HitBrick({5, 3});
  EXPECT_EQ(State(5, 3), 0);
  form->HitBrick({6, 3});
  form->HitBrick({-1, 0});
  form->HitBrick({0, 29});
  EXPECT_EQ(Standing(), 111);
  EXPECT_EQ(seen.BricksLost, 1);
}

TEST_F(CastleTest, ArchGoesStraightToDamagedAndComesBackPlain) {
  form->HitBrick({2, 3});
  EXPECT_EQ(State(2, 3), 3);
  EXPECT_TRUE(form->AnyBrickDamaged());
  form->RepairBricks(true);
  EXPECT_EQ(State(2, 3), 1);
  EXPECT_FALSE(form->AnyBrickDamaged());
}

TEST_F(CastleTest, BrickCellAtLookupRules) {
  const int top = form->CastleTop();
  EXPECT_EQ(form->BrickCellAt(-40, top + 16 * 10), (TPoint{0, 10}));  // negative x: column 0
  EXPECT_EQ(form->BrickCellAt(15, top + 16 * 10), (TPoint{0, 10}));
  EXPECT_EQ(form->BrickCellAt(3, top - 15), (TPoint{0, 0}));  // truncation toward zero
  EXPECT_EQ(form->BrickCellAt(3, top - 16), (TPoint{-1, -1}));
  for (int x = 80; x < 96; ++x) EXPECT_EQ(form->BrickCellAt(x, top + 16 * 5), (TPoint{-1, -1}));
  form->HitBrick({3, 20});
  form->HitBrick({3, 20});
  form->HitBrick({3, 20});
  EXPECT_EQ(form->BrickCellAt(3 * 16 + 1, top + 20 * 16), (TPoint{-1, -1}));  // destroyed: words pass
  EXPECT_EQ(form->BrickCellAt(500, top), (TPoint{-1, -1}));
}

TEST_F(CastleTest, SingleRepairTakesLeftmostColumnTopmostCell) {
  form->HitBrick({2, 20});
  form->HitBrick({1, 25});
  form->HitBrick({1, 7});
  TPoint p = form->RepairBricks(false);
  EXPECT_EQ(p, (TPoint{16, form->CastleTop() + 7 * 16}));
  EXPECT_EQ(State(1, 7), 1);
  EXPECT_EQ(State(1, 25), 3);
  EXPECT_EQ(form->RepairBricks(false), (TPoint{16, form->CastleTop() + 25 * 16}));
}

TEST_F(CastleTest, ExplodingBurstsOnlyStandingCellsAndANewGameRebuilds) {
  for (int i = 0; i < 3; ++i) form->HitBrick({0, 0});
  form->HitBrick({0, 1});
  form->ExplodeCastle();
  EXPECT_EQ(Standing(), 0);
  EXPECT_EQ(State(0, 0), 5);  // destroyed cells are not burst again
  EXPECT_EQ(form->ExplodeItems->Count(), 111);
  form->BuildCastle();
  EXPECT_EQ(Standing(), 112);
}

TEST_F(CastleTest, DrawnOnTheGroundAtTheLeft) {
  StartGame();
  form->DrawBackground();
  form->DrawCastle();
  const TBitmap& img = *form->OffscreenImage;
  // Bricks are opaque pictures: a standing cell is never pure black all over.
  auto cellHasPixels = [&](int c, int r) {
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        if (img.Scanline(form->CastleTop() + r * 16 + y)[c * 16 + x] != 0) return true;
    return false;
  };
  EXPECT_TRUE(cellHasPixels(0, 28));
  EXPECT_TRUE(cellHasPixels(4, 1));
  EXPECT_FALSE(cellHasPixels(4, 2));  // empty cell: only black background (no stars yet)
}
