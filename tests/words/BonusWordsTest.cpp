// The bonus word kinds: how they fall and what they give.
#include <tuple>

#include "waves/PlayFixture.h"

TEST_F(PlayTest, BonusWordsStartRightOfTheCastleAndFallAtTierThree) {
  using TKind = std::tuple<const TWordKind*, const char*, TBitmap*>;
  for (auto [kind, text, icon] : {TKind{&TBrickWord::ClassRef(), "BRICK", form->BrickImage.get()},
                                  {&TCastleWord::ClassRef(), "CASTLE", form->GoldBrickImage.get()},
                                  {&TBombWord::ClassRef(), "BOMB", form->BombImage.get()},
                                  {&TSlowDownWord::ClassRef(), "SLOWDOWN", form->ClockImage.get()},
                                  {&TRetreatWord::ClassRef(), "RETREAT", form->BackImage.get()}}) {
    for (int i = 0; i < 50; ++i) {
      std::unique_ptr<TBonusWord> word = kind->CreateBonus();
      ASSERT_TRUE(word) << text;
      EXPECT_EQ(word->Text, text);
      EXPECT_EQ(word->Icon, icon);
      EXPECT_EQ(word->SpeedTier, 3);
      EXPECT_EQ(word->Direction, DirFalling);
      EXPECT_EQ(word->Position.Y, 50);
      EXPECT_GE(word->Position.X, 100);
      EXPECT_LT(word->Position.X, 100 + 800 - 96 - word->TextWidthAt(text));
      EXPECT_FALSE(word->MayTurnVertical);
      EXPECT_TRUE(TBonusWord::ClassRef().IsKindOf(*word));
    }
  }
  // The family itself is abstract: its class reference tests kinds only.
  EXPECT_EQ(TBonusWord::ClassRef().CreateBonus(), nullptr);
  EXPECT_EQ(TBonusWord::ClassRef().CreateFromText("X", 0, DirLeft, nullptr), nullptr);
  EXPECT_TRUE(TBrickWord::ClassRef().InheritsFrom(&TBonusWord::ClassRef()));
  EXPECT_FALSE(TBrickWord::ClassRef().InheritsFrom(&TCastleWord::ClassRef()));
}

TEST_F(PlayTest, TypedBrickWordRepairsTheFirstDamagedCellWithoutPointsOrSlowing) {
  form->HitBrick({1, 7});
  form->HitBrick({1, 3});
  form->HitBrick({2, 2});
  TBonusWord* brick = AddBonus<TBrickWord>(200);
  Type("BRIC");
  EXPECT_EQ(brick->SpeedTier, 3);
  Press('K');
  EXPECT_EQ(form->Castle[1][3].State, TBrickState::Brick);
  EXPECT_TRUE(form->Castle.IsDamaged(1, 7));
  EXPECT_TRUE(form->Castle.IsDamaged(2, 2));
  EXPECT_EQ(form->Score, 0);
  ASSERT_EQ(form->ScoreItems->Count(), 1);
  auto* plus = static_cast<TScoreItem*>(form->ScoreItems->Items(0));
  EXPECT_EQ(plus->Text, "+ ");
  EXPECT_EQ(plus->Picture, form->BrickImage.get());
  ASSERT_EQ(form->ZoomItems->Count(), 1);
  auto* zoom = static_cast<TZoomItem*>(form->ZoomItems->Items(0));
  EXPECT_EQ(zoom->Picture, form->BrickImage.get());
  EXPECT_EQ(zoom->Position, (TPoint{16, form->CastleTop() + 3 * 16}));
}

TEST_F(PlayTest, CastleWordRestoresEverythingAndAnnouncesItEvenWithNothingLeft) {
  form->HitBrick({0, 5});
  form->HitBrick({3, 20});
  AddBonus<TCastleWord>(200);
  Type("CASTLE");
  EXPECT_FALSE(form->AnyBrickDamaged());
  EXPECT_EQ(form->MessageText, "CASTLE RESTORED!");
  EXPECT_EQ(form->MessageColour, clBlue);

  form->MessageText.clear();
  AddBonus<TCastleWord>(200);
  Type("CASTLE");
  EXPECT_EQ(form->MessageText, "CASTLE RESTORED!");
  EXPECT_EQ(form->ZoomItems->Count(), 0);
}

TEST_F(PlayTest, SlowDownCalmsAndRetreatPushesBackEveryFullyVisibleAttackerButBullets) {
  TSpriteWord* flying = AddAttack("MOUSE", 3, {300, Row(5)});
  TSpriteWord* entering = AddAttack("BUG", 2, {797, Row(9)});
  TSpriteWord* bullet = AddBullet('Q', {500, Row(12)});
  AddBonus<TSlowDownWord>(200);
  Type("SLOWDOWN");
  EXPECT_EQ(flying->SpeedTier, 0);
  EXPECT_EQ(entering->SpeedTier, 0);
  EXPECT_EQ(bullet->SpeedTier, 4);
  EXPECT_EQ(flying->SpeedStamp, Clock());
  EXPECT_EQ(form->ScoreItems->Count(), 3);  // its own "+ " and one over each word slowed

  flying->SetSpeedTier(2);
  AddBonus<TRetreatWord>(200);
  Type("RETREAT");
  EXPECT_EQ(flying->Position.X + flying->TextWidthAt("MOUSE"), 800);
  EXPECT_EQ(flying->Position.Y, Row(5));
  EXPECT_EQ(flying->SpeedTier, 2);
  EXPECT_EQ(entering->Position.X, 797);
  EXPECT_EQ(bullet->Position.X, 500);
}

TEST_F(PlayTest, BonusWordOnTheGroundBurstsAndGivesNothing) {
  QuietStage();
  TBonus& entry = AddEntry(TBombWord::ClassRef(), 30000);
  TBonusWord* bomb = AddBonus<TBombWord>(200);
  int32_t ground = 600 - form->GroundImage->Height() - TextExtentAt(form->Canvas(), 14, "BOMB").cy;
  bomb->Position.Y = ground - 4;
  StepWords(30);
  ASSERT_EQ(Bonus().Count(), 1);  // two pixels short of the ground
  StepWords(30);
  EXPECT_EQ(Bonus().Count(), 0);
  EXPECT_GT(form->ExplodeItems->Count(), 0);
  EXPECT_EQ(form->Bombs, 0);
  EXPECT_EQ(form->Score, 0);
  EXPECT_EQ(form->ScoreItems->Count(), 0);
  EXPECT_EQ(entry.Stamp, Clock());
  EXPECT_EQ(Wave().WordsLeft, 10);
}
