// Floating score texts and zooming pictures on a headless form.
#include <gtest/gtest.h>

#include <vector>

#include "sprites/SpriteUnit.h"
#include "support/GameFixture.h"

namespace {

constexpr TColor Orange = 0x00B6FE;

class EffectsTest : public GameFixture {
 protected:
  // One frame of the two effect lists: update pass, then draw pass.
  void Frame(TSpriteList& list) {
    list.UpdateAll();
    list.DrawAll();
  }
  // Drawings a score text gets before its list lets it go.
  int DrawingsUntilGone(const std::string& text, TBitmap* picture) {
    form->ScoreItems->AddObject(new TScoreItem(Point(400, 300), text, picture));
    int drawings = 0;
    for (;;) {
      form->ScoreItems->UpdateAll();
      if (form->ScoreItems->Count() == 0) return drawings;
      form->ScoreItems->DrawAll();
      if (++drawings > 1000) return -1;
    }
  }
};

// Keeps the Counter of every drawing, even after the list has destroyed it.
class RecordingZoom : public TZoomItem {
 public:
  RecordingZoom(TPoint p, TBitmap* picture, std::vector<int>& drawn) : TZoomItem(p, picture), drawn_(drawn) {}
  void Draw() override {
    drawn_.push_back(Counter);
    TZoomItem::Draw();
  }

 private:
  std::vector<int>& drawn_;
};

}  // namespace

TEST_F(EffectsTest, ScoreTextLastsEightyFiveDrawingsWithOrWithoutText) {
  EXPECT_EQ(DrawingsUntilGone("+ 50", nullptr), 85);
  // Fading is counted per drawing, not per millisecond: the clock never moved.
  EXPECT_EQ(DrawingsUntilGone("", form->BombImage.get()), 85);
}

TEST_F(EffectsTest, ScoreTextEndsAtItsPointAndRisesOnePixelEvery25Ms) {
  auto* item = new TScoreItem(Point(400, 300), "+ 120", nullptr);
  form->ScoreItems->AddObject(item);
  EXPECT_EQ(item->Position.X + form->TextExtentAt(form->Canvas(), 12, "+ 120").cx, 400);
  form->ScoreItems->UpdateAll();  // the first step comes at once
  EXPECT_EQ(item->Position.Y, 299);
  form->GameTime += 24;
  form->ScoreItems->UpdateAll();
  EXPECT_EQ(item->Position.Y, 299);
  form->GameTime += 1;
  form->ScoreItems->UpdateAll();
  EXPECT_EQ(item->Position.Y, 298);
}

TEST_F(EffectsTest, ScoreTextFirstLetterIsBlueWithoutPictureAndOrangeWithOne) {
  auto* plain = new TScoreItem(Point(400, 300), "5", nullptr);
  form->ScoreItems->AddObject(plain);
  plain->Draw();
  EXPECT_EQ(form->Canvas().Font.Color, clBlue);
  EXPECT_EQ(form->Canvas().Font.Size, 12);

  auto* bonus = new TScoreItem(Point(400, 300), "5", form->ClockImage.get());
  form->ScoreItems->AddObject(bonus);
  bonus->Draw();
  EXPECT_EQ(form->Canvas().Font.Color, Orange);

  // Later letters alternate yellow (even) and red (odd), and every colour
  // fades by the drawings already made.
  auto* longer = new TScoreItem(Point(400, 300), "+ 1", nullptr);
  form->ScoreItems->AddObject(longer);
  longer->Draw();
  EXPECT_EQ(form->Canvas().Font.Color, clRed);
  for (int i = 0; i < 9; ++i) plain->Draw();
  EXPECT_EQ(form->Canvas().Font.Color, 0xE40000u);  // blue faded by 27
}

TEST_F(EffectsTest, ZoomFirstDrawingShowsCounterOneAndSixteenIsNeverDrawn) {
  std::vector<int> drawn;
  form->ZoomItems->AddObject(new RecordingZoom(Point(300, 20), form->BombImage.get(), drawn));
  for (int frame = 0; frame < 40 && form->ZoomItems->Count() > 0; ++frame) {
    Frame(*form->ZoomItems);
    form->GameTime += 25;
  }
  std::vector<int> expected;
  for (int c = 1; c <= 15; ++c) expected.push_back(c);
  EXPECT_EQ(drawn, expected);
  EXPECT_EQ(form->ZoomItems->Count(), 0);
}

TEST_F(EffectsTest, ZoomAtHalfwayIsSixteenPixelsLargerEachWay) {
  TBitmap square(16, 16);
  for (uint32_t& px : square.Pixels()) px = 0x00C0FF;
  TZoomItem item(Point(300, 200), &square);
  item.Counter = 8;
  form->Canvas().Brush.Color = clBlack;
  form->Canvas().FillRect(Rect(0, 0, PlayfieldWidth, PlayfieldHeight));
  item.Draw();
  TCanvas& c = form->Canvas();
  EXPECT_EQ(c.GetPixel(292, 192), 0x00C0FFu);  // grown 8 pixels up and left
  EXPECT_EQ(c.GetPixel(323, 223), 0x00C0FFu);  // and 8 down and right
  EXPECT_EQ(c.GetPixel(291, 200), clBlack);
  EXPECT_EQ(c.GetPixel(324, 200), clBlack);
  EXPECT_EQ(c.GetPixel(300, 191), clBlack);
  EXPECT_EQ(c.GetPixel(300, 224), clBlack);
}

TEST_F(EffectsTest, ZoomWithoutPictureDrawsNothing) {
  TZoomItem item(Point(300, 200), nullptr);
  item.Counter = 4;
  form->Canvas().Brush.Color = clBlack;
  form->Canvas().FillRect(Rect(0, 0, PlayfieldWidth, PlayfieldHeight));
  item.Draw();
  EXPECT_EQ(form->Canvas().GetPixel(300, 200), clBlack);
}
