#include <gtest/gtest.h>

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

TEST_F(OptionsScreenTest, TheMenuOpensItKeysChangeTheSettingsAndLeavingSavesThem) {
  uint32_t t0 = Now();
  platform->KeyAt(t0 + 3200, vk::Down);  // START -> HIGH SCORES -> STATS -> OPTIONS
  platform->KeyAt(t0 + 3250, vk::Down);
  platform->KeyAt(t0 + 3300, vk::Down);
  platform->KeyAt(t0 + 3400, vk::Return);
  platform->KeyAt(t0 + 3600, vk::Right);  // Rules: Typist
  platform->KeyAt(t0 + 3700, vk::Down);
  platform->KeyAt(t0 + 3800, vk::Left);  // Start at wave: 1 wraps to 14
  platform->KeyAt(t0 + 3900, vk::Up);
  platform->KeyAt(t0 + 3950, vk::Up);  // wraps to BACK
  platform->KeyAt(t0 + 4000, vk::Return);
  platform->KeyAt(t0 + 4500, vk::Escape);  // quits from the menu
  bool sawOptions = false;
  platform->OnFrame = [&] { sawOptions |= ShowingScreen(*form) == "options"; };
  form->Run();
  EXPECT_TRUE(sawOptions);
  TSettings saved = LoadSettings(SettingsFile);
  EXPECT_EQ(saved.Rules, "Typist");
  EXPECT_EQ(saved.StartWave, MaxStartWave);
  EXPECT_EQ(session->Settings(), saved);

  // A new run starts with them.
  MakeForm({});
  EXPECT_EQ(session->Settings(), saved);
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
