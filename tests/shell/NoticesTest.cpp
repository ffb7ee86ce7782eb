// Messages for the player on the menu, the fullscreen setting that follows
// the window, and the options' mouse buttons and wheel.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "framework/TextUtils.h"
#include "platform/Notices.h"
#include "platform/Utf8.h"
#include "replay/ReplayUnit.h"
#include "rules/OptionsScreen.h"
#include "support/GameFixture.h"

namespace {

TEST(Notices, EachTextWaitsOnceAndADismissTakesOneScreenful) {
  TNotices n;
  n.Add("scores not saved");
  n.Add("scores not saved");
  n.Add("");
  EXPECT_EQ(n.Waiting(), std::vector<std::string>{"scores not saved"});
  n.Dismiss();
  EXPECT_TRUE(n.Empty());
  for (size_t i = 0; i < TNotices::PerScreen + 1; ++i) n.Add("note " + std::to_string(i));
  n.Dismiss();
  EXPECT_EQ(n.Waiting(), std::vector<std::string>{"note " + std::to_string(TNotices::PerScreen)});
  n.Dismiss();
  EXPECT_TRUE(n.Empty());
  for (int i = 0; i < 1000; ++i) n.Add(std::to_string(i));
  EXPECT_LE(n.Waiting().size(), TNotices::MaxWaiting);
}

TEST(WrapText, LinesFitBreakingAtSpacesThenInsideAWordAndEndInDotsPastTheLimit) {
  TBitmap b(10, 10);
  TCanvas& c = b.Canvas();
  c.Font.Size = 14;
  const std::string words = "The settings file is damaged and the default settings are used";
  std::vector<std::string> lines = WrapText(c, words, 200, 10);
  ASSERT_GT(lines.size(), 1u);
  std::string joined;
  for (const std::string& l : lines) {
    EXPECT_LE(c.TextWidth(l), 200) << l;
    EXPECT_FALSE(l.empty() || l.front() == ' ' || l.back() == ' ') << l;
    joined += (joined.empty() ? "" : " ") + l;
  }
  EXPECT_EQ(joined, words);

  const std::string path = "/home/" + std::string(300, 'x') + "/words.txt";
  lines = WrapText(c, path, 200, 3);
  ASSERT_EQ(lines.size(), 3u);
  for (const std::string& l : lines) EXPECT_LE(c.TextWidth(l), 200) << l;
  EXPECT_EQ(lines[0] + lines[1], path.substr(0, lines[0].size() + lines[1].size()));
  EXPECT_EQ(lines[2].substr(lines[2].size() - 3), "...");
  // A character of two bytes is never cut in half.
  lines = WrapText(c, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 20, 20);
  for (const std::string& l : lines) EXPECT_TRUE(IsValidUtf8(l)) << l;
}

class NoticesOnTheMenu : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    savedSettingsFile_ = SettingsFile;
    SettingsFile = (std::filesystem::path(HiScoreFolder) / SettingsFileName).string();
  }
  void TearDown() override {
    SettingsFile = savedSettingsFile_;
    GameFixture::TearDown();
  }
  // Share of lit pixels in the middle band of the menu, where the box goes.
  double MiddleLit() const {
    const TBitmap& f = *platform->LastFrame();
    int lit = 0, all = 0;
    for (int y = 240; y < 360; ++y)
      for (int x = 100; x < 700; ++x, ++all) lit += f.Scanline(y)[x] != clBlack;
    return static_cast<double>(lit) / all;
  }
  std::string savedSettingsFile_;
};

TEST_F(NoticesOnTheMenu, ADamagedSettingsFileShowsOnTheMenuUntilAKeyWhichDoesNothingElse) {
  std::ofstream(SettingsFile) << "<Settings><Rules>Typ";
  MakeForm({});  // the report comes before there is a window
  ASSERT_EQ(platform->Notices().Waiting().size(), 1u);
  EXPECT_NE(platform->Notices().Waiting()[0].find("settings"), std::string::npos);
  EXPECT_TRUE(platform->Notices().GameShowsThem);

  const uint32_t t0 = Now();
  platform->KeyAt(t0 + 3500, vk::Escape);  // dismisses; does not quit
  platform->KeyAt(t0 + 4000, vk::Down);
  platform->KeyAt(t0 + 4500, vk::Escape);  // quits
  double before = -1, after = -1;
  uint8_t chosenAfter = 0;
  platform->OnFrame = [&] {
    if (form->Screen != TGlyphfallForm::TScreen::Menu) return;
    if (Now() < t0 + 3500) before = MiddleLit();
    if (Now() > t0 + 4200 && Now() < t0 + 4500) after = MiddleLit(), chosenAfter = form->Menu->Selected;
  };
  form->Run();
  EXPECT_GT(before, 0.5);  // the box
  EXPECT_GE(after, 0);     // the menu was still there after the first Escape
  EXPECT_LT(after, 0.2);
  EXPECT_EQ(chosenAfter, MenuHighScores);
  EXPECT_TRUE(platform->Notices().Empty());

  form.reset();
  EXPECT_FALSE(platform->Notices().GameShowsThem);  // a last error finds no menu
}

TEST_F(NoticesOnTheMenu, F11IsSavedAndTheOptionsRowShowsAndTogglesTheWindowsRealState) {
  platform->KeyAt(Now() + 3200, 122);  // F11 on the menu
  platform->KeyAt(Now() + 3400, vk::Escape);
  form->Run();
  EXPECT_TRUE(platform->Fullscreen());
  EXPECT_TRUE(LoadSettings(SettingsFile).Fullscreen);

  MakeForm({});  // starts fullscreen, as saved
  int row = 0;
  for (const TOptionRow& r : TOptionsScreen(*form).Rows) {
    if (r.Label == "Fullscreen") break;
    ++row;
  }
  uint32_t t = Now() + 3200;
  platform->KeyAt(t, 122);  // out of fullscreen by the key
  for (int i = 0; i < 3; ++i) platform->KeyAt(t += 20, vk::Down);
  platform->KeyAt(t += 20, vk::Return);  // OPTIONS
  for (int i = 0; i < row; ++i) platform->KeyAt(t += 20, vk::Down);
  const uint32_t onRow = t += 100;
  platform->KeyAt(t += 100, vk::Right);
  const uint32_t changed = t += 100;
  platform->KeyAt(t += 100, vk::Escape);
  platform->KeyAt(t += 100, vk::Escape);
  std::string before, after;
  bool fullscreenAfter = false;
  platform->OnFrame = [&] {
    if (!form->Options) return;
    const TOptionRow& r = form->Options->Rows[static_cast<size_t>(row)];
    if (Now() < onRow) before = r.Value(form->Settings);
    if (Now() < changed) after = r.Value(form->Settings), fullscreenAfter = platform->Fullscreen();
  };
  form->Run();
  EXPECT_EQ(before, "off");
  EXPECT_EQ(after, "on");
  EXPECT_TRUE(fullscreenAfter);  // the first Right did it
  EXPECT_TRUE(LoadSettings(SettingsFile).Fullscreen);
}

TEST_F(NoticesOnTheMenu, OnOptionsTheRightButtonStepsBackAndTheWheelStepsTheRowUnderThePointer) {
  TOptionsScreen screen(*form);
  auto y = [&](int row) { return screen.RowY(row) + 5; };
  const int wave = 1, speed = 2;
  form->Settings.StartWave = 3;
  screen.Selected = wave;
  screen.Click(TMouseButton::Right, 300, y(wave));
  EXPECT_EQ(form->Settings.StartWave, 2);
  screen.Click(TMouseButton::Left, 300, y(wave));
  screen.Click(TMouseButton::Left, 300, y(wave));
  EXPECT_EQ(form->Settings.StartWave, 4);

  screen.Click(TMouseButton::WheelUp, 300, y(speed));
  EXPECT_EQ(form->Settings.SpeedPercent, 125);
  EXPECT_EQ(screen.Selected, speed);
  screen.Click(TMouseButton::WheelDown, 300, y(speed));
  screen.Click(TMouseButton::WheelDown, 300, y(speed));
  EXPECT_EQ(form->Settings.SpeedPercent, 75);
  const TSettings now = form->Settings;
  screen.Click(TMouseButton::WheelUp, 300, (y(wave) + y(speed)) / 2 + 12);  // between rows
  screen.Click(TMouseButton::WheelUp, 300, y(static_cast<int>(screen.Rows.size()) - 1));  // BACK
  EXPECT_EQ(form->Settings, now);
  EXPECT_FALSE(screen.Done);
}

TEST_F(NoticesOnTheMenu, AWheelTurnedDuringAGameLeavesItsReplayReadable) {
  const std::string folder = std::filesystem::path(HiScoreFolder) / "replays";
  form->KeepReplaysIn(folder);
  form->BuildMenu();
  platform->ClickAt(Now() + 300, 400, 300, TMouseButton::WheelDown);
  platform->ClickAt(Now() + 400, 400, 300, TMouseButton::Right);
  platform->KeyAt(Now() + 500, 'Q');  // a game with nothing typed is not kept
  platform->KeyAt(Now() + 600, vk::Escape);
  form->PlayGame();
  ASSERT_FALSE(form->LastReplay.empty());
  EXPECT_NO_THROW(LoadReplay(folder + "/" + form->LastReplay));
}

}  // namespace
