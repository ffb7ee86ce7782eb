// Floating score texts and zooming pictures on a bare stage.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/TextUtils.h"
#include "sprites/SpriteUnit.h"
#include "sprites/StageFixture.h"

namespace {

constexpr TColor Orange = 0x00B6FE;

class EffectsTest : public StageFixture {
 protected:
  void SetUp() override {
    StageFixture::SetUp();
    for (uint32_t& px : picture.Pixels()) px = 0x00C0FF;
  }
  TScoreItem* AddScore(const std::string& text, TBitmap* withPicture) {
    auto* item = new TScoreItem(stage.Canvas(), Point(400, 300), text, withPicture);
    scores.AddObject(item);
    return item;
  }
  // Drawings a score text gets before its list lets it go; each must still
  // show some colour (the font's colour at the last one is kept).
  int DrawingsUntilGone(const std::string& text, TBitmap* withPicture, TColor& last) {
    AddScore(text, withPicture);
    int drawings = 0;
    for (;;) {
      scores.UpdateAll(stage);
      if (scores.Count() == 0) return drawings;
      scores.DrawAll(stage);
      last = stage.Canvas().Font.Color;
      if (++drawings > 1000) return -1;
    }
  }
  TScoreList scores;
  TZoomList zooms;
  TBitmap picture{16, 16};
};

}  // namespace

// A score text is drawn until it has faded to black, then goes; fading is
// counted per drawing, not per millisecond (the clock never moves here).
TEST_F(EffectsTest, ScoreTextGoesOnceFadedToBlackWithOrWithoutText) {
  TColor last = clBlack;
  const int drawings = DrawingsUntilGone("+ 50", nullptr, last);
  EXPECT_GT(drawings, 1);
  EXPECT_NE(last, clBlack);
  EXPECT_EQ(FadeColour(last, clBlack, 3), clBlack);
  EXPECT_EQ(DrawingsUntilGone("", &picture, last), drawings);
}

TEST_F(EffectsTest, ScoreTextEndsAtItsPointAndRisesOnePixelEvery25Ms) {
  TScoreItem* item = AddScore("+ 120", nullptr);
  EXPECT_EQ(item->Position.X + TextExtentAt(stage.Canvas(), 12, "+ 120").cx, 400);
  scores.UpdateAll(stage);  // the first step comes at once
  EXPECT_EQ(item->Position.Y, 299);
  clock.GameTime += 24;
  scores.UpdateAll(stage);
  EXPECT_EQ(item->Position.Y, 299);
  clock.GameTime += 1;
  scores.UpdateAll(stage);
  EXPECT_EQ(item->Position.Y, 298);
}

TEST_F(EffectsTest, ScoreTextFirstLetterIsBlueWithoutPictureAndOrangeWithOne) {
  TCanvas& canvas = stage.Canvas();
  TScoreItem* plain = AddScore("5", nullptr);
  plain->Draw(stage);
  EXPECT_EQ(canvas.Font.Color, clBlue);
  EXPECT_EQ(canvas.Font.Size, 12);

  AddScore("5", &picture)->Draw(stage);
  EXPECT_EQ(canvas.Font.Color, Orange);

  // Later letters alternate yellow (even) and red (odd), and every colour
  // fades by the drawings already made.
  AddScore("+ 1", nullptr)->Draw(stage);
  EXPECT_EQ(canvas.Font.Color, clRed);
  for (int i = 0; i < 9; ++i) plain->Draw(stage);
  EXPECT_EQ(canvas.Font.Color, 0xE40000u);  // blue faded by 27
}

// The picture grows by a pixel each side per drawing, then shrinks back: the
// first drawing shows Counter 1, and 16 is never drawn (the zoom is gone).
TEST_F(EffectsTest, ZoomFirstDrawingShowsCounterOneAndSixteenIsNeverDrawn) {
  zooms.AddObject(new TZoomItem(Point(300, 20), &picture));
  std::vector<int> widths, expected;
  for (int frame = 0; frame < 40 && zooms.Count() > 0; ++frame) {
    ClearScreen();
    zooms.UpdateAll(stage);  // a frame: the update pass, then the drawing pass
    zooms.DrawAll(stage);
    int width = 0;
    for (int x = 0; x < Width; ++x) width += stage.Canvas().GetPixel(x, 28) != clBlack;
    widths.push_back(width);
    clock.GameTime += 25;
  }
  for (int c = 1; c <= 15; ++c) expected.push_back(16 + 2 * std::min(c, 16 - c));
  expected.push_back(0);
  EXPECT_EQ(widths, expected);
  EXPECT_EQ(zooms.Count(), 0);
}

TEST_F(EffectsTest, ZoomAtHalfwayIsSixteenPixelsLargerEachWayAndNoneWithoutAPicture) {
  TZoomItem item(Point(300, 200), &picture), bare(Point(300, 200), nullptr);
  item.Counter = bare.Counter = 8;
  ClearScreen();
  bare.Draw(stage);
  TCanvas& c = stage.Canvas();
  EXPECT_EQ(c.GetPixel(300, 200), clBlack);
  item.Draw(stage);
  EXPECT_EQ(c.GetPixel(292, 192), 0x00C0FFu);  // grown 8 pixels up and left
  EXPECT_EQ(c.GetPixel(323, 223), 0x00C0FFu);  // and 8 down and right
  for (const TPoint outside : {Point(291, 200), Point(324, 200), Point(300, 191), Point(300, 224)})
    EXPECT_EQ(c.GetPixel(outside.X, outside.Y), clBlack) << outside.X << "," << outside.Y;
}
