#include <gtest/gtest.h>

#include "rules/TypistRules.h"
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
    session->Settings().Rules = "Typist";
    session->GameStarting();
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
  const TSpriteWord* Target() { return session->Rules()->Target(); }
  TSpriteWord* AddBonus(int x, int y) {
    auto gift = std::make_unique<TTestBonus>();
    gift->CreateBonus();
    gift->PlaceAt({x, y});
    return static_cast<TSpriteWord*>(form->BonusWords->Add(std::move(gift)));
  }
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

  TSpriteWord* bonus = AddBonus(600, 100);
  Type('O');
  Type('W');
  Type('G');  // no attack word starts with G
  EXPECT_EQ(bonus->Text, "IFT");
  EXPECT_EQ(Target(), bonus);
  EXPECT_EQ(misses.Misses, 0);
}

// A far attack word once stole the lock (and the bonus) from a falling bonus word sharing its first letter.
TEST_F(TypistRulesTest, AFallingBonusWordTakesASharedFirstLetterUnlessTheAttackWordIsCloseToTheCastle) {
  TSpriteWord* bonus = AddBonus(400, 100);
  TSpriteWord* far = AddWord("GOAT", {600, 300});
  Type('G');
  EXPECT_EQ(Target(), bonus);
  EXPECT_EQ(far->Text, "GOAT");
  for (char key : {'I', 'F', 'T'}) Type(key);
  EXPECT_EQ(misses.Misses, 0);

  bonus = AddBonus(400, 100);
  TSpriteWord* near = AddWord("GRIM", {200, 300});
  Type('G');
  EXPECT_EQ(Target(), near);
  EXPECT_EQ(bonus->Text, "GIFT");
}

TEST_F(TypistRulesTest, AMissHitsNothingAndARunOfMissesHurriesTheLockedWord) {
  TSpriteWord* cow = AddWord("COW", {300, 300}, 1);
  TSpriteWord* ape = AddWord("APE", {200, 200});
  Type('C');  // typing slows it to tier 0
  Type('A');  // APE is nearer, but the keys belong to COW now
  EXPECT_EQ(cow->SpeedTier, 0);  // a lone slip
  Type('Q');
  Type('Z');
  EXPECT_EQ(ape->Text, "APE");
  EXPECT_EQ(cow->Text, "OW");
  EXPECT_EQ(cow->SpeedTier, 2);
  EXPECT_EQ(misses.Misses, 3);
  Type('7');  // not a letter: neither a miss nor the end of the lock
  EXPECT_EQ(misses.Misses, 3);
  EXPECT_EQ(Target(), cow);
}

TEST_F(TypistRulesTest, TheLockEndsWhenItsWordIsBombedOrLeavesAndTheNextLetterLocksAnew) {
  AddWord("COW", {300, 300});
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
}

}  // namespace
