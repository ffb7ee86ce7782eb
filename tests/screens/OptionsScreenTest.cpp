#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "screens/OptionsScreen.h"
#include "support/GameFixture.h"

namespace {

class OptionsScreenTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    savedSettingsFile_ = SettingsFile;
    SettingsFile = (std::filesystem::path(HiScoreFolder) / "config" / SettingsFileName).string();
  }
  void TearDown() override {
    SettingsFile = savedSettingsFile_;
    GameFixture::TearDown();
  }
  std::string savedSettingsFile_;
};

// F11 is saved too, and the Fullscreen row follows the window F11 changed (its first Right toggles it).
TEST_F(OptionsScreenTest, TheMenuOpensItKeysChangeTheSettingsAndLeavingSavesThem) {
  uint32_t t0 = Now();
  for (uint32_t t : {3200u, 3250u, 3300u}) platform->KeyAt(t0 + t, vk::Down);  // START -> ... -> OPTIONS
  platform->KeyAt(t0 + 3400, vk::Return);
  platform->KeyAt(t0 + 3600, vk::Right);  // Rules: Typist
  platform->KeyAt(t0 + 3700, vk::Down);
  platform->KeyAt(t0 + 3800, vk::Left);  // Start at wave: 1 wraps to 14
  for (uint32_t t : {3900u, 3950u}) platform->KeyAt(t0 + t, vk::Up);  // wraps to BACK
  platform->KeyAt(t0 + 4000, vk::Return);
  platform->KeyAt(t0 + 4200, 122);  // F11 on the menu, after OPTIONS
  platform->KeyAt(t0 + 4500, vk::Escape);  // quits from the menu
  bool sawOptions = false;
  platform->OnFrame = [&] { sawOptions |= ShowingScreen(*form) == "options"; };
  form->Run();
  EXPECT_TRUE(sawOptions);
  TSettings saved = LoadSettings(SettingsFile);
  EXPECT_EQ(saved.Rules, "Typist");
  EXPECT_EQ(saved.StartWave, MaxStartWave);
  EXPECT_TRUE(saved.Fullscreen);
  EXPECT_EQ(session->Settings(), saved);

  MakeForm({});  // a new run starts with them, fullscreen
  EXPECT_EQ(session->Settings(), saved);
  const auto rows = TOptionsScreen(*session).Rows;
  const size_t row = std::find_if(rows.begin(), rows.end(), [](auto& r) { return r.Label == "Fullscreen"; }) - rows.begin();
  uint32_t t = Now() + 3200;
  platform->KeyAt(t, 122);  // out of fullscreen by the key
  for (int i = 0; i < 3; ++i) platform->KeyAt(t += 20, vk::Down);
  platform->KeyAt(t += 20, vk::Return);  // OPTIONS
  for (size_t i = 0; i < row; ++i) platform->KeyAt(t += 20, vk::Down);
  const uint32_t onRow = t += 100, changed = t += 200;
  platform->KeyAt(onRow + 100, vk::Right);
  for (int i = 0; i < 2; ++i) platform->KeyAt(t += 100, vk::Escape);
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



TEST_F(OptionsScreenTest, EachRulesKeepsItsOwnScoreTable) {
  session->Settings().Rules = "Typist";
  session->ApplySettings();
  form->HiScores->InsertScore(5000, "TYPIST");
  form->HiScores->SaveHiScores();
  EXPECT_TRUE(std::filesystem::exists(HiScoreFilePath(HiScoreTypistFileName)));
  EXPECT_FALSE(std::filesystem::exists(HiScoreFilePath(HiScoreFileName)));

  session->Settings().Rules = "Classic";
  session->ApplySettings();
  EXPECT_EQ(form->HiScores->HighScore, 1000);
  MakeForm({});
  EXPECT_EQ(form->HiScores->HighScore, 1000);
  session->Settings().Rules = "Typist";
  session->ApplySettings();
  EXPECT_EQ(form->HiScores->HighScore, 5000);
}

}  // namespace
