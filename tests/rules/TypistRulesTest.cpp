#include <gtest/gtest.h>

#include "rules/Rules.h"
#include "words/WordFixture.h"

namespace {

class TTestBonus : public TBonusWord {
 public:
  void CreateBonus() override { CreateFromText("GIFT", 3, DirFalling, nullptr); }
  void Reward() override {}
};

// Counts the letter keys that hit nothing, as the typing record does.
class TMissCount : public TGameObserver {
 public:
  int Misses = 0;
  void KeyTyped(const TKeyTyped& e) override { Misses += !e.Hit && e.Key >= 'A' && e.Key <= 'Z' ? 1 : 0; }
};

class TypistRulesTest : public WordFixture {
 protected:
  void SetUp() override {
    WordFixture::SetUp();
    form->Rules = MakeRules(TRulesKind::Typist);
    form->Events.Add(misses);
  }
  void TearDown() override {
    form->Events.Remove(misses);
    WordFixture::TearDown();
  }
  void Type(char key) {
    form->KeyDown(static_cast<uint16_t>(key), {});
    form->KeyUp(static_cast<uint16_t>(key), {});
  }
  const TSpriteWord* Target() { return form->Rules->Target(); }
  TMissCount misses;
};

TEST_F(TypistRulesTest, TheLockGoesToTheNearestMatchingWordOrBulletThenToABonusWord) {
  TSpriteWord* cat = AddWord("CAT", {400, 200});
  TSpriteWord* cow = AddWord("COW", {300, 300});
  TSpriteWord* bullet = AddBullet("C", {200, 250}, nullptr);
  Type('C');
  EXPECT_EQ(bullet->Text, "");
  EXPECT_EQ(cat->Text, "CAT");
  EXPECT_EQ(cow->Text, "COW");
  EXPECT_EQ(Target(), nullptr);  // typed out: the lock is over
  Type('C');
  EXPECT_EQ(cow->Text, "OW");
  EXPECT_EQ(cat->Text, "CAT");
  EXPECT_EQ(Target(), cow);

  auto gift = std::make_unique<TTestBonus>();
  gift->CreateBonus();
  gift->PlaceAt({600, 100});
  TSpriteWord* bonus = static_cast<TSpriteWord*>(form->BonusWords->Add(std::move(gift)));
  Type('O');
  Type('W');
  Type('G');  // no attack word starts with G
  EXPECT_EQ(bonus->Text, "IFT");
  EXPECT_EQ(Target(), bonus);
  EXPECT_EQ(misses.Misses, 0);
}

TEST_F(TypistRulesTest, AMissHitsNothingAndHurriesTheLockedWord) {
  TSpriteWord* cow = AddWord("COW", {300, 300}, 1);
  TSpriteWord* ape = AddWord("APE", {200, 200});
  Type('C');
  Type('A');  // APE is nearer, but the keys belong to COW now
  Type('Q');
  EXPECT_EQ(ape->Text, "APE");
  EXPECT_EQ(cow->Text, "OW");
  EXPECT_EQ(cow->SpeedTier, 2);  // typing slowed it to 0, two misses sped it up
  EXPECT_EQ(misses.Misses, 2);
  Type('7');  // not a letter: neither a miss nor the end of the lock
  EXPECT_EQ(misses.Misses, 2);
  EXPECT_EQ(Target(), cow);
}

TEST_F(TypistRulesTest, TheLockEndsWhenItsWordIsBombedOrLeavesAndTheNextLetterLocksAnew) {
  TSpriteWord* cow = AddWord("COW", {300, 300});
  Type('C');
  form->Bombs = 1;
  form->KeyDown(vk::Space, {});
  EXPECT_EQ(Target(), nullptr);
  Frame();  // the burst words go

  TSpriteWord* far = AddWord("DOG", {500, 300});
  TSpriteWord* near = AddWord("DIM", {400, 200});
  Type('D');
  EXPECT_EQ(Target(), near);
  Attack().Remove(near);  // gone off the screen
  Type('O');  // no lock and no word starts with O: a miss
  EXPECT_EQ(misses.Misses, 1);
  Type('D');
  EXPECT_EQ(far->Text, "OG");
  (void)cow;
}

TEST(StepInterval, TheNormalPaceIsTheGameAsBuiltAndOthersScaleEveryTier) {
  for (int t = 0; t < SpeedTiers; ++t)
    EXPECT_EQ(TWordList::StepInterval(t, 100), static_cast<uint32_t>(StepIntervals[static_cast<size_t>(t)]));
  EXPECT_EQ(TWordList::StepInterval(0, 75), 120u);
  EXPECT_EQ(TWordList::StepInterval(1, 125), 56u);
  EXPECT_EQ(TWordList::StepInterval(5, 125), 1u);
}

}  // namespace
