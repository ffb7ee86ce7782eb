#include "support/GameFixture.h"

class MenuTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    form->BuildMenu();
  }
};

TEST_F(MenuTest, SelectionWrapsAtBothEnds) {
  TMenuList& m = *form->Menu;
  EXPECT_EQ(m.Selected, MenuStart);
  m.SelectPrevious();
  EXPECT_EQ(m.Selected, MenuQuit);
  m.SelectNext();
  EXPECT_EQ(m.Selected, MenuStart);
  m.SelectNext();
  m.SelectNext();
  m.SelectNext();
  EXPECT_EQ(m.Selected, MenuQuit);
  m.SelectNext();
  EXPECT_EQ(m.Selected, MenuStart);
}

TEST_F(MenuTest, UnknownSelectionGoesToLastOrFirst) {
  TMenuList& m = *form->Menu;
  m.Selected = 3;
  EXPECT_EQ(m.SelectedIndex(), -1);
  m.SelectPrevious();
  EXPECT_EQ(m.Selected, MenuQuit);
  m.Selected = 99;
  m.SelectNext();
  EXPECT_EQ(m.Selected, MenuStart);
}

TEST_F(MenuTest, ItemsAreCentredAndSpacedByAHundred) {
  TMenuList& m = *form->Menu;
  ASSERT_EQ(m.Count(), 4);
  EXPECT_EQ(m.Items(0)->Position.Y, 80);
  EXPECT_EQ(m.Items(1)->Position.Y, 180);
  EXPECT_EQ(m.Items(2)->Position.Y, 280);
  EXPECT_EQ(m.Items(3)->Position.Y, 380);
  EXPECT_EQ(m.Items(1)->Caption, "HIGH SCORES");
  int w = TextExtentAt(form->Canvas(), 30, "HIGH SCORES").cx;
  EXPECT_EQ(m.Items(1)->Position.X, (800 - w) / 2);
}

TEST_F(MenuTest, HoverBandsSpanTheWholeWidthAndARestingPointerKeepsTheKeysChoice) {
  form->MenuActive = true;
  form->LastMousePos = {5, 185};
  form->MouseMove({}, 5, 185);  // no real movement: ignored
  EXPECT_EQ(form->Menu->Selected, MenuStart);
  form->MouseMove({}, 2, 190);  // far left, still the HIGH SCORES band
  EXPECT_EQ(form->Menu->Selected, MenuHighScores);
  form->KeyDown(vk::Down, {});
  EXPECT_EQ(form->Menu->Selected, MenuOptions);
  form->MouseMove({}, 2, 190);  // resting pointer
  EXPECT_EQ(form->Menu->Selected, MenuOptions);
  form->MouseMove({}, 400, 150);  // between bands: nothing changes
  EXPECT_EQ(form->Menu->Selected, MenuOptions);
  form->MouseDown(TMouseButton::Left, {}, 400, 150);
  EXPECT_FALSE(form->MenuActive);
  EXPECT_EQ(form->LastKey, vk::Return);
}

TEST_F(MenuTest, ClickChoosesTheHoveredItem) {
  platform->ClickAt(Now() + 3300, 700, 185);
  platform->KeyAt(Now() + 3600, vk::Escape);  // leaves the high-score screen
  platform->KeyAt(Now() + 3900, vk::Escape);  // closes the window from the menu
  TPlayStats& seen = Watch();
  form->Run();
  EXPECT_EQ(seen.GamesPlayed, 0);
}

TEST_F(MenuTest, HelpLineSitsCentredAtTheFootWithItsDots) {
  form->DrawMenu();
  const TBitmap& b = *form->OffscreenImage;
  // Nothing else is drawn: every lit pixel is the help line's.
  int left = b.Width(), right = -1, top = b.Height(), bottom = -1;
  for (int y = 480; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Scanline(y)[x] != clBlack) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  EXPECT_GE(top, 560);
  EXPECT_LT(bottom, 595);
  EXPECT_NEAR(left, b.Width() - 1 - right, 4);
  // The middle dot (Windows-1252 0xB7) has a glyph of its own, unlike a
  // character the font lacks.
  TBitmap dot(20, 20);
  dot.Canvas().Font = form->Canvas().Font;
  dot.Canvas().Brush.Style = TBrushStyle::Clear;
  dot.Canvas().Font.Color = clWhite;
  dot.Canvas().TextOut(0, 0, "\xB7");
  EXPECT_TRUE(std::any_of(dot.Pixels().begin(), dot.Pixels().end(), [](uint32_t p) { return p != 0; }));
}
