#include <gtest/gtest.h>

#include "sprites/SpriteUnit.h"
#include "words/WordFixture.h"

namespace {

class SpriteWordTest : public WordFixture {};

TEST_F(SpriteWordTest, CreationTrimsAndUpperCasesAndTakesTheKindsDefaults) {
  TWord entry("cat");
  auto w = TSpriteWord::ClassRef().CreateFromWord(entry, 2, DirLeft, form->BombImage.get());
  EXPECT_EQ(w->Text, "CAT");
  EXPECT_EQ(w->FullText, "CAT");
  EXPECT_EQ(w->SpeedTier, 2);
  EXPECT_EQ(w->Direction, DirLeft);
  EXPECT_EQ(w->Icon, form->BombImage.get());
  EXPECT_EQ(w->SpeedStamp, Now());
  EXPECT_EQ(w->Position, (TPoint{200, 200}));
  EXPECT_EQ(w->StepInterval, 0);
  EXPECT_TRUE(w->MayHideLetter && w->MayTurnVertical && w->SlowsWhenTyped);
  EXPECT_FALSE(w->Vertical);
  EXPECT_EQ(w->Scale, 1);
  EXPECT_TRUE(TSpriteWord::ClassRef().IsKindOf(*w));

  auto padded = TSpriteWord::ClassRef().CreateFromText("  dog \t", 0, DirLeft, nullptr);
  EXPECT_EQ(padded->Text, "DOG");
  EXPECT_TRUE(padded->MatchesKey('D'));

  // Serials identify words for good: a new word never reuses one.
  EXPECT_GT(padded->Serial, w->Serial);
}

TEST_F(SpriteWordTest, AnUntypedWordClimbsATierEveryIntervalUpToThree) {
  TSpriteWord* w = AddWord("CASTLE", {700, 200}, 0);
  uint32_t start = Now();
  auto stepAt = [&](uint32_t after) {
    form->GameTime = start + after;
    w->Step();
    return static_cast<int>(w->SpeedTier);
  };
  EXPECT_EQ(stepAt(9999), 0);
  EXPECT_EQ(stepAt(10000), 1);
  EXPECT_EQ(stepAt(19999), 1);
  EXPECT_EQ(stepAt(20000), 2);
  EXPECT_EQ(stepAt(30000), 3);
  EXPECT_EQ(stepAt(40000), 3);
  EXPECT_EQ(stepAt(90000), 3);

  // Each typed letter takes a tier off and starts the interval again.
  w->TypeLetter();
  EXPECT_EQ(w->SpeedTier, 2);
  uint32_t typed = Now();
  form->GameTime = typed + 9999;
  w->Step();
  EXPECT_EQ(w->SpeedTier, 2);
  form->GameTime = typed + 10000;
  w->Step();
  EXPECT_EQ(w->SpeedTier, 3);

  // The interval never lifts a word past 3, and typing stops at 0.
  w->SetSpeedTier(4);
  form->GameTime += 20000;
  w->Step();
  EXPECT_EQ(w->SpeedTier, 4);
  w->SetSpeedTier(0);
  w->TypeLetter();
  EXPECT_EQ(w->SpeedTier, 0);
}

TEST_F(SpriteWordTest, TheWaveSetsTheStepAndTheSpeedUpInterval) {
  TTestWave& wave = UseTestWave();
  wave.WordStep = 4;
  wave.SpeedUpInterval = 500;
  TSpriteWord* left = AddWord("LEFT", {700, 200}, 0);
  left->Step();
  EXPECT_EQ(left->Position, (TPoint{695, 200}));
  Advance(500);
  left->Step();
  EXPECT_EQ(left->SpeedTier, 1);

  auto falling = TSpriteWord::ClassRef().CreateFromText("FALL", 3, DirFalling, nullptr);
  falling->PlaceAt({300, 60});
  falling->Step();
  EXPECT_EQ(falling->Position, (TPoint{300, 65}));
  auto still = TSpriteWord::ClassRef().CreateFromText("STAY", 3, 0, nullptr);
  still->PlaceAt({300, 60});
  still->Step();
  EXPECT_EQ(still->Position, (TPoint{300, 60}));
}

TEST_F(SpriteWordTest, TypingTheFirstLetterLeavesTheOthersWhereTheyWere) {
  TSpriteWord* w = AddWord("WIT", {400, 200});
  int32_t widthW = w->TextWidthAt("W");
  ASSERT_GT(widthW, 0);
  w->TypeLetter();
  EXPECT_EQ(w->Text, "IT");
  EXPECT_EQ(w->Position, (TPoint{400 + widthW, 200}));
  EXPECT_EQ(form->ExplodeItems->Count(), 1);
  EXPECT_EQ(form->Stats.LettersTyped, 1);
  EXPECT_EQ(form->Stats.WordsTyped, 0);

  // A stacked word moves down one brick and a pixel instead.
  TSpriteWord* v = AddWord("UP", {500, 200});
  v->Vertical = true;
  v->TypeLetter();
  EXPECT_EQ(v->Position, (TPoint{500, 217}));
}

TEST_F(SpriteWordTest, TypingTheLastLetterPaysTenPerLetterWithAFloatingText) {
  TSpriteWord* w = AddWord("WORD", {400, 300});
  for (char c : std::string("WORD")) {
    ASSERT_TRUE(w->MatchesKey(static_cast<uint16_t>(c)));
    w->TypeLetter();
  }
  EXPECT_TRUE(w->Text.empty());
  EXPECT_TRUE(w->IsDead());
  EXPECT_EQ(form->Score, 40);
  ASSERT_EQ(form->ScoreItems->Count(), 1);
  EXPECT_EQ(static_cast<TScoreItem*>(form->ScoreItems->Items(0))->Text, "+40");
  EXPECT_EQ(form->Stats.LettersTyped, 4);
  EXPECT_EQ(form->Stats.WordsTyped, 1);

  // An emptied word takes no further key and pays nothing twice.
  w->TypeLetter();
  EXPECT_EQ(form->Score, 40);
  EXPECT_EQ(form->Stats.LettersTyped, 4);

  // Points follow the whole word, not what is left of it or its size.
  TSpriteWord* big = AddWord("ABCDE", {400, 100});
  big->Scale = 10;
  big->Text = "E";
  EXPECT_EQ(big->Points(), 50);
}

TEST_F(SpriteWordTest, TheHiddenLetterIsTypedWithItsRealLetterAndAnyCase) {
  TSpriteWord* w = AddWord("CAT", {400, 200});
  w->Text = "C?T";
  EXPECT_FALSE(w->MatchesKey('?'));
  EXPECT_TRUE(w->MatchesKey('C'));
  EXPECT_TRUE(w->MatchesKey('c'));
  EXPECT_TRUE(w->MatchesKey(0x7F00 | 'C'));  // only the low byte counts
  EXPECT_FALSE(w->MatchesKey('A'));
  w->TypeLetter();
  EXPECT_EQ(w->Text, "?T");
  EXPECT_FALSE(w->MatchesKey('?'));
  EXPECT_TRUE(w->MatchesKey('A'));
  EXPECT_TRUE(w->MatchesKey('a'));
  w->TypeLetter();
  EXPECT_EQ(w->Text, "T");
  w->TypeLetter();
  EXPECT_FALSE(w->MatchesKey('T'));  // nothing left to match
}

TEST_F(SpriteWordTest, ExplodeBurstsEveryLetterAndRewardsUnlessSilent) {
  TSpriteWord* w = AddWord("BOOM", {400, 200});
  w->Explode("letter.wav", false);
  EXPECT_TRUE(w->Text.empty());
  EXPECT_EQ(form->ExplodeItems->Count(), 4);
  EXPECT_EQ(form->Score, 40);

  // Nothing left: no burst, no reward.
  w->Explode("letter.wav", false);
  EXPECT_EQ(form->ExplodeItems->Count(), 4);
  EXPECT_EQ(form->Score, 40);
  EXPECT_EQ(form->ScoreItems->Count(), 1);

  TSpriteWord* quiet = AddWord("HUSH", {400, 300});
  quiet->Explode("explode.wav", true);
  EXPECT_TRUE(quiet->Text.empty());
  EXPECT_EQ(form->Score, 40);
  EXPECT_EQ(form->ExplodeItems->Count(), 8);
}

// Column 3 is solid brick from row 6 to row 14.
TEST_F(SpriteWordTest, AScaleThreeWordStrikesThreeBricksPerContactAndChewsInLetterByLetter) {
  const int row = 8;
  TSpriteWord* w = AddWord("MOAT", {64, CastleTop() + 16 * row});
  w->Scale = 3;
  auto state = [&](int c, int r) { return static_cast<int>(form->Castle[c][r].State); };

  w->Step();  // x 62: column 3
  for (int r = row; r < row + 3; ++r) EXPECT_EQ(state(3, r), 3) << r;
  EXPECT_EQ(state(3, row - 1), 1);
  EXPECT_EQ(state(3, row + 3), 1);
  EXPECT_EQ(state(2, row), 1);
  EXPECT_EQ(w->Text, "OAT");
  int32_t afterHit = w->Position.X;
  EXPECT_EQ(afterHit, 62 + w->TextWidthAt("M"));  // measured at 42 points

  // The next blow comes in the step whose front edge is back in column 3.
  int steps = 0;
  while (state(3, row) == 3) {
    ASSERT_LT(++steps, 100);
    int32_t front = w->Position.X - 2;
    w->Step();
    if (state(3, row) == 3) {
      EXPECT_GE(front, 64);
    } else {
      EXPECT_LT(front, 64);
    }
  }
  for (int r = row; r < row + 3; ++r) EXPECT_EQ(state(3, r), 4) << r;
  EXPECT_EQ(w->Text, "AT");
}

TEST_F(SpriteWordTest, AWordThatCrashesOutIsGoneAndAnEmptyWordDealsNoBlow) {
  AddWord("X", {64, CastleTop() + 16 * 10});
  Attack().UpdateAll();
  EXPECT_EQ(form->Castle[3][10].State, 3);
  EXPECT_EQ(Attack().Count(), 0);

  TSpriteWord* empty = AddWord("Y", {64, CastleTop() + 16 * 12});
  empty->Text.clear();
  empty->Step();
  EXPECT_EQ(form->Castle[3][12].State, 1);
}

TEST_F(SpriteWordTest, PastTheLeftEdgeAWordOverTheCastleGoesQuietlyOneAtCastleHeightEndsTheGame) {
  // Above the castle's top line: removed, no harm.
  AddWord("HIGH", {2, CastleTop() - 16});
  Frame(100);
  EXPECT_EQ(Attack().Count(), 0);
  EXPECT_EQ(form->GameOverStamp, 0u);

  // At castle height through a destroyed cell: the game is over.
  form->Castle[0][5].State = 5;
  AddWord("LOW", {2, CastleTop() + 16 * 5});
  Frame(100);
  EXPECT_EQ(Attack().Count(), 0);
  EXPECT_NE(form->GameOverStamp, 0u);

  // Exactly on the top line counts as castle height.
  auto w = TSpriteWord::ClassRef().CreateFromText("EDGE", 0, DirLeft, nullptr);
  form->GameOverStamp = 0;
  w->PlaceAt({0, CastleTop()});
  EXPECT_TRUE(w->IsDead());
  EXPECT_NE(form->GameOverStamp, 0u);
  w->PlaceAt({1, CastleTop()});
  EXPECT_FALSE(w->IsDead());
}

TEST_F(SpriteWordTest, RemovalCountsTheWordOffTheWave) {
  TTestWave& wave = UseTestWave();
  wave.WordsLeft = 3;
  TSpriteWord* w = AddWord("GO", {400, 200});
  w->TypeLetter();
  w->TypeLetter();
  EXPECT_EQ(wave.WordsLeft, 3);  // typing does not remove; the next pass does
  Frame();
  EXPECT_EQ(Attack().Count(), 0);
  EXPECT_EQ(wave.WordsLeft, 2);
}

TEST_F(SpriteWordTest, EdgesIconAndScreenTest) {
  TSpriteWord* w = AddWord("BOMB", {0, 200});
  w->Icon = form->BombImage.get();
  int32_t text = w->TextWidthAt("BOMB");
  int32_t icon = form->BombImage->Width();
  w->PlaceAt({800 - text - icon, 200});
  EXPECT_EQ(w->RightEdge(), 800);
  EXPECT_EQ(w->IconX(), 800 - icon + 2);
  EXPECT_FALSE(w->IsFullyOnScreen());
  w->PlaceAt({799 - text - icon, 200});
  EXPECT_TRUE(w->IsFullyOnScreen());
  w->Icon = nullptr;
  EXPECT_EQ(w->RightEdge(), 799 - icon);
}

// ---- Drawing ----

class WordDrawingTest : public WordFixture {
 protected:
  TBitmap& Frame() { return *form->OffscreenImage; }
  void Clear() {
    TCanvas& c = form->Canvas();
    c.Brush.Style = TBrushStyle::Solid;
    c.Brush.Color = clBlack;
    c.FillRect(TRect{0, 0, 800, 600});
  }
  struct TInk {
    int Count = 0;
    TRect Box{10000, 10000, -1, -1};
    bool HasExact = false;
  };
  TInk InkIn(const TRect& r, TColor exact) {
    TInk ink;
    for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, 600); ++y)
      for (int x = std::max(r.Left, 0); x < std::min(r.Right, 800); ++x) {
        TColor p = Frame().Scanline(y)[x] & 0xFFFFFF;
        if (p == 0) continue;
        ++ink.Count;
        ink.Box.Left = std::min(ink.Box.Left, x);
        ink.Box.Top = std::min(ink.Box.Top, y);
        ink.Box.Right = std::max(ink.Box.Right, x + 1);
        ink.Box.Bottom = std::max(ink.Box.Bottom, y + 1);
        if (p == exact) ink.HasExact = true;
      }
    return ink;
  }
};

TEST_F(WordDrawingTest, LettersSitInTheirBandInTheTiersColour) {
  const TColor colours[] = {0x00AA00, 0xFF0000, 0x00FFFF, 0x0000FF, 0xFFFFFF, 0xFFFFFF};
  for (uint8_t tier = 0; tier < SpeedTiers; ++tier) {
    Attack().RemoveAll();
    Clear();
    TSpriteWord* w = AddWord("HAT", {300, 200}, tier);
    EXPECT_EQ(w->TextColour(), colours[tier]);
    w->Draw();
    TSpriteWord::TLayout l = w->TextLayout();
    TInk all = InkIn(TRect{0, 0, 800, 600}, colours[tier]);
    ASSERT_GT(all.Count, 20) << int(tier);
    EXPECT_TRUE(all.HasExact) << int(tier);
    // Nothing above Y (the clip) or outside the text's box.
    EXPECT_GE(all.Box.Top, 200);
    EXPECT_GE(all.Box.Left, 300);
    EXPECT_LE(all.Box.Right, l.ClipRect.Right);
    EXPECT_LE(all.Box.Bottom, l.ClipRect.Bottom);
    // The capitals' body fills most of the 16-pixel band.
    EXPECT_LE(all.Box.Top, 204);
    EXPECT_GE(all.Box.Bottom, 212);
  }
}

TEST_F(WordDrawingTest, AStackedWordDrawsALetterEverySeventeenPixelsWithinAWsWidth) {
  Clear();
  TSpriteWord* w = AddWord("III", {300, 150});
  w->Vertical = true;
  w->Draw();
  TSpriteWord::TLayout l = w->TextLayout();
  int32_t wideW = w->TextWidthAt("W");
  TInk all = InkIn(TRect{0, 0, 800, 600}, 0);
  EXPECT_GE(all.Box.Left, 300);
  EXPECT_LE(all.Box.Right, 300 + wideW);
  for (int i = 0; i < 3; ++i) {
    int top = l.TextTop + 17 * i;
    EXPECT_GT(InkIn(TRect{300, top, 300 + wideW, top + 17}, 0).Count, 5) << i;
  }
  // An I is centred on the W's width, not at the left edge.
  EXPECT_GT(all.Box.Left, 300 + 2);
}

TEST_F(WordDrawingTest, AStackedWordWithAHiddenLetterSpinsItInItsOwnPlace) {
  Clear();
  TSpriteWord* w = AddWord("ABC", {300, 150});
  w->Vertical = true;
  w->Text = "A?C";
  w->HiddenSpinStamp = Now();
  w->HiddenSpinPhase = 0;
  w->Draw();
  TSpriteWord::TLayout l = w->TextLayout();
  int32_t wideW = w->TextWidthAt("W");
  TInk all = InkIn(TRect{0, 0, 800, 600}, 0);
  EXPECT_LE(all.Box.Right, 300 + wideW);
  for (int i = 0; i < 3; ++i) {
    int top = l.TextTop + 17 * i;
    EXPECT_GT(InkIn(TRect{300, top, 300 + wideW, top + 17}, 0).Count, 3) << i;
  }
}

TEST_F(WordDrawingTest, TheHiddenLetterTurnsAboutItsUprightAxis) {
  TSpriteWord* w = AddWord("Q", {300, 200}, 3);
  w->Text = "?";
  int32_t qw = w->TextWidthAt("?");
  ASSERT_GT(qw, 2);
  auto drawAt = [&](int32_t phase) {
    Clear();
    w->HiddenSpinStamp = Now();  // no tick during the drawing
    w->HiddenSpinPhase = phase;
    w->Draw();
    std::vector<TColor> px;
    for (int y = 150; y < 250; ++y)
      for (int x = 300; x < 300 + qw; ++x) px.push_back(Frame().Scanline(y)[x] & 0xFFFFFF);
    return px;
  };
  std::vector<TColor> upright = drawAt(0);
  std::vector<TColor> mirrored = drawAt(qw);
  int ink = 0;
  for (size_t i = 0; i < upright.size(); ++i) {
    size_t row = i / static_cast<size_t>(qw), col = i % static_cast<size_t>(qw);
    size_t flipped = row * static_cast<size_t>(qw) + (static_cast<size_t>(qw) - 1 - col);
    EXPECT_EQ(upright[i], mirrored[flipped]) << row << "," << col;
    if (upright[i]) ++ink;
  }
  EXPECT_GT(ink, 10);
  // Edge on, the letter is gone.
  std::vector<TColor> edgeOn = drawAt(qw / 2);
  int edgeInk = 0;
  for (TColor c : edgeOn) edgeInk += c != 0;
  EXPECT_LT(edgeInk, ink / 3);
  // Past a full turn it starts again.
  drawAt(2 * qw + 1);
  EXPECT_EQ(w->HiddenSpinPhase, 0);
}

TEST_F(WordDrawingTest, TheSpinAdvancesOnceEveryPeriod) {
  TSpriteWord* w = AddWord("Q", {300, 200});
  w->Text = "?";
  w->HiddenSpinStamp = Now();
  w->HiddenSpinPhase = 0;
  Advance(65);  // 80 - 14 = 66 ms at the normal size
  w->Draw();
  EXPECT_EQ(w->HiddenSpinPhase, 0);
  Advance(1);
  w->Draw();
  EXPECT_EQ(w->HiddenSpinPhase, 1);
  // A big word spins faster, but never faster than every 20 ms.
  w->Scale = 5;
  w->HiddenSpinStamp = Now();
  Advance(20);
  w->Draw();
  EXPECT_EQ(w->HiddenSpinPhase, 2);
}

TEST_F(WordDrawingTest, AHorizontalWordWithAHiddenLetterKeepsItsLettersInPlace) {
  Clear();
  TSpriteWord* w = AddWord("CAT", {300, 200});
  w->Text = "C?T";
  w->Draw();
  int32_t cEnd = 300 + w->TextWidthAt("C");
  int32_t tStart = 300 + w->TextWidthAt("C?");
  // C, the spinning "?" and T each in their own place of the "C?T" layout.
  EXPECT_GT(InkIn(TRect{300, 150, cEnd, 250}, 0).Count, 5);
  EXPECT_GT(InkIn(TRect{cEnd, 150, tStart, 250}, 0).Count, 5);
  EXPECT_GT(InkIn(TRect{tStart, 150, tStart + w->TextWidthAt("T"), 250}, 0).Count, 5);
  EXPECT_LE(InkIn(TRect{0, 0, 800, 600}, 0).Box.Right, 300 + w->TextWidthAt("C?T"));
}

TEST_F(WordDrawingTest, TheIconStandsRightOfTheText) {
  Clear();
  TSpriteWord* w = AddWord("BOMB", {300, 200});
  w->Icon = form->GoldBrickImage.get();  // opaque: every non-black pixel lands
  w->DrawIcon();
  int32_t x = w->IconX();
  TInk ink = InkIn(TRect{0, 0, 800, 600}, 0);
  EXPECT_GT(ink.Count, 16 * 16 / 2);
  EXPECT_GE(ink.Box.Left, x);
  EXPECT_GE(ink.Box.Top, 200);
  EXPECT_LE(ink.Box.Right, x + 16);
  EXPECT_LE(ink.Box.Bottom, 216);
}

TEST_F(WordDrawingTest, LetterBacksStretchThePictureBehindEachLetterFromTheFirstGiven) {
  Clear();
  TSpriteWord* w = AddWord("MW", {300, 200});
  w->SetWordFont(form->Canvas());
  w->DrawLetterBacks(2, *form->GoldBrickImage);
  TSpriteWord::TLayout l = w->TextLayout();
  int32_t m = w->TextWidthAt("M"), mw = w->TextWidthAt("MW");
  int32_t h = form->GoldBrickImage->Height();
  TInk ink = InkIn(TRect{0, 0, 800, 600}, 0);
  EXPECT_GT(ink.Count, (mw - m) * h / 2);
  EXPECT_GE(ink.Box.Left, 300 + m);
  EXPECT_LE(ink.Box.Right, 300 + mw);
  EXPECT_GE(ink.Box.Top, l.TextTop);
  EXPECT_LE(ink.Box.Bottom, l.TextTop + h);
}

}  // namespace
