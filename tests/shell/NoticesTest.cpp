// Messages for the player on the menu, the fullscreen setting that follows
// the window, and the options' mouse buttons and wheel.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "framework/TextUtils.h"
#include "platform/Notices.h"
#include "platform/Utf8.h"
#include "replay/ReplayUnit.h"
#include "screens/OptionsScreen.h"
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

// The Fullscreen row follows the window F11 changed (its first Right toggles it); F11 is saved.
TEST_F(NoticesOnTheMenu, F11IsSavedAndTheOptionsRowShowsAndTogglesTheWindowsRealState) {
  platform->KeyAt(Now() + 3200, 122);  // F11 on the menu
  platform->KeyAt(Now() + 3400, vk::Escape);
  form->Run();
  EXPECT_TRUE(LoadSettings(SettingsFile).Fullscreen);

  MakeForm({});  // starts fullscreen, as saved
  const auto rows = TOptionsScreen(*session).Rows;
  const size_t row = std::find_if(rows.begin(), rows.end(), [](auto& r) { return r.Label == "Fullscreen"; }) - rows.begin();
  uint32_t t = Now() + 3200;
  platform->KeyAt(t, 122);  // out of fullscreen by the key
  for (int i = 0; i < 3; ++i) platform->KeyAt(t += 20, vk::Down);
  platform->KeyAt(t += 20, vk::Return);  // OPTIONS
  for (size_t i = 0; i < row; ++i) platform->KeyAt(t += 20, vk::Down);
  const uint32_t onRow = t += 100, changed = t += 200;
  platform->KeyAt(onRow + 100, vk::Right);
  platform->KeyAt(t += 100, vk::Escape);
  platform->KeyAt(t += 100, vk::Escape);
  std::string before, after;
  bool fullscreenAfter = false;
  platform->OnFrame = [&] {
    auto* options = dynamic_cast<TOptionsScreen*>(form->Screens.Top());
    if (!options) return;
    if (Now() < onRow) before = options->Rows[row].Value(session->Settings());
    if (Now() < changed) after = options->Rows[row].Value(session->Settings()), fullscreenAfter = platform->Fullscreen();
  };
  form->Run();
  EXPECT_EQ(before + "/" + after, "off/on");
  EXPECT_TRUE(fullscreenAfter);  // the first Right did it
  EXPECT_TRUE(LoadSettings(SettingsFile).Fullscreen);
}

// A wheel or right click in play must still leave a replay that reads.
TEST_F(NoticesOnTheMenu, AWheelTurnedDuringAGameLeavesItsReplayReadable) {
  const std::string folder = std::filesystem::path(HiScoreFolder) / "replays";
  session->KeepReplaysIn(folder);
  form->BuildMenu();
  platform->ClickAt(Now() + 300, 400, 300, TMouseButton::WheelDown);
  platform->ClickAt(Now() + 400, 400, 300, TMouseButton::Right);
  platform->KeyAt(Now() + 500, 'Q');  // a game without a letter typed is not kept
  platform->KeyAt(Now() + 600, vk::Escape);
  PlayWholeGame();
  ASSERT_FALSE(session->LastReplay().empty());
  EXPECT_NO_THROW(LoadReplay(folder + "/" + session->LastReplay()));
}

}  // namespace
