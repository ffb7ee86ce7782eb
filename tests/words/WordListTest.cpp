#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dictionary/DictionaryUnit.h"
#include "words/WordFixture.h"

namespace {

class WordListTest : public WordFixture {};

class TTestBonus : public TBonusWord {
 public:
  void CreateBonus() override { CreateFromText("GIFT", 3, DirFalling, nullptr); }
};

TEST_F(WordListTest, OnePressHitsEveryMatchingWordAndAKeyMatchingNothingChangesNothing) {
  TSpriteWord* cat = AddWord("CAT", {300, 200});
  TSpriteWord* cow = AddWord("COW", {500, 300});
  TSpriteWord* dog = AddWord("DOG", {400, 400});
  TPlayStats& seen = Watch();
  form->KeyDown('C', {});
  EXPECT_EQ(cat->Text, "AT");
  EXPECT_EQ(cow->Text, "OW");
  EXPECT_EQ(dog->Text, "DOG");
  form->KeyDown('Z', {});
  form->KeyDown('?', {});
  EXPECT_EQ(dog->Position, (TPoint{400, 400}));
  EXPECT_EQ(form->ExplodeItems->Count(), 2);
  EXPECT_EQ(seen.Keys, 3);
  EXPECT_EQ(seen.LettersTyped, 2);
}

TEST_F(WordListTest, OnePressTakesTheLeftmostBulletAndSparesItsCannon) {
  TSpriteWord* cannon = AddWord("ANT", {600, 200});
  TSpriteWord* farBullet = AddBullet("A", {500, 200}, cannon);
  TSpriteWord* nearBullet = AddBullet("A", {300, 200}, cannon);
  TSpriteWord* ape = AddWord("APE", {700, 300});
  Attack().KeyPressed('A');
  EXPECT_EQ(nearBullet->Text, "");
  EXPECT_EQ(farBullet->Text, "A");
  EXPECT_EQ(cannon->Text, "ANT");
  EXPECT_EQ(ape->Text, "PE");
  Attack().KeyPressed('A');
  EXPECT_EQ(farBullet->Text, "");
  EXPECT_EQ(cannon->Text, "ANT");
  Attack().KeyPressed('A');  // no bullet left: now the cannon takes it
  EXPECT_EQ(cannon->Text, "NT");

  // A bullet whose cannon is gone spares nobody, even a word that took the
  // cannon's place in memory.
  AddBullet("A", {100, 200}, cannon);
  Attack().Remove(cannon);
  TSpriteWord* next = AddWord("ARM", {650, 250});
  Attack().KeyPressed('A');
  EXPECT_EQ(next->Text, "RM");
}

TEST_F(WordListTest, DuringASalvoEachListLetsOnlyItsLeftmostMatchingWordTakeTheKey) {
  TTestWave& wave = UseTestWave();
  wave.SalvoWords = std::make_unique<std::vector<std::string>>(std::vector<std::string>{"A"});
  TSpriteWord* a1 = AddWord("A", {500, 200});
  TSpriteWord* a2 = AddWord("A", {300, 250});
  TSpriteWord* a3 = AddWord("A", {300, 300});  // same x as a2, later in the list
  TSpriteWord* bullet = AddBullet("B", {200, 200}, nullptr);
  TSpriteWord* bee = AddWord("BEE", {100, 350});
  Attack().KeyPressed('A');
  EXPECT_EQ(a2->Text, "");
  EXPECT_EQ(a3->Text, "A");
  Attack().KeyPressed('A');
  EXPECT_EQ(a3->Text, "");
  EXPECT_EQ(a1->Text, "A");
  Attack().KeyPressed('B');  // bullets are candidates like any word
  EXPECT_EQ(bee->Text, "EE");
  EXPECT_EQ(bullet->Text, "B");

  auto bonus = std::make_unique<TTestBonus>();
  bonus->CreateBonus();
  auto* gift = static_cast<TSpriteWord*>(form->BonusWords->Add(std::move(bonus)));
  TSpriteWord* go = AddWord("GO", {600, 400});
  form->BonusWords->KeyPressed('G');
  Attack().KeyPressed('G');
  EXPECT_EQ(gift->Text, "IFT");
  EXPECT_EQ(go->Text, "O");
}

TEST_F(WordListTest, TopmostSkipsBulletsAndCountedWordsSkipBonusWords) {
  AddBullet("Q", {100, 100}, nullptr);
  AddWord("QUIZ", {300, 200});
  AddWord("QUAY", {300, 150});
  AddWord("TOP", {400, 150});
  EXPECT_EQ(Attack().TopmostIndex(), 2);
  EXPECT_EQ(Attack().FindTarget('Q', false), 0);
  Attack().Words(0)->Text.clear();
  EXPECT_EQ(Attack().FindTarget('Q', false), 1);  // equal x: the earlier one
  EXPECT_EQ(Attack().FindTarget('Q', true), -1);
  auto bonus = std::make_unique<TTestBonus>();
  bonus->CreateBonus();
  Attack().Add(std::move(bonus));
  EXPECT_EQ(Attack().CountedWords(), 4);
}

TEST_F(WordListTest, ARowIsBusyUnderAWordStillEnteringIncludingTheRowBelow) {
  int32_t y = CastleTop() + 16 * 10;
  TSpriteWord* w = AddWord("ENTER", {PlayfieldWidth, y});
  EXPECT_FALSE(Attack().AnyToType());
  w->PlaceAt({790, y});
  EXPECT_TRUE(Attack().AnyToType());
  EXPECT_FALSE(Attack().RowBusy(y - 1));
  EXPECT_TRUE(Attack().RowBusy(y));
  EXPECT_TRUE(Attack().RowBusy(y + 16));
  EXPECT_FALSE(Attack().RowBusy(y + 17));
  w->Scale = 2;
  EXPECT_TRUE(Attack().RowBusy(y + 32));
  w->PlaceAt({800 - w->TextWidthAt("ENTER"), y});  // its last column is off screen
  EXPECT_TRUE(Attack().RowBusy(y));
  w->PlaceAt({799 - w->TextWidthAt("ENTER"), y});  // fully on screen: out of the way
  EXPECT_FALSE(Attack().RowBusy(y));
}

TEST_F(WordListTest, EachTierStepsOnItsOwnTimerAndAGoneWordIsCountedOff) {
  TTestWave& wave = UseTestWave();
  wave.WordsLeft = 5;
  AddWord("GONE", {400, 100}, 3)->Text.clear();
  std::vector<TSpriteWord*> words;
  for (uint8_t t = 0; t < SpeedTiers; ++t) words.push_back(AddWord("PACE", {790, 150 + 30 * t}, t));
  // Milliseconds between a word's moves, and the size of each move.
  std::vector<std::set<uint32_t>> gaps(SpeedTiers), moves(SpeedTiers);
  std::vector<uint32_t> lastMove(SpeedTiers, 0);
  for (int ms = 0; ms < 300; ++ms) {
    std::vector<int32_t> before;
    for (TSpriteWord* w : words) before.push_back(w->Position.X);
    Frame(1);
    for (size_t t = 0; t < words.size(); ++t) {
      if (words[t]->Position.X == before[t]) continue;
      moves[t].insert(static_cast<uint32_t>(before[t] - words[t]->Position.X));
      if (lastMove[t] != 0) gaps[t].insert(Now() - lastMove[t]);
      lastMove[t] = Now();
    }
  }
  EXPECT_EQ(Attack().Count(), SpeedTiers);
  EXPECT_EQ(wave.WordsLeft, 4);
  const uint32_t pace[SpeedTiers] = {90, 70, 50, 30, 10, 1};
  for (size_t t = 0; t < words.size(); ++t) {
    EXPECT_EQ(gaps[t], std::set<uint32_t>{pace[t]}) << "tier " << t;
    EXPECT_EQ(moves[t], std::set<uint32_t>{2}) << "tier " << t;
  }
}

TEST_F(WordListTest, KillAllBurstsAndRewardsEveryWordButLeavesTheRemovalToTheNextPass) {
  TTestWave& wave = UseTestWave();
  wave.WordsLeft = 10;
  AddWord("ONE", {300, 200});
  AddWord("FOUR", {400, 300});
  AddBullet("X", {500, 400}, nullptr);
  Attack().KillAll();
  EXPECT_EQ(Attack().Count(), 3);
  EXPECT_EQ(form->Score, 70);
  EXPECT_EQ(form->ExplodeItems->Count(), 8);
  Frame();
  EXPECT_EQ(Attack().Count(), 0);
  EXPECT_EQ(wave.WordsLeft, 8);  // the bullet never counted
}

// ---- New attacking words ----

// The words come from the game's own bundled list.
using SpawnTest = WordListTest;

TEST_F(SpawnTest, NoChanceMeansNeverVerticalNorHiddenAndChanceOneMeansAlways) {
  TTestWave& wave = UseTestWave();
  for (int chance : {0, 1}) {
    wave.VerticalChance = chance;
    wave.HiddenLetterChance = chance;
    for (int i = 0; i < 200; ++i) {
      Attack().SpawnWord();
      ASSERT_EQ(Attack().Count(), 1);
      const TSpriteWord* w = Attack().Words(0);
      EXPECT_EQ(w->Vertical, chance == 1);
      EXPECT_EQ(w->Text.find('?') != std::string::npos, chance == 1) << w->Text;
      EXPECT_EQ(w->Position.X, 797);
      Attack().RemoveAll();
    }
  }
}

TEST_F(SpawnTest, WhenEveryRowIsBusyNothingChanges) {
  TTestWave& wave = UseTestWave();
  wave.WordsLeft = 7;
  TSpriteWord* wall = AddWord("WALL", {795, CastleTop() + 32});
  wall->Scale = 27;  // rows 2 to 29 while it enters
  Attack().SpawnWord();
  EXPECT_EQ(Attack().Count(), 1);
  EXPECT_EQ(Attack().Words(0), wall);
  EXPECT_EQ(wave.WordsLeft, 7);
}

// Dictionary entry, kind entries, tier, vertical roll, hidden roll and place,
// row: replaying the generator in that order predicts the word exactly.
TEST_F(SpawnTest, TheRandomDrawsComeInTheirFixedOrder) {
  TTestWave& wave = UseTestWave();
  wave.SetTierLimits(20, 80, 100, 0);
  wave.VerticalChance = 2;
  wave.HiddenLetterChance = 2;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    RandSeed(seed);
    std::string full = UpperCaseAscii(form->Dictionary->Items(Random(form->Dictionary->Count()))->Text);
    int32_t r = Random(100) + 1;
    int tier = (r >= 20 && r <= 80) ? 1 : (r > 80) ? 2 : 0;
    bool vertical = Random(2) == 0;
    std::string text = full;
    if (Random(2) == 0) text[static_cast<size_t>(Random(static_cast<int32_t>(text.size()) - 1))] = '?';
    int32_t lastRow = 28 - (vertical ? static_cast<int32_t>(text.size()) + 1 : 0);
    int32_t row = 2 + Random(lastRow - 1);

    RandSeed(seed);
    Attack().SpawnWord();
    ASSERT_EQ(Attack().Count(), 1) << seed;
    TSpriteWord* w = Attack().Words(0);
    EXPECT_EQ(w->FullText, full) << seed;
    EXPECT_EQ(w->Text, text) << seed;
    EXPECT_EQ(w->SpeedTier, tier) << seed;
    EXPECT_EQ(w->Vertical, vertical) << seed;
    EXPECT_EQ(w->Position.Y, CastleTop() + 16 * row) << seed;
    Attack().RemoveAll();
  }
}

}  // namespace
