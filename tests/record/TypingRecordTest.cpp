// The typing figures of a game: speed, accuracy, waves and keys, from events
// and from real play; the results screen the player then sees.
#include <gtest/gtest.h>

#include "record/History.h"
#include "record/RecordScreens.h"
#include "record/TypingRecord.h"
#include "words/WordFixture.h"

namespace {

TKeyTyped Key(uint32_t time, char32_t letter, bool hit) {
  static const TKeyHit one{TWordRef{1, "WORD", "TSpriteWord", 0}, 1};
  return {time, static_cast<uint16_t>(letter), hit, std::span<const TKeyHit>(&one, hit ? 1 : 0)};
}

}  // namespace

TEST(TypingRecord, SpeedAccuracyAndWavesOfAScriptedGame) {
  TTypingRecord r;
  r.GameStarted({0, "Classic", 0, 1, "English", 100, false});
  r.WaveStarted({0, 1, false});
  r.TypableChanged({600, true});
  r.KeyTyped(Key(1000, 'A', true));  // 400 ms from the first word on screen
  r.KeyTyped(Key(1200, 'B', true));
  r.KeyTyped(Key(1400, 'A', false));
  r.TypableChanged({1500, false});  // nothing to type for 4.5 s: not typing
  r.TypableChanged({6000, true});
  EXPECT_NEAR(r.CurrentWpm(6000), 2 / 5.0 / (900 / 60000.0), 1e-9);  // the 100 ms before the wait count
  r.KeyTyped(Key(6400, 'C', true));                                  // 100 + 400 ms
  r.BrickLost({6500, 0, 0});
  r.KeyTyped(Key(9900, 'C', true));  // a 3.5 s pause over a word counts as 2 s
  r.WaveCompleted({10000, 1, false});
  r.WaveStarted({10000, 2, false});
  r.KeyTyped(Key(10100, 'D', true));
  r.KeyTyped(Key(10300, 'E', true));
  r.KeyTyped({10400, vk::Space, true, {}});  // the space bar is not typing
  r.GameEnded({11000, 120, TGameEnd::Quit});

  const TGameFigures& g = r.Game();
  EXPECT_EQ(g.TypingMs, 400 + 200 + 200 + 500 + 2000 + 200 + 200);
  EXPECT_NEAR(g.Wpm(), (6 / 5.0) / (3700 / 60000.0), 1e-9);
  EXPECT_NEAR(g.Accuracy(), 6 / 7.0, 1e-9);
  EXPECT_EQ(g.PlayMs, 11000);
  EXPECT_EQ(g.Score, 120);
  ASSERT_EQ(g.Waves.size(), 2u);
  EXPECT_EQ(g.Waves[0].TypingMs, 3300);
  EXPECT_EQ(g.Waves[0].PlayMs, 10000);
  EXPECT_EQ(g.Waves[0].BricksLost, 1);
  EXPECT_NEAR(g.Waves[0].Accuracy(), 0.8, 1e-9);
  EXPECT_EQ(g.Waves[1].PlayMs, 1000);
  EXPECT_NEAR(g.BestWaveWpm(), g.Waves[1].Wpm(), 1e-9);
  EXPECT_EQ(g.Keys['A'].Presses, 2);
  EXPECT_EQ(g.Keys['A'].Misses, 1);
  EXPECT_DOUBLE_EQ(g.Keys['A'].MeanGapMs(), 300);
  EXPECT_EQ(g.WavesCompleted, 1);

  // A new game starts from nothing, with nothing on screen to type.
  r.GameStarted({12000, "Classic", 0, 3, "English", 100, false});
  EXPECT_FALSE(r.Game().Typed());
  EXPECT_EQ(r.Game().StartWave, 3);
  r.KeyTyped(Key(13000, 'A', true));
  EXPECT_EQ(r.Game().TypingMs, 0);
}

// A long pause over a word on screen counts as MaxKeyGap, in the live figure
// while it lasts and in the game's once the next key comes.
TEST(TypingRecord, ALongPauseOverAWordCountsAtMostTheKeyGap) {
  TTypingRecord r;
  r.GameStarted({0, "Classic", 0, 1, "English", 100, false});
  r.TypableChanged({0, true});
  r.KeyTyped(Key(500, 'A', true));
  const double capped = 1 / 5.0 / ((500 + MaxKeyGap) / 60000.0);
  EXPECT_GT(r.CurrentWpm(1500), capped);  // a short wait still counts in full
  for (uint32_t t : {500 + MaxKeyGap, 10500u}) EXPECT_NEAR(r.CurrentWpm(t), capped, 1e-9) << t;
  r.KeyTyped(Key(10500, 'B', true));
  EXPECT_EQ(r.Game().TypingMs, 500 + MaxKeyGap);
  EXPECT_NEAR(r.Game().Wpm(), 2 * capped, 1e-9);
}

// Letters past A-Z were once dropped: each counts as its own key; sign keys,
// digits and small-letter codes are no letters.
TEST(TypingRecord, EveryLetterCountsAsItsCapitalAndSignKeysDoNot) {
  TTypingRecord r;
  r.GameStarted({0, "Classic", 0, 1, "Deutsch", 100, true});
  r.TypableChanged({0, true});
  uint32_t t = 0;
  for (char32_t key : {0xC4u, 0xC4u, 0xDCu, 0x41u, 0x416u}) r.KeyTyped(Key(t += 100, key, true));
  r.KeyTyped(Key(t += 100, 0xDC, false));
  for (char32_t key : {186u, 191u, 0x32u, 0x61u}) r.KeyTyped(Key(t += 100, key, false));  // ; / 2 a

  const TGameFigures& g = r.Game();
  EXPECT_EQ(g.Hits, 5);
  EXPECT_EQ(g.Misses, 1);
  EXPECT_EQ(g.TypingMs, 600);  // the sign keys' time goes to no letter
  EXPECT_EQ(g.Keys[0xC4].Presses, 2);
  EXPECT_EQ(g.Keys[0xDC].Misses, 1);
  EXPECT_EQ(g.Keys[0x416].Presses, 1);
  EXPECT_EQ(g.Keys.Used().size(), 4u);  // A, Ä, Ü, Ж
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
    if (ShowingScreen(*form) == "results") {
      if (resultsFrom == 0) resultsFrom = Now();
      resultsUntil = Now();
      if (!early) platform->PressKey('E');  // still typing: not taken
      early = true;
      if (Now() - resultsFrom > 1500) platform->PressKey(vk::Return);
    }
    if (ShowingScreen(*form) == "menu" && resultsFrom != 0) platform->PressKey(vk::Escape);
  };
  platform->StopAt = t0 + 120000;
  form->Run();

  ASSERT_NE(resultsFrom, 0u);
  EXPECT_GE(resultsUntil - resultsFrom, 1500u);
  const TGameFigures& g = session->Record().Game();
  ASSERT_TRUE(g.Typed());
  // From the start of play (t0 + 3200) to Escape, less the pause.
  EXPECT_LT(g.PlayMs, 12000 - 3200 - 4000);
  TProgress p = session->History().LoadProgress();
  ASSERT_EQ(p.Games, 1);
  // A score of keys is shown but is too short to count.
  EXPECT_FALSE(g.Counts());
  EXPECT_EQ(p.Counted, 0);
  EXPECT_TRUE(p.Recent.empty());
}

TEST(ResultsScreen, TheKeyboardIsTheLayoutInUseWithOtherLettersBeside) {
  TBitmap picture(800, 600);
  TGameFigures g;
  g.Keys['A'] = {4, 4, 0, 0};
  g.Keys['F'] = {5, 0, 0, 0};
  g.Keys[0xC9] = {2, 1, 0, 0};  // É: on no letter key of either layout
  g.Hits = 10;
  g.Waves.resize(2);
  for (size_t i : {0u, 1u}) g.Waves[i].Hits = 100 * static_cast<int>(i + 1), g.Waves[i].TypingMs = 60000;  // 20, 40 WPM
  const TKeyboardLayout azerty = MakeKeyboardLayout(U"azertyuiop^$", U"qsdfghjklm\u00F9", U"wxcvbn,;:!");
  DrawResults(picture.Canvas(), g, azerty, true);

  const auto caps = KeyboardPicture(azerty, g);
  auto cap = [&](char32_t letter) {
    const auto c = std::find_if(caps.begin(), caps.end(), [&](const TKeyCap& k) { return k.Letter == letter; });
    return c == caps.end() ? (ADD_FAILURE() << static_cast<uint32_t>(letter), TKeyCap{}) : *c;
  };
  auto inside = [&](char32_t letter) {
    const TRect r = cap(letter).Rect;
    return picture.Canvas().GetPixel(r.Left + 3, r.Bottom - 3);
  };
  for (char32_t k : {U'A', U'F', U'Q', U'\u00C9'}) EXPECT_EQ(inside(k), MissColour(g.Keys[k])) << uint32_t{k};
  EXPECT_GT(inside('A') & 0xFF, 0xC0u);         // red
  EXPECT_GT((inside('F') >> 8) & 0xFF, 0xC0u);  // green
  EXPECT_LT((inside('A') >> 8) & 0xFF, 0x40u);
  // AZERTY's A above its Q, its Ù after M; É on no key, beside the keyboard;
  // no sign keys; a layout that could not be told shows QWERTY.
  EXPECT_LT(cap('A').Rect.Top, cap('Q').Rect.Top);
  EXPECT_GT(cap(0xD9).Rect.Left, cap('M').Rect.Left);
  EXPECT_TRUE(cap(0xC9).OffLayout && !cap('M').OffLayout);
  for (const TKeyCap& c : caps) EXPECT_TRUE(c.OffLayout || c.Rect.Right < cap(0xC9).Rect.Left);
  EXPECT_LE(cap(0xC9).Rect.Right, 800);
  EXPECT_EQ(caps.size(), 26u + 1 + 1);
  const auto unknown = KeyboardPicture(MakeKeyboardLayout(U"", U"", U""), TGameFigures{});
  ASSERT_EQ(unknown.size(), 26u);
  EXPECT_EQ(unknown[10].Letter, U'A');  // the first of the home row
  EXPECT_GT(unknown[10].Rect.Top, unknown[0].Rect.Top);

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
