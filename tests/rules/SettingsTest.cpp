#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/Application.h"
#include "platform/headless/HeadlessPlatform.h"
#include "Game.h"
#include "play/Settings.h"

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterRulesSets();
    std::string pattern = (std::filesystem::temp_directory_path() / "glyphfall-settings-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    path_ = folder_ + "/sub/settings.xml";
    platform_.QuietErrors = true;
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  void Write(const std::string& text) {
    std::filesystem::create_directories(folder_ + "/sub");
    std::ofstream(path_) << text;
  }

  std::string folder_, path_;
  THeadlessPlatform platform_;
  TApplication application_{platform_};
};

// Volume 0 was once read back as the default: the ends of each range are kept,
// a step beyond them falls back.
TEST_F(SettingsTest, EverySettingAndTheEndsOfEachRangeSurviveASaveAndALoad) {
  EXPECT_EQ(LoadSettings(path_), TSettings{});  // no file yet
  TSettings s;
  s.Rules = "Typist";
  s.SpeedPercent = 75;
  s.Fullscreen = s.PixelExact = s.LiveWpm = s.HighContrast = true;
  for (auto [wave, volume] : {std::pair{14, 30}, {MinStartWave, 0}, {MaxStartWave, MaxVolume}}) {
    s.StartWave = wave;
    s.Volume = volume;
    ASSERT_TRUE(SaveSettings(s, path_));  // the folder is made on the way
    EXPECT_EQ(LoadSettings(path_), s) << wave << ' ' << volume;
  }
  for (auto [wave, volume] :
       {std::pair{MinStartWave - 1, -VolumeStep}, std::pair{MaxStartWave + 1, MaxVolume + VolumeStep}})
    EXPECT_EQ(SettingsFromXml("<settings><StartWave>" + std::to_string(wave) + "</StartWave><Volume>" +
                              std::to_string(volume) + "</Volume></settings>"),
              TSettings{})
        << wave << ' ' << volume;
}

TEST_F(SettingsTest, UnknownElementsAreIgnoredAndValuesOutOfRangeFallBack) {
  Write(
      "<settings><Future>x</Future><Rules>Typist</Rules><StartWave>15</StartWave><WordSpeed>80</WordSpeed>"
      "<Volume>35</Volume><Fullscreen>maybe</Fullscreen><Colours>high contrast</Colours><Words>Klingon</Words>"
      "</settings>");
  TSettings s = LoadSettings(path_);
  TSettings expected;
  expected.Rules = "Typist";
  expected.HighContrast = true;
  // A list name is kept: whether it is still installed is decided when the
  // game applies it (it then falls back to English with a message).
  expected.Words = "Klingon";
  EXPECT_EQ(s, expected);
  EXPECT_TRUE(platform_.Errors().empty());
}

TEST_F(SettingsTest, ADamagedFileIsKeptAsBadWithOneMessageAndTheDefaultsAreUsed) {
  for (const std::string text : {"<settings><Rules>Typist</Rules>", "<root><Rules>Typist</Rules></root>"}) {
    Write(text);
    size_t before = platform_.Errors().size();
    EXPECT_EQ(LoadSettings(path_), TSettings{}) << text;
    EXPECT_EQ(platform_.Errors().size(), before + 1);
    EXPECT_FALSE(std::filesystem::exists(path_));
    std::ifstream bad(path_ + ".bad");
    std::stringstream kept;
    kept << bad.rdbuf();
    EXPECT_EQ(kept.str(), text);
  }
}

// A failed save once spoke of a previous file that had never been.
TEST_F(SettingsTest, AFailedSaveSpeaksOfThePreviousFileOnlyWhenThereWasOne) {
  std::ofstream(folder_ + "/sub") << "a file where the folder should be";
  EXPECT_FALSE(SaveSettings(TSettings{}, path_));
  ASSERT_FALSE(platform_.Errors().empty());
  EXPECT_NE(platform_.Errors().back().find("Could not save the settings"), std::string::npos);
  EXPECT_EQ(platform_.Errors().back().find("previous"), std::string::npos) << platform_.Errors().back();

  std::filesystem::remove(folder_ + "/sub");
  std::filesystem::create_directories(path_ + "/inside");  // cannot be replaced
  EXPECT_FALSE(SaveSettings(TSettings{}, path_));
  EXPECT_NE(platform_.Errors().back().find("previous settings file is unchanged"), std::string::npos);
}

}  // namespace
