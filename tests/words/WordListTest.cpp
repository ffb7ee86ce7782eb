#include <gtest/gtest.h>

#include <set>

#include "dictionary/DictionaryUnit.h"
#include "words/WordFixture.h"

namespace {

class WordListTest : public WordFixture {};

// A kind a wave's table can name.
class TTestKindWord : public TSpriteWord {
  DECLARE_WORD_KIND
};
const TWordKind& TTestKindWord::ClassRef() {
  static const TWordKindOf<TTestKindWord> kind("TTestKindWord", &TSpriteWord::ClassRef());
  return kind;
}

class TTestBonus : public TBonusWord {
 public:
  void CreateBonus() override { CreateFromText("GIFT", 3, DirFalling, nullptr); }
};

TEST_F(WordListTest, OnePressHitsEveryWordWhoseNextLetterMatches) {
  TSpriteWord* cat = AddWord("CAT", {300, 200});
  TSpriteWord* cow = AddWord("COW", {500, 300});
  TSpriteWord* dog = AddWord("DOG", {400, 400});
  Attack().KeyPressed('C');
  EXPECT_EQ(cat->Text, "AT");
  EXPECT_EQ(cow->Text, "OW");
  EXPECT_EQ(dog->Text, "DOG");
  EXPECT_EQ(form->ExplodeItems->Count(), 2);
}

TEST_F(WordListTest, AKeyThatMatchesNothingChangesNothing) {
  TSpriteWord* cat = AddWord("CAT", {300, 200}, 2);
  Attack().KeyPressed('Z');
  Attack().KeyPressed('?');
  EXPECT_EQ(cat->Text, "CAT");
  EXPECT_EQ(cat->Position, (TPoint{300, 200}));
  EXPECT_EQ(cat->SpeedTier, 2);
  EXPECT_EQ(form->ExplodeItems->Count(), 0);
  EXPECT_EQ(form->Stats.LettersTyped, 0);
}

TEST_F(WordListTest, OnePressTakesTheLeftmostBulletAndSparesItsCannon) {
  TSpriteWord* cannon = AddWord("ANT", {600, 200});
  TSpriteWord* farBullet = AddBullet("A", {500, 200}, cannon);
  TSpriteWord* nearBullet = AddBullet("A", {300, 200}, cannon);
  TSpriteWord* ape = AddWord("APE", {700, 300});

  Attack().KeyPressed('A');
  EXPECT_EQ(nearBullet->Text, "");
  EXPECT_EQ(farBullet->Text, "A");
  EXPECT_EQ(cannon->Text, "ANT");  // spared on this press
  EXPECT_EQ(ape->Text, "PE");      // any other word is hit as usual
  EXPECT_EQ(form->Score, 0);       // a bullet pays nothing

  Attack().KeyPressed('A');
  EXPECT_EQ(farBullet->Text, "");
  EXPECT_EQ(cannon->Text, "ANT");

  Attack().KeyPressed('A');  // no bullet left: the cannon takes the key
  EXPECT_EQ(cannon->Text, "NT");
}

TEST_F(WordListTest, ABulletOfAGoneCannonSparesNoNewWord) {
  TSpriteWord* cannon = AddWord("AXE", {600, 200});
  AddBullet("A", {300, 200}, cannon);
  Attack().Delete(0);  // the cannon is gone; a new word may reuse its memory
  TSpriteWord* next = AddWord("ARM", {650, 250});
  Attack().KeyPressed('A');
  EXPECT_EQ(next->Text, "RM");
}

TEST_F(WordListTest, DuringASalvoOnlyTheLeftmostMatchingWordTakesTheKey) {
  TTestWave& wave = UseTestWave();
  wave.SalvoWords = std::make_unique<std::vector<std::string>>(std::vector<std::string>{"A"});
  TSpriteWord* a1 = AddWord("A", {500, 200});
  TSpriteWord* a2 = AddWord("A", {300, 250});
  TSpriteWord* a3 = AddWord("A", {300, 300});  // same x as a2, later in the list
  TSpriteWord* bullet = AddBullet("B", {200, 200}, nullptr);
  TSpriteWord* bee = AddWord("BEE", {100, 350});

  Attack().KeyPressed('A');
  EXPECT_EQ(a1->Text, "A");
  EXPECT_EQ(a2->Text, "");
  EXPECT_EQ(a3->Text, "A");
  Attack().KeyPressed('A');
  EXPECT_EQ(a3->Text, "");
  EXPECT_EQ(a1->Text, "A");

  // Bullets are candidates like any word; the leftmost wins.
  Attack().KeyPressed('B');
  EXPECT_EQ(bee->Text, "EE");
  EXPECT_EQ(bullet->Text, "B");

  // Each list judges the key on its own.
  auto bonus = std::make_unique<TTestBonus>();
  bonus->CreateBonus();
  bonus->PlaceAt({400, 60});
  TSpriteWord* gift = static_cast<TSpriteWord*>(form->BonusWords->Add(std::move(bonus)));
  AddWord("GO", {600, 400});
  form->BonusWords->KeyPressed('G');
  Attack().KeyPressed('G');
  EXPECT_EQ(gift->Text, "IFT");
  EXPECT_EQ(Attack().Words(Attack().LastIndex())->Text, "O");
}

TEST_F(WordListTest, TargetsAndTopmostAndCountedWords) {
  TSpriteWord* bullet = AddBullet("Q", {100, 100}, nullptr);
  AddWord("QUIZ", {300, 200});
  AddWord("QUAY", {300, 150});
  EXPECT_EQ(Attack().FindTarget('Q', false), 0);
  EXPECT_EQ(Attack().FindTarget('Q', true), 0);
  EXPECT_EQ(Attack().FindTarget('U', false), -1);
  bullet->Text.clear();
  EXPECT_EQ(Attack().FindTarget('Q', false), 1);  // equal x: the earlier one
  EXPECT_EQ(Attack().FindTarget('Q', true), -1);

  EXPECT_EQ(Attack().TopmostIndex(), 2);  // the bullet is higher but not counted
  AddWord("TOP", {400, 150});
  EXPECT_EQ(Attack().TopmostIndex(), 2);

  auto bonus = std::make_unique<TTestBonus>();
  bonus->CreateBonus();
  Attack().Add(std::move(bonus));
  EXPECT_EQ(Attack().CountedWords(), 4);  // bullets count, bonus words do not

  TWordList empty;
  EXPECT_EQ(empty.TopmostIndex(), -1);
  EXPECT_EQ(empty.FindTarget('A', false), -1);
  EXPECT_EQ(empty.CountedWords(), 0);
}

TEST_F(WordListTest, ARowIsBusyUnderAWordStillEnteringIncludingTheRowBelow) {
  int32_t y = CastleTop() + 16 * 10;
  TSpriteWord* w = AddWord("ENTER", {790, y});
  EXPECT_FALSE(Attack().RowBusy(y - 1));
  EXPECT_TRUE(Attack().RowBusy(y));
  EXPECT_TRUE(Attack().RowBusy(y + 16));
  EXPECT_FALSE(Attack().RowBusy(y + 17));
  w->Scale = 2;
  EXPECT_TRUE(Attack().RowBusy(y + 32));
  EXPECT_FALSE(Attack().RowBusy(y + 33));
  w->PlaceAt({100, y});  // fully on screen: no longer in the way
  EXPECT_FALSE(Attack().RowBusy(y));
}

TEST_F(WordListTest, EachTierStepsOnItsOwnTimerAllItsWordsTogether) {
  TSpriteWord* slow = AddWord("SLOW", {600, 200}, 1);
  TSpriteWord* fast = AddWord("FAST", {600, 300}, 3);
  TSpriteWord* fast2 = AddWord("ALSO", {600, 400}, 3);
  Frame(10);  // the first pass of every tier is due at once
  for (int i = 0; i < 21; ++i) Frame(10);  // 210 ms more
  // Tier 3 every 30 ms: 1 + 7 steps; tier 1 every 70 ms: 1 + 3 steps; 2 px each.
  EXPECT_EQ(fast->Position.X, 600 - 2 * 8);
  EXPECT_EQ(fast2->Position.X, 600 - 2 * 8);
  EXPECT_EQ(slow->Position.X, 600 - 2 * 4);
}

TEST_F(WordListTest, ARemovalDuringAPassStillStepsTheWordThatFollows) {
  TTestWave& wave = UseTestWave();
  wave.WordsLeft = 5;
  TSpriteWord* gone = AddWord("GONE", {400, 200}, 2);
  TSpriteWord* next = AddWord("NEXT", {400, 300}, 2);
  gone->Text.clear();
  Frame();
  EXPECT_EQ(Attack().Count(), 1);
  EXPECT_EQ(Attack().Words(0), next);
  EXPECT_EQ(next->Position.X, 398);
  EXPECT_EQ(wave.WordsLeft, 4);
}

TEST_F(WordListTest, KillAllBurstsAndRewardsEveryWordButRemovesNone) {
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

class SpawnTest : public WordListTest {
 protected:
  void SetUp() override {
    WordListTest::SetUp();
    // A small dictionary of the test's own.
    std::string path = testing::TempDir() + "glyphfall-spawn-words.txt";
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs("alpha\nbravo\ncharlie\ndelta\necho\n", f);
    std::fclose(f);
    form->Dictionary = std::make_unique<TDictionary>(path);
    std::remove(path.c_str());
  }
};

TEST_F(SpawnTest, AWordEntersAtTheRightEdgeOnAFreeRowInTheWavesTier) {
  TTestWave& wave = UseTestWave();
  wave.SetTierLimits(0, 0, 0, 100);  // always tier 3
  Attack().SpawnWord();
  ASSERT_EQ(Attack().Count(), 1);
  TSpriteWord* w = Attack().Words(0);
  EXPECT_EQ(w->Position.X, 797);
  EXPECT_EQ((w->Position.Y - CastleTop()) % 16, 0);
  EXPECT_GE(w->Position.Y, CastleTop() + 32);
  EXPECT_LE(w->Position.Y, CastleTop() + 16 * 28);
  EXPECT_EQ(w->SpeedTier, 3);
  EXPECT_EQ(w->Direction, DirLeft);
  EXPECT_TRUE(form->Dictionary->Contains(w->Text));
  EXPECT_EQ(w->Text, w->FullText);
}

TEST_F(SpawnTest, WithoutAWaveTheWordIsPlainAndSlowest) {
  Attack().SpawnWord();
  ASSERT_EQ(Attack().Count(), 1);
  EXPECT_EQ(Attack().Words(0)->SpeedTier, 0);
  EXPECT_FALSE(Attack().Words(0)->Vertical);
}

TEST_F(SpawnTest, NoChanceMeansNeverVerticalNorHiddenAndChanceOneMeansAlways) {
  TTestWave& wave = UseTestWave();
  wave.VerticalChance = 0;
  wave.HiddenLetterChance = 0;
  for (int i = 0; i < 200; ++i) {
    Attack().SpawnWord();
    ASSERT_EQ(Attack().Count(), 1);
    EXPECT_FALSE(Attack().Words(0)->Vertical);
    EXPECT_EQ(Attack().Words(0)->Text.find('?'), std::string::npos);
    Attack().RemoveAll();
  }
  wave.VerticalChance = 1;
  wave.HiddenLetterChance = 1;
  std::set<size_t> places;
  for (int i = 0; i < 300; ++i) {
    Attack().SpawnWord();
    ASSERT_EQ(Attack().Count(), 1);
    TSpriteWord* w = Attack().Words(0);
    EXPECT_TRUE(w->Vertical);
    size_t q = w->Text.find('?');
    ASSERT_NE(q, std::string::npos);
    EXPECT_EQ(w->Text.find('?', q + 1), std::string::npos);
    if (w->Text.size() > 1) {
      EXPECT_LT(q, w->Text.size() - 1) << w->Text;  // never the last letter
    }
    EXPECT_TRUE(w->MatchesKey(static_cast<uint16_t>(w->FullText[0])));
    // A stacked word's whole height stays above the ground.
    int32_t rows = static_cast<int32_t>(w->Text.size()) + 1;
    EXPECT_LE((w->Position.Y - CastleTop()) / 16, 28 - rows);
    places.insert(q);
    Attack().RemoveAll();
  }
  EXPECT_GE(places.size(), 4u);  // every place but the last comes up
}

TEST_F(SpawnTest, AOneLetterWordHidesAsALoneQuestionMark) {
  TTestWave& wave = UseTestWave();
  wave.HiddenLetterChance = 1;
  int lone = 0;
  for (int i = 0; i < 400; ++i) {
    Attack().SpawnWord();
    TSpriteWord* w = Attack().Words(0);
    if (w->FullText.size() == 1) {
      EXPECT_EQ(w->Text, "?");
      EXPECT_TRUE(w->MatchesKey(static_cast<uint16_t>(w->FullText[0])));
      ++lone;
    }
    Attack().RemoveAll();
  }
  EXPECT_GT(lone, 0);
}

TEST_F(SpawnTest, WhenEveryRowIsBusyNothingChanges) {
  TTestWave& wave = UseTestWave();
  wave.WordsLeft = 7;
  TSpriteWord* wall = AddWord("WALL", {795, CastleTop() + 32});
  wall->Scale = 27;  // spans rows 2 to 29 while it enters
  uint32_t before = RandSeedValue();
  Attack().SpawnWord();
  EXPECT_EQ(Attack().Count(), 1);
  EXPECT_EQ(Attack().Words(0), wall);
  EXPECT_EQ(wave.WordsLeft, 7);
  EXPECT_NE(RandSeedValue(), before);  // the word was drawn, then dropped
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
    const TWord& entry = *form->Dictionary->Items(Random(form->Dictionary->Count()));
    int32_t r = Random(100) + 1;
    uint8_t tier = (r >= 20 && r <= 80) ? 1 : (r >= 80 && r <= 100) ? 2 : 0;
    bool vertical = Random(2) == 0;
    std::string text = UpperCaseAscii(entry.Text);
    if (Random(2) == 0) text[static_cast<size_t>(Random(static_cast<int32_t>(text.size()) - 1))] = '?';
    int32_t last = 28 - (vertical ? static_cast<int32_t>(text.size()) + 1 : 0);
    int32_t row = 2 + Random(last - 1);

    RandSeed(seed);
    Attack().SpawnWord();
    ASSERT_EQ(Attack().Count(), 1) << seed;
    TSpriteWord* w = Attack().Words(0);
    EXPECT_EQ(w->FullText, UpperCaseAscii(entry.Text)) << seed;
    EXPECT_EQ(w->Text, text) << seed;
    EXPECT_EQ(w->SpeedTier, tier) << seed;
    EXPECT_EQ(w->Vertical, vertical) << seed;
    EXPECT_EQ(w->Position.Y, CastleTop() + 16 * row) << seed;
    Attack().RemoveAll();
  }
}

TEST_F(SpawnTest, AKindEntryThatIsAlwaysTakenMakesEveryWordOfItsKind) {
  TTestWave& wave = UseTestWave();
  wave.WordTypes.Add(std::make_unique<TWordType>(&TTestKindWord::ClassRef(), 1));
  for (int i = 0; i < 20; ++i) {
    Attack().SpawnWord();
    ASSERT_EQ(Attack().Count(), 1);
    EXPECT_TRUE(TTestKindWord::ClassRef().IsKindOf(*Attack().Words(0)));
    EXPECT_TRUE(TSpriteWord::ClassRef().IsKindOf(*Attack().Words(0)));
    Attack().RemoveAll();
  }
  EXPECT_TRUE(TTestKindWord::ClassRef().InheritsFrom(&TSpriteWord::ClassRef()));
  EXPECT_FALSE(TSpriteWord::ClassRef().InheritsFrom(&TTestKindWord::ClassRef()));
}

}  // namespace
