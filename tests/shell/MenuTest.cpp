#include <initializer_list>
#include <memory>

#include "support/GameFixture.h"
#include "words/Ink.h"

class MenuTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    form->BuildMenu();
  }
};

namespace {

// Items with the given ids, the first one chosen.
std::unique_ptr<TMenuList> MenuOf(std::initializer_list<uint8_t> ids) {
  auto menu = std::make_unique<TMenuList>();
  for (uint8_t id : ids) menu->Add(std::make_unique<TMenuItem>(TMenuItem{{0, 0}, "", id}));
  menu->Selected = *ids.begin();
  return menu;
}

}  // namespace

TEST(MenuList, SelectionWrapsAtBothEndsAndRecoversFromAnUnknownOne) {
  auto m = MenuOf({7, 3, 9});
  m->SelectPrevious();
  EXPECT_EQ(m->Selected, 9);
  m->SelectNext();
  EXPECT_EQ(m->Selected, 7);
  m->SelectNext();
  m->SelectNext();
  EXPECT_EQ(m->Selected, 9);
  m->SelectPrevious();
  EXPECT_EQ(m->Selected, 3);
  m->SelectNext();
  m->SelectNext();
  EXPECT_EQ(m->Selected, 7);
  // An unknown selection goes to the last or the first; an empty menu stays put.
  m->Selected = 4;
  EXPECT_EQ(m->SelectedIndex(), -1);
  m->SelectPrevious();
  EXPECT_EQ(m->Selected, 9);
  m->Selected = 99;
  m->SelectNext();
  EXPECT_EQ(m->Selected, 7);
  TMenuList empty;
  empty.Selected = 5;
  empty.SelectNext();
  empty.SelectPrevious();
  EXPECT_EQ(empty.Selected, 5);
}

TEST_F(MenuTest, ItemsAreCentredAndSpacedByAHundred) {
  TMenuList& m = *form->Menu;
  ASSERT_EQ(m.Count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(m.Items(i)->Position.Y, 80 + 100 * i) << i;
  EXPECT_EQ(m.Items(1)->Caption, "HIGH SCORES");
  EXPECT_EQ(m.Items(2)->Caption, "STATS");
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
  EXPECT_EQ(form->Menu->Selected, MenuStats);
  form->MouseMove({}, 2, 190);  // resting pointer
  EXPECT_EQ(form->Menu->Selected, MenuStats);
  form->MouseMove({}, 400, 150);  // between bands: nothing changes
  EXPECT_EQ(form->Menu->Selected, MenuStats);
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
  // Nothing else is drawn: every lit pixel is the help line's.
  TRect help = InkIn(*form->OffscreenImage, {0, 530, 800, 600}).Box;
  EXPECT_GE(help.Top, 560);
  EXPECT_LE(help.Bottom, 595);
  EXPECT_NEAR(help.Left, 800 - help.Right, 4);
  // The middle dot (Windows-1252 0xB7) has a glyph of its own, unlike a
  // character the font lacks.
  TBitmap dot(20, 20);
  dot.Canvas().Font = form->Canvas().Font;
  dot.Canvas().Brush.Style = TBrushStyle::Clear;
  dot.Canvas().Font.Color = clWhite;
  dot.Canvas().TextOut(0, 0, "\xB7");
  EXPECT_GT(InkIn(dot).Count, 0);
}
