#include "hiscores/HiScoreUnit.h"
#include "support/GameFixture.h"
#include "words/Ink.h"
#include "words/WordUnit.h"

class HudTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    StartGame();
  }
  int CountColour(TRect r, TColor c) { return InkIn(*form->OffscreenImage, r, c).Count; }
};

TEST_F(HudTest, BombRuleOneThresholdPerAwardNoneBeyondFourAndDetonatingNeedsOne) {
  form->AwardScore({400, 300}, 25000, "+25000", nullptr);
  EXPECT_EQ(form->Bombs, 1);  // two thresholds crossed, one bomb
  EXPECT_EQ(form->NextBombScore, 20000);
  EXPECT_EQ(form->ZoomItems->Count(), 1);
  form->AwardScore({400, 300}, 10, "+10", nullptr);
  EXPECT_EQ(form->Bombs, 2);  // the second follows with the next award
  EXPECT_EQ(form->NextBombScore, 30000);
  form->Bombs = 4;
  form->AwardScore({400, 300}, 5000, "+5000", nullptr);
  EXPECT_EQ(form->Bombs, 4);
  EXPECT_EQ(form->NextBombScore, 40000);  // that bomb is lost
  EXPECT_EQ(form->HiScores->HighScore, form->Score);
  EXPECT_EQ(form->ScoreItems->Count(), 3);

  // Without a bomb nothing changes, not even the hint.
  TPlayStats& seen = Watch();
  form->Bombs = 0;
  form->PressSpaceHints = 1;
  form->DetonateBomb();
  EXPECT_EQ(form->PressSpaceHints, 1);
  EXPECT_EQ(seen.BombsUsed, 0);
  form->Bombs = 2;
  form->DetonateBomb();
  EXPECT_EQ(form->Bombs, 1);
  EXPECT_EQ(form->PressSpaceHints, 4);
  EXPECT_EQ(seen.BombsUsed, 1);
}

TEST_F(HudTest, GameOverActsOnceAndANewMessageRestartsTheMessageClock) {
  form->GameOver();
  uint32_t first = form->GameOverStamp;
  EXPECT_NE(first, 0u);
  EXPECT_EQ(form->MessageText, "GAME OVER");
  size_t bursts = static_cast<size_t>(form->ExplodeItems->Count());
  form->GameTime += 500;
  form->SetCentreMessage("other", clBlue);
  EXPECT_EQ(form->MessageStamp, form->GameTime);
  form->GameOver();
  EXPECT_EQ(form->GameOverStamp, first);
  EXPECT_EQ(form->MessageText, "other");
  EXPECT_EQ(static_cast<size_t>(form->ExplodeItems->Count()), bursts);
  EXPECT_FALSE(form->GameOverDone());
  form->GameTime = first + 4000;
  EXPECT_TRUE(form->GameOverDone());
}

TEST_F(HudTest, PressSpaceHintShowsThreePhases) {
  form->Bombs = 1;
  int onPhases = 0;
  bool wasOn = false;
  for (int i = 0; i < 20; ++i) {
    form->GameTime += 800;
    form->DrawHud();
    bool on = form->BlinkOn && form->PressSpaceHints < 4;
    if (on && !wasOn) ++onPhases;
    wasOn = on;
  }
  EXPECT_EQ(onPhases, 3);
  EXPECT_EQ(form->PressSpaceHints, 4);
}

TEST_F(HudTest, SpawnRowsAreInsideTheCastleBandAndUniformAndNoFreeBandMeansNoRow) {
  TSpriteWord w;
  w.CreateFromText("CAT", 0, DirLeft, nullptr);
  std::vector<int> hits(29, 0);
  for (int i = 0; i < 2700; ++i) {
    TPoint p = form->SpawnPoint(w);
    ASSERT_EQ(p.X, 797);
    int row = (p.Y - form->CastleTop()) / 16;
    ASSERT_GE(row, 2);
    ASSERT_LE(row, 28);
    ++hits[row];
  }
  for (int r = 2; r <= 28; ++r) EXPECT_GT(hits[r], 50) << r;
  w.Scale = 28;
  EXPECT_EQ(form->ChooseSpawnRow(w), -1);
  w.Scale = 1;
  w.Vertical = true;
  w.Text = std::string(26, 'A');
  EXPECT_EQ(form->ChooseSpawnRow(w), -1);
  // A one-row word entering at every other row blocks every band.
  for (int r = 2; r <= 28; r += 2) {
    auto* busy = new TSpriteWord;
    busy->CreateFromText("ZZZZZZ", 0, DirLeft, nullptr);
    busy->PlaceAt({797, form->CastleTop() + 16 * r});
    form->AttackWords->AddObject(busy);
  }
  w.Vertical = false;
  w.Text = "A";
  EXPECT_EQ(form->ChooseSpawnRow(w), -1);
}

TEST_F(HudTest, ScoreShowsSixDigitsInGreenUnderRedLabels) {
  form->DrawBackground();
  form->DrawHud();
  // Labels red, values green, both right-aligned at x = 95 for the score.
  EXPECT_GT(CountColour({0, 0, 96, 20}, clRed), 20);
  EXPECT_GT(CountColour({0, 15, 96, 45}, clGreen), 20);
  EXPECT_EQ(CountColour({96, 0, 110, 45}, clGreen), 0);
  EXPECT_GT(CountColour({420, 0, 521, 45}, clRed), 10);  // WAVE while playing
}
