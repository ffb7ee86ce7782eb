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
  ASSERT_EQ(m.Count(), 3);
  EXPECT_EQ(m.Items(0)->Position.Y, 80);
  EXPECT_EQ(m.Items(1)->Position.Y, 180);
  EXPECT_EQ(m.Items(2)->Position.Y, 280);
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
  EXPECT_EQ(form->Menu->Selected, MenuQuit);
  form->MouseMove({}, 2, 190);  // resting pointer
  EXPECT_EQ(form->Menu->Selected, MenuQuit);
  form->MouseMove({}, 400, 150);  // between bands: nothing changes
  EXPECT_EQ(form->Menu->Selected, MenuQuit);
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
