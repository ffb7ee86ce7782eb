// The typing figures of a game: speed, accuracy, waves and keys, from events
// and from real play; the results screen the player then sees.
#include <gtest/gtest.h>

#include "record/History.h"
#include "record/RecordScreens.h"
#include "record/TypingRecord.h"
#include "words/WordFixture.h"

namespace {

TKeyTyped Key(uint32_t time, char letter, bool hit) {
  static const TKeyHit one{TWordRef{1, "WORD", "TSpriteWord", 0}, 1};
  TKeyTyped e;
  e.Time = time;
  e.Key = static_cast<uint16_t>(letter);
  e.Hit = hit;
  if (hit) e.Hits = std::span<const TKeyHit>(&one, 1);
  return e;
}

}  // namespace

TEST(TypingRecord, SpeedAccuracyAndWavesOfAScriptedGame) {
  TTypingRecord r;
  r.GameStarted({0, "Classic", 0, 1, "English", 100});
  r.WaveStarted({0, 1, false});
  r.KeyTyped(Key(1000, 'A', true));  // the first key has no gap before it
  r.KeyTyped(Key(1200, 'B', true));
  r.KeyTyped(Key(1400, 'A', false));
  r.KeyTyped(Key(6400, 'C', true));  // a 5 s wait counts as 2 s
  r.BrickLost({6500, 0, 0});
  r.WaveCompleted({7000, 1, false});
  r.WaveStarted({7000, 2, false});
  r.KeyTyped(Key(7100, 'D', true));
  r.KeyTyped(Key(7300, 'E', true));
  r.KeyTyped({7400, vk::Space, true, {}});  // the space bar is not typing
  r.GameEnded({8000, 120, TGameEnd::Quit});

  const TGameFigures& g = r.Game();
  EXPECT_EQ(g.Hits, 5);
  EXPECT_EQ(g.Misses, 1);
  EXPECT_EQ(g.TypingMs, 200 + 200 + 2000 + 700 + 200);
  EXPECT_NEAR(g.Wpm(), (5 / 5.0) / (3300 / 60000.0), 1e-9);
  EXPECT_NEAR(g.Accuracy(), 5 / 6.0, 1e-9);
  EXPECT_EQ(g.PlayMs, 8000);
  EXPECT_EQ(g.Score, 120);
  ASSERT_EQ(g.Waves.size(), 2u);
  EXPECT_EQ(g.Waves[0].TypingMs, 2400);
  EXPECT_EQ(g.Waves[0].PlayMs, 7000);
  EXPECT_EQ(g.Waves[0].BricksLost, 1);
  EXPECT_NEAR(g.Waves[0].Accuracy(), 0.75, 1e-9);
  EXPECT_EQ(g.Waves[1].PlayMs, 1000);
  EXPECT_NEAR(g.BestWaveWpm(), g.Waves[1].Wpm(), 1e-9);
  EXPECT_EQ(g.Keys[0].Presses, 2);
  EXPECT_EQ(g.Keys[0].Misses, 1);
  EXPECT_DOUBLE_EQ(g.Keys[0].MeanGapMs(), 200);  // 'A' first had no gap
  EXPECT_EQ(g.WavesCompleted, 1);

  // A new game starts from nothing.
  r.GameStarted({9000, "Classic", 0, 3, "English", 100});
  EXPECT_FALSE(r.Game().Typed());
  EXPECT_EQ(r.Game().StartWave, 3);
}

TEST_F(WordFixture, RecordCountsAMissOnlyWhenTheKeyHitsNothing) {
  AddWord("CAT", {300, 200});
  AddWord("COW", {500, 300});
  for (uint16_t key : {'C', 'X', 'A', '2', 'T'}) {
    Advance(100);
    form->KeyDown(key, {});
    form->KeyUp(key, {});
  }
  const TGameFigures& g = form->Record->Game();
  EXPECT_EQ(g.Hits, 3);
  EXPECT_EQ(g.Misses, 1);
  EXPECT_EQ(g.Keys['X' - 'A'].Misses, 1);
  EXPECT_EQ(g.Keys['C' - 'A'].Misses, 0);
  EXPECT_EQ(g.Letters, 4);  // C took a letter off both words
  EXPECT_EQ(g.Words, 1);
}

TEST_F(GameFixture, AGameFromTheMenuIsStoredAndShowsItsResultsWithoutThePause) {
  const uint32_t t0 = Now();
  platform->KeyAt(t0 + 3200, vk::Return);
  for (uint32_t t = 4000; t < 9000; t += 250) platform->KeyAt(t0 + t, 'E');
  platform->KeyAt(t0 + 6000, 121);   // F10 pauses ...
  platform->KeyAt(t0 + 11000, 121);  // ... for five seconds
  platform->KeyAt(t0 + 12000, vk::Escape);
  bool early = false;
  uint32_t resultsFrom = 0, resultsUntil = 0;
  platform->OnFrame = [&] {
    if (form->Screen == TGlyphfallForm::TScreen::Results) {
      if (resultsFrom == 0) resultsFrom = Now();
      resultsUntil = Now();
      if (!early) platform->PressKey('E');  // still typing: not taken
      early = true;
      if (Now() - resultsFrom > 1500) platform->PressKey(vk::Return);
    }
    if (form->Screen == TGlyphfallForm::TScreen::Menu && resultsFrom != 0) platform->PressKey(vk::Escape);
  };
  platform->StopAt = t0 + 120000;
  form->Run();

  ASSERT_NE(resultsFrom, 0u);
  EXPECT_GE(resultsUntil - resultsFrom, 1500u);
  const TGameFigures& g = form->Record->Game();
  ASSERT_TRUE(g.Typed());
  // From the start of play (t0 + 3200) to Escape, less the pause.
  EXPECT_LT(g.PlayMs, 12000 - 3200 - 4000);
  TProgress p = form->History->LoadProgress();
  ASSERT_EQ(p.Games, 1);
  EXPECT_NEAR(p.Recent[0].Wpm, g.Wpm(), 1e-9);
}

TEST(ResultsScreen, KeysAreColouredByMissesAndBarsStandForWaveSpeed) {
  TBitmap picture(800, 600);
  TGameFigures g;
  g.Keys['A' - 'A'] = {4, 4, 0, 0};
  g.Keys['F' - 'A'] = {5, 0, 0, 0};
  g.Waves.resize(2);
  g.Waves[0].Hits = 100;  // 20 WPM over a minute
  g.Waves[0].TypingMs = 60000;
  g.Waves[1].Hits = 200;  // 40 WPM
  g.Waves[1].TypingMs = 60000;
  DrawResults(picture.Canvas(), g, true);

  auto inside = [&](char letter) {
    TRect r = KeyRect(letter);
    return picture.Canvas().GetPixel(r.Left + 3, r.Bottom - 3);
  };
  EXPECT_EQ(inside('A'), MissColour(g.Keys[0]));
  EXPECT_EQ(inside('F'), MissColour(g.Keys[5]));
  EXPECT_EQ(inside('Q'), MissColour(TKeyFigures{}));
  EXPECT_GT(inside('A') & 0xFF, 0xC0u);           // red
  EXPECT_GT((inside('F') >> 8) & 0xFF, 0xC0u);    // green
  EXPECT_LT((inside('A') >> 8) & 0xFF, 0x40u);
  EXPECT_NE(KeyRect('A').Top, KeyRect('Q').Top);  // rows of a keyboard

  // Bars stand on the chart's foot, the faster wave's twice as tall.
  const TRect chart = WaveChartRect();
  TCanvas& c = picture.Canvas();
  auto height = [&](int x) {
    const TColor bar = c.GetPixel(x, chart.Bottom - 1);
    int y = chart.Bottom - 1;
    while (y > chart.Top - 20 && c.GetPixel(x, y - 1) == bar) --y;
    return chart.Bottom - y;
  };
  const int slow = height(chart.Left + 2), fast = height(chart.Left + 60);
  EXPECT_GT(slow, 20);
  EXPECT_NEAR(fast, 2 * slow, 2);
  EXPECT_EQ(c.GetPixel(chart.Right - 30, chart.Bottom - 2), 0u);  // no third bar
}
