// A wave's bonus entries: when a bonus word may fall.
#include "waves/PlayFixture.h"

namespace {

class BonusEntryTest : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    Wave().Bonuses.Clear();
  }
  void After(uint32_t ms) {
    form->GameTime += ms;
    Wave().UpdateBonuses();
  }
};

}  // namespace

TEST_F(BonusEntryTest, EntryRenewsItsStampWhileItsKindIsOnScreen) {
  TBonus& entry = AddEntry(TBombWord::ClassRef(), 1000);
  AddBonus<TBombWord>(200);
  After(1000);
  EXPECT_EQ(entry.Stamp, Clock());
  EXPECT_EQ(Bonus().Count(), 1);

  // The word on screen leaves: the next one comes a full interval later.
  form->GameTime += 400;
  Bonus().Words(0)->Text.clear();
  Bonus().UpdateAll(form->Stage);
  EXPECT_EQ(Bonus().Count(), 0);
  EXPECT_EQ(entry.Stamp, Clock());
  EXPECT_EQ(Wave().WordsLeft, 10);  // a bonus word is not one of the wave's words
  After(999);
  EXPECT_EQ(Bonus().Count(), 0);
  After(1);
  ASSERT_EQ(Bonus().Count(), 1);
  EXPECT_TRUE(TBombWord::ClassRef().IsKindOf(*Bonus().Words(0)));
}

TEST_F(BonusEntryTest, CastleWordHoldsBackTheBrickEntryAndATopmostWordAtSixtySixHoldsBackAll) {
  form->HitBrick({0, 10});
  AddEntry(TBrickWord::ClassRef(), 1000);
  AddEntry(TCastleWord::ClassRef(), 1000);
  AddBonus<TCastleWord>(200);
  After(1000);
  EXPECT_EQ(Bonus().Count(), 1);

  Bonus().RemoveAll();
  AddBonus<TBrickWord>(200);
  After(1000);
  ASSERT_EQ(Bonus().Count(), 2);
  EXPECT_EQ(&Bonus().Words(1)->Kind(), &TCastleWord::ClassRef());

  // A bonus word still at the top holds every entry back.
  Bonus().RemoveAll();
  Wave().Bonuses.Clear();
  TBonus& entry = AddEntry(TSlowDownWord::ClassRef(), 1000);
  TBonusWord* falling = AddBonus<TRetreatWord>(66);
  const uint32_t stamp = entry.Stamp;
  After(1000);
  EXPECT_EQ(Bonus().Count(), 1);
  EXPECT_EQ(entry.Stamp, stamp);  // held back before its timer is even looked at

  falling->Position.Y = 67;
  After(10);
  EXPECT_EQ(Bonus().Count(), 2);
}

TEST_F(BonusEntryTest, BrickNeedsDamageAndBombNeedsARoomySlot) {
  TBonus& brick = AddEntry(TBrickWord::ClassRef(), 1000);
  After(1000);
  EXPECT_EQ(Bonus().Count(), 0);  // the castle is whole
  EXPECT_EQ(brick.Stamp, Clock());
  form->HitBrick({2, 20});
  After(1000);
  EXPECT_EQ(Bonus().Count(), 1);

  Bonus().RemoveAll();
  Wave().Bonuses.Clear();
  AddEntry(TBombWord::ClassRef(), 1000);
  form->Bombs = MaxBombs;
  After(1000);
  EXPECT_EQ(Bonus().Count(), 0);
  form->Bombs = MaxBombs - 1;
  After(1000);
  ASSERT_EQ(Bonus().Count(), 1);

  // A fourth bomb earned while it falls does not spoil it: typing gives a fifth.
  form->Bombs = MaxBombs;
  form->PressSpaceHints = 2;
  Type("BOMB");
  EXPECT_EQ(form->Bombs, MaxBombs + 1);
  EXPECT_EQ(form->PressSpaceHints, 0);
  ASSERT_EQ(form->ZoomItems->Count(), 1);
  EXPECT_EQ(form->ZoomItems->Items(0)->Position,
            (TPoint{320 - (MaxBombs + 1) * form->BombImage->Width(), form->HudValueY() + 6}));
}
