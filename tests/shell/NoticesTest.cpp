// Messages for the player on the menu, and a replay that reads after the
// mouse was used in play.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "framework/TextUtils.h"
#include "platform/Notices.h"
#include "platform/Utf8.h"
#include "replay/ReplayUnit.h"
#include "support/GameFixture.h"

namespace {

// A text waits once, a dismiss takes one screenful, and a flood is capped.
TEST(Notices, EachTextWaitsOnceAndADismissTakesOneScreenful) {
  TNotices n;
  for (size_t i = 0; i <= TNotices::PerScreen; ++i) n.Add("note " + std::to_string(i)), n.Add("note 0"), n.Add("");
  n.Dismiss();
  EXPECT_EQ(n.Waiting(), std::vector<std::string>{"note " + std::to_string(TNotices::PerScreen)});
  n.Dismiss();
  EXPECT_TRUE(n.Empty());
  for (int i = 0; i < 1000; ++i) n.Add(std::to_string(i));
  EXPECT_LE(n.Waiting().size(), TNotices::MaxWaiting);
}

// The box's lines fit and lose no word; a word too long breaks inside, never
// inside a character, and past the line limit the last line ends in dots.
TEST(WrapText, LinesFitBreakingAtSpacesThenInsideAWordAndEndInDotsPastTheLimit) {
  TBitmap b(10, 10);
  TCanvas& c = b.Canvas();
  c.Font.Size = 14;
  const std::string words = "The settings file is damaged and the default settings are used";
  const std::string path = "/home/" + std::string(300, 'x') + "/words.txt";
  std::vector<std::string> lines = WrapText(c, words, 200, 10), cut = WrapText(c, path, 200, 3);
  ASSERT_EQ(cut.size(), 3u);
  std::string joined;
  for (const std::string& l : lines) joined += (joined.empty() ? "" : " ") + l;
  EXPECT_EQ(joined, words);
  lines.insert(lines.end(), cut.begin(), cut.end());
  for (const std::string& l : lines) EXPECT_LE(c.TextWidth(l), 200) << l;
  EXPECT_EQ(cut[0] + cut[1], path.substr(0, cut[0].size() + cut[1].size()));
  EXPECT_EQ(cut[2].substr(cut[2].size() - 3), "...");
  for (const std::string& l : WrapText(c, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 20, 20))
    EXPECT_TRUE(IsValidUtf8(l)) << l;
}

class NoticesOnTheMenu : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    savedSettingsFile_ = SettingsFile;
    SettingsFile = (std::filesystem::path(HiScoreFolder) / SettingsFileName).string();
  }
  void TearDown() override { SettingsFile = savedSettingsFile_, GameFixture::TearDown(); }
  std::string savedSettingsFile_;
};

// A message shows on the menu until a key, which does nothing else.
TEST_F(NoticesOnTheMenu, ADamagedSettingsFileShowsOnTheMenuUntilAKeyWhichDoesNothingElse) {
  std::ofstream(SettingsFile) << "<Settings><Rules>Typ";
  MakeForm({});  // the report comes before there is a window
  ASSERT_EQ(platform->Notices().Waiting().size(), 1u);
  EXPECT_TRUE(platform->Notices().GameShowsThem);

  const uint32_t t0 = Now();
  platform->KeyAt(t0 + 3500, vk::Escape);  // dismisses; does not quit
  platform->KeyAt(t0 + 4000, vk::Down);
  platform->KeyAt(t0 + 4500, vk::Escape);  // quits
  platform->Schedule({t0 + 30000, THeadlessPlatform::TEventKind::Close});  // a deadline, should no key quit
  auto middleLit = [&] {  // share of lit pixels in the middle band, where the box goes
    int lit = 0;
    for (int y = 240; y < 360; ++y)
      for (int x = 100; x < 700; ++x) lit += platform->LastFrame()->Scanline(y)[x] != clBlack;
    return lit / (120.0 * 600);
  };
  double before = -1, after = -1;
  uint8_t chosenAfter = 0;
  platform->OnFrame = [&] {
    if (ShowingScreen(*form) != "menu") return;
    if (Now() < t0 + 3500) before = middleLit();
    if (Now() > t0 + 4200 && Now() < t0 + 4500) after = middleLit(), chosenAfter = form->Menu->Selected;
  };
  form->Run();
  EXPECT_GT(before, 0.5);  // the box
  EXPECT_TRUE(after >= 0 && after < 0.2) << after;  // still the menu, without the box
  EXPECT_EQ(chosenAfter, MenuHighScores);
  EXPECT_TRUE(platform->Notices().Empty());

  game.reset();
  EXPECT_FALSE(platform->Notices().GameShowsThem);  // a last error finds no menu
}

}  // namespace
