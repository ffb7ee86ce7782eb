// The wave engine: release pacing, speed tiers, stages and wave ends.
#include <map>
#include <utility>

#include "waves/PlayFixture.h"

TEST_F(PlayTest, NewWaveWaitsTwoSecondsThenReleasesOneWordAtATime) {
  EXPECT_EQ(form->MessageText, "WAVE 1");
  EXPECT_EQ(form->MessageColour, clGreen);
  EXPECT_EQ(Wave().Stage, 0);
  EXPECT_EQ(Wave().WordsLeft, 10);
  Wave().Bonuses.Clear();

  RunFor(StagePause - 10);
  EXPECT_EQ(Attack().Count(), 0);
  Frame();
  ASSERT_EQ(Attack().Count(), 1);

  // MaxWords 1: the next word waits for this one to go.
  TSpriteWord* first = Attack().Words(0);
  const uint64_t firstSerial = first->Serial;
  RunFor(500);
  ASSERT_EQ(Attack().Count(), 1);
  EXPECT_EQ(Attack().Words(0)->Serial, firstSerial);
  EXPECT_EQ(Wave().WordsLeft, 10);

  Type(first->FullText);
  Settle();
  ASSERT_EQ(Attack().Count(), 1);
  EXPECT_NE(Attack().Words(0)->Serial, firstSerial);
  EXPECT_EQ(Wave().WordsLeft, 9);
}

TEST_F(PlayTest, MissilesCountAgainstMaxWordsAndWordsLeft) {
  QuietStage();

  // WordsLeft - CountedWords: one word left and one missile in flight.
  Wave().WordsLeft = 1;
  Wave().MaxWords = 5;
  AddBullet('Q', {600, Row(10)});
  RunFor(50);
  EXPECT_EQ(Attack().Count(), 1);

  // MaxWords: room for one counted word, taken by the missile.
  Wave().WordsLeft = 5;
  Wave().MaxWords = 1;
  RunFor(50);
  EXPECT_EQ(Attack().Count(), 1);

  Attack().RemoveAll();
  Frame();
  EXPECT_EQ(Attack().Count(), 1);
  EXPECT_FALSE(Attack().Words(0)->IsBullet());
}

// r = Random(100) + 1 is drawn by ChooseTier; replay the generator to know it.
static std::map<int, int> TiersByDraw(TWave& wave) {
  std::map<int, int> tiers;
  for (int i = 0; i < 3000; ++i) {
    uint32_t state = RandSeedValue();
    int r = Random(100) + 1;
    RandSeed(state);
    tiers[r] = wave.ChooseTier();
  }
  return tiers;
}

TEST_F(PlayTest, ChooseTierTestsInclusiveBoundsInOrder) {
  Wave().SetTierLimits(20, 40, 71, 100);
  std::map<int, int> tiers = TiersByDraw(Wave());
  ASSERT_EQ(tiers.size(), 100u);
  // On T2 tier 1 is tested first, on T3 tier 2.
  for (auto [r, tier] : {std::pair{1, 0}, {19, 0}, {20, 1}, {40, 1}, {41, 2}, {71, 2}, {72, 3}, {100, 3}})
    EXPECT_EQ(tiers[r], tier) << "r = " << r;

  Wave().SetTierLimits(0, 0, 0, 100);
  for (auto [r, tier] : TiersByDraw(Wave())) EXPECT_EQ(tier, 3) << "r = " << r;

  Wave().SetTierLimits(20, 80, 100, 0);
  for (auto [r, tier] : TiersByDraw(Wave())) EXPECT_NE(tier, 3) << "r = " << r;

  form->WavesLooped = true;
  for (auto [r, tier] : TiersByDraw(Wave())) EXPECT_EQ(tier, 3) << "r = " << r;
}

TEST_F(PlayTest, SkipKeyEndsTheCurrentStage) {
  Wave().Bonuses.Clear();
  RunFor(StagePause + 100);
  ASSERT_GT(Attack().CountedWords(), 0);

  Press('2');
  Settle();
  EXPECT_EQ(Wave().Stage, 1);
  EXPECT_TRUE(Wave().SalvoRunning());
  EXPECT_EQ(Wave().WordsLeft, 64);

  RunFor(StagePause + 100);
  ASSERT_GT(Attack().CountedWords(), 0);
  Press('2');
  Settle();
  EXPECT_EQ(form->WaveNumber, 2);
  EXPECT_EQ(form->MessageText, "WAVE 2");
  EXPECT_EQ(Wave().Stage, 0);
  EXPECT_EQ(Wave().WordsLeft, 20);
}

// The last word of a stage goes while a missile still flies: the stage waits
// for the screen to clear instead of the wave counting as complete (which
// skipped the salvo and let the following waves complete one per frame).
TEST_F(PlayTest, NeitherAStageEndsNorAWaveStartsWhileMissilesFly) {
  QuietStage();
  AddBullet('Q', {700, Row(10)});
  Wave().WordsLeft = 0;
  RunFor(300);
  EXPECT_EQ(form->WaveNumber, 1);
  EXPECT_EQ(Wave().Stage, 0);
  EXPECT_FALSE(Wave().IsComplete());

  Press('Q');
  Settle();
  EXPECT_EQ(form->WaveNumber, 1);
  EXPECT_EQ(Wave().Stage, 1);
  EXPECT_TRUE(Wave().SalvoRunning());

  // Nor does a wave start while one flies.
  Attack().RemoveAll();
  AddBullet('Q', {790, Row(10)});
  form->WaveNumber = 2;
  form->StartWave();
  Wave().Bonuses.Clear();
  RunFor(StagePause + 500);
  EXPECT_EQ(form->WaveNumber, 2);
  EXPECT_EQ(Wave().Stage, -1);
  Press('Q');
  Settle();
  EXPECT_EQ(Wave().Stage, 0);
  EXPECT_EQ(Wave().WordsLeft, 20);
}

TEST_F(PlayTest, NothingCompletesOrStartsAfterGameOver) {
  QuietStage();
  Wave().WordsLeft = 0;
  form->GameOver();
  const TWave* wave = form->CurrentWave.get();
  RunFor(1000);
  EXPECT_EQ(form->CurrentWave.get(), wave);
  EXPECT_EQ(form->WaveNumber, 1);
  EXPECT_EQ(Wave().Stage, 0);
  EXPECT_FALSE(Wave().IsComplete());
  EXPECT_EQ(form->MessageText, "GAME OVER");
  EXPECT_EQ(Attack().Count(), 0);

  // Even a wave that had passed its salvo is not complete any more.
  Wave().Stage = 2;
  EXPECT_FALSE(Wave().IsComplete());
  form->GameOverStamp = 0;
  EXPECT_TRUE(Wave().IsComplete());
}

TEST_F(PlayTest, AfterWaveFourteenPlayGoesRoundAtFullSpeed) {
  form->WaveNumber = 14;
  form->StartWave();
  Wave().Bonuses.Clear();
  RunFor(StagePause);
  Press('2');
  Settle();  // into the salvo
  Press('2');
  RunFor(StagePause + 10);  // past it once its pause is over
  EXPECT_EQ(form->WaveNumber, 1);
  EXPECT_TRUE(form->WavesLooped);
  EXPECT_EQ(form->MessageText, "WAVE 1");

  Wave().Bonuses.Clear();
  for (int i = 0; i < 10; ++i) {
    RunFor(StagePause);
    ASSERT_EQ(Attack().Count(), 1);
    EXPECT_EQ(Attack().Words(0)->SpeedTier, 3);
    Type(Attack().Words(0)->FullText);
    Settle();
  }
}
