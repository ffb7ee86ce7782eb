#include <gtest/gtest.h>

#include <utility>

#include "sprites/SpriteUnit.h"
#include "words/Ink.h"
#include "words/WordFixture.h"

namespace {

class SpriteWordTest : public WordFixture {};

TEST_F(SpriteWordTest, AnUntypedWordClimbsATierEveryIntervalUpToThreeAndTypingPushesItBack) {
  TTestWave& wave = UseTestWave();  // the default interval, 10 000 ms
  TSpriteWord* w = AddWord("CASTLE", {700, 200}, 0);
  uint32_t start = Now();
  auto tierAt = [&](uint32_t after) {
    form->GameTime = start + after;
    w->Step();
    return static_cast<int>(w->SpeedTier);
  };
  for (auto [after, tier] : {std::pair{9999u, 0}, {10000u, 1}, {19999u, 1}, {20000u, 2}, {30000u, 3}, {90000u, 3}})
    EXPECT_EQ(tierAt(after), tier) << after;

  w->TypeLetter();
  EXPECT_EQ(w->SpeedTier, 2);
  EXPECT_EQ(tierAt(99999), 2);  // the interval started again at 90 000
  EXPECT_EQ(tierAt(100000), 3);

  // A sped-up word stays fast; a word in tier 0 cannot slow further.
  w->SetSpeedTier(4);
  EXPECT_EQ(tierAt(200000), 4);
  w->SetSpeedTier(0);
  w->TypeLetter();
  EXPECT_EQ(w->SpeedTier, 0);

  // The wave sets the step: WordStep + 1 pixels.
  wave.WordStep = 4;
  int32_t x = w->Position.X;
  w->Step();
  EXPECT_EQ(w->Position.X, x - 5);
}

TEST_F(SpriteWordTest, TypingMovesTheWordByTheLettersWidthAndTheLastLetterPaysOnce) {
  TSpriteWord* w = AddWord("WIT", {400, 200});
  int32_t widthW = w->TextWidthAt("W");
  ASSERT_GT(widthW, 0);
  w->TypeLetter();
  EXPECT_EQ(w->Text, "IT");
  EXPECT_EQ(w->Position, (TPoint{400 + widthW, 200}));
  EXPECT_EQ(form->ExplodeItems->Count(), 1);

  TSpriteWord* v = AddWord("UP", {500, 200});
  v->Vertical = true;
  v->TypeLetter();
  EXPECT_EQ(v->Position, (TPoint{500, 217}));  // a stacked word moves down a letter

  // The last letter pays ten per letter, once, with a floating text.
  w = AddWord("WORD", {400, 300});
  TPlayStats& seen = Watch();
  for (char c : std::string("WORD")) {
    ASSERT_TRUE(w->MatchesKey(static_cast<uint16_t>(c)));
    w->TypeLetter();
  }
  EXPECT_TRUE(w->IsDead());
  EXPECT_EQ(form->Score, 40);
  ASSERT_EQ(form->ScoreItems->Count(), 1);
  EXPECT_EQ(static_cast<TScoreItem*>(form->ScoreItems->Items(0))->Text, "+40");
  EXPECT_EQ(seen.WordsTyped, 1);
  w->TypeLetter();  // an emptied word is never paid twice
  EXPECT_EQ(form->Score, 40);
  EXPECT_EQ(seen.WordsTyped, 1);
}

TEST_F(SpriteWordTest, TheHiddenLetterIsTypedWithItsRealLetterInEitherCase) {
  TSpriteWord* w = AddWord("CAT", {400, 200});
  w->Text = "C?T";
  EXPECT_FALSE(w->MatchesKey('?'));
  EXPECT_TRUE(w->MatchesKey('c'));
  EXPECT_TRUE(w->MatchesKey(0x7F00 | 'C'));  // only the key's low byte counts
  w->TypeLetter();
  EXPECT_FALSE(w->MatchesKey('?'));
  EXPECT_TRUE(w->MatchesKey('A'));
  EXPECT_TRUE(w->MatchesKey('a'));
  w->TypeLetter();
  EXPECT_EQ(w->Text, "T");
}

TEST_F(SpriteWordTest, ExplodeBurstsEveryLetterAndRewardsUnlessSilentOrAlreadyEmpty) {
  TSpriteWord* w = AddWord("BOOM", {400, 200});
  w->Explode("letter.wav", false);
  EXPECT_TRUE(w->Text.empty());
  EXPECT_EQ(form->ExplodeItems->Count(), 4);
  EXPECT_EQ(form->Score, 40);
  w->Explode("letter.wav", false);
  EXPECT_EQ(form->ExplodeItems->Count(), 4);
  EXPECT_EQ(form->ScoreItems->Count(), 1);

  AddWord("HUSH", {400, 300})->Explode("explode.wav", true);
  EXPECT_EQ(form->Score, 40);
  EXPECT_EQ(form->ExplodeItems->Count(), 8);
}

// Column 3 is solid brick from row 6 to row 14.
TEST_F(SpriteWordTest, AScaleThreeWordStrikesThreeBricksPerContactAndChewsInLetterByLetter) {
  const int row = 8;
  TSpriteWord* w = AddWord("MOAT", {64, CastleTop() + 16 * row});
  w->Scale = 3;
  auto state = [&](int c, int r) { return static_cast<int>(form->Castle[c][r].State); };

  w->Step();  // front edge at 62: column 3
  for (int r = row; r < row + 3; ++r) EXPECT_EQ(state(3, r), 3) << r;
  EXPECT_EQ(state(3, row - 1), 1);
  EXPECT_EQ(state(3, row + 3), 1);
  EXPECT_EQ(w->Text, "OAT");
  EXPECT_EQ(w->Position.X, 62 + w->TextWidthAt("M"));

  // The next blow comes in the step whose front edge is back in column 3.
  for (int steps = 0; state(3, row) == 3; ++steps) {
    ASSERT_LT(steps, 100);
    int32_t front = w->Position.X - 2;
    w->Step();
    EXPECT_EQ(state(3, row) == 3, front >= 64) << front;
  }
  for (int r = row; r < row + 3; ++r) EXPECT_EQ(state(3, r), 4) << r;
  EXPECT_EQ(w->Text, "AT");
}

TEST_F(SpriteWordTest, PastTheLeftEdgeAWordOverTheCastleGoesQuietlyOneAtCastleHeightEndsTheGame) {
  TTestWave& wave = UseTestWave();
  wave.WordsLeft = 5;
  AddWord("HIGH", {2, CastleTop() - 16});
  Frame(100);
  EXPECT_EQ(Attack().Count(), 0);
  EXPECT_EQ(form->GameOverStamp, 0u);
  EXPECT_EQ(wave.WordsLeft, 4);  // gone all the same

  form->Castle[0][5].State = TBrickState::Destroyed;  // through a destroyed cell
  AddWord("LOW", {2, CastleTop() + 16 * 5});
  Frame(100);
  EXPECT_EQ(Attack().Count(), 0);
  EXPECT_NE(form->GameOverStamp, 0u);

  // The top line itself counts as castle height.
  form->GameOverStamp = 0;
  TSpriteWord* edge = AddWord("EDGE", {1, CastleTop()});
  EXPECT_FALSE(edge->IsDead());
  edge->PlaceAt({0, CastleTop()});
  EXPECT_TRUE(edge->IsDead());
  EXPECT_NE(form->GameOverStamp, 0u);
}

// ---- Drawing ----

class WordDrawingTest : public WordFixture {
 protected:
  void Clear() { Blank(*form->OffscreenImage); }
  TInk InkIn(const TRect& r, std::optional<TColor> c = std::nullopt) { return ::InkIn(*form->OffscreenImage, r, c); }
};

TEST_F(WordDrawingTest, LettersSitInTheirBandInTheTiersColour) {
  const TColor colours[] = {0x00AA00, 0xFF0000, 0x00FFFF, 0x0000FF, 0xFFFFFF, 0xFFFFFF};
  for (uint8_t tier = 0; tier < SpeedTiers; ++tier) {
    Clear();
    Attack().RemoveAll();
    TSpriteWord* w = AddWord("HAT", {300, 200 + 40 * tier}, tier);
    w->Draw(form->Stage);
    TInk ink = InkIn(TRect{0, 0, 800, 600});
    ASSERT_GT(ink.Count, 20) << int(tier);
    EXPECT_GT(InkIn(ink.Box, colours[tier]).Count, 0) << int(tier);
    // Clipped at Y; the capitals' body fills most of the 16-pixel band.
    EXPECT_GE(ink.Box.Left, 300);
    EXPECT_LE(ink.Box.Right, w->TextLayout().ClipRect.Right);
    EXPECT_GE(ink.Box.Top, w->Position.Y);
    EXPECT_LE(ink.Box.Top, w->Position.Y + 4);
    EXPECT_GE(ink.Box.Bottom, w->Position.Y + 12);
    EXPECT_LE(ink.Box.Bottom, w->TextLayout().ClipRect.Bottom);
  }
}

TEST_F(WordDrawingTest, AStackedWordDrawsEachLetterInItsOwnRowTheHiddenOneSpinningInPlace) {
  Clear();
  TSpriteWord* w = AddWord("ABC", {300, 150});
  w->Vertical = true;
  w->Text = "A?C";
  w->HiddenSpinStamp = Now();
  w->Draw(form->Stage);
  int32_t wideW = w->TextWidthAt("W");
  int32_t top = w->TextLayout().TextTop;
  EXPECT_LE(InkIn(TRect{0, 0, 800, 600}).Box.Right, 300 + wideW);
  for (int i = 0; i < 3; ++i) EXPECT_GT(InkIn(TRect{300, top + 17 * i, 300 + wideW, top + 17 * (i + 1)}).Count, 3) << i;
}

TEST_F(WordDrawingTest, TheHiddenLetterTurnsAboutItsUprightAxis) {
  TSpriteWord* w = AddWord("Q", {300, 200}, 3);
  w->Text = "?";
  int32_t qw = w->TextWidthAt("?");
  ASSERT_GT(qw, 2);
  auto drawAt = [&](int32_t phase) {
    Clear();
    w->HiddenSpinStamp = Now();  // no tick while drawing
    w->HiddenSpinPhase = phase;
    w->Draw(form->Stage);
    std::vector<TColor> px;
    for (int y = 150; y < 250; ++y)
      for (int x = 300; x < 300 + qw; ++x) px.push_back(form->OffscreenImage->Scanline(y)[x] & 0xFFFFFF);
    return px;
  };
  std::vector<TColor> upright = drawAt(0), mirrored = drawAt(qw), edgeOn = drawAt(qw / 2);
  int ink = 0, edgeInk = 0;
  for (size_t i = 0; i < upright.size(); ++i) {
    size_t row = i / static_cast<size_t>(qw), col = i % static_cast<size_t>(qw);
    EXPECT_EQ(upright[i], mirrored[row * static_cast<size_t>(qw) + static_cast<size_t>(qw) - 1 - col])
        << row << "," << col;
    ink += upright[i] != 0;
    edgeInk += edgeOn[i] != 0;
  }
  EXPECT_GT(ink, 10);
  EXPECT_LT(edgeInk, ink / 3);
  drawAt(2 * qw + 1);  // past a full turn it starts again
  EXPECT_EQ(w->HiddenSpinPhase, 0);
}

}  // namespace
