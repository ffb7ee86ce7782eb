// What the player chose on the options screen, and settings.xml that keeps
// it between runs.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>


constexpr int32_t MinStartWave = 1;
constexpr int32_t MaxStartWave = 14;
constexpr int32_t NormalSpeed = 100;
constexpr std::array<int32_t, 3> SpeedChoices = {75, 100, 125};
constexpr int32_t VolumeStep = 10;
constexpr int32_t MaxVolume = 100;
constexpr char DefaultWordList[] = "English";
// The rules of the game as first built.
constexpr char ClassicRules[] = "Classic";
constexpr char SettingsFileName[] = "settings.xml";
// A word list's name longer than this is not one the game offered.
constexpr size_t MaxWordListName = 200;

struct TSettings {
  // The name of a registered rules set.
  std::string Rules = ClassicRules;
  int32_t StartWave = MinStartWave;
  int32_t SpeedPercent = NormalSpeed;  // every tier's pace, 100 = the game as built
  std::string Words = DefaultWordList;
  int32_t Volume = MaxVolume;  // percent, applied to every effect
  bool Fullscreen = false;
  bool PixelExact = false;  // whole-number scales only
  bool LiveWpm = false;     // current WPM under the score
  bool HighContrast = false;
  bool AccentsExact = false;  // only the accented key hits an accented letter

  // Only a game of the bundled list from the first wave at the normal pace
  // enters a score table.
  bool Ranked() const { return StartWave == MinStartWave && SpeedPercent == NormalSpeed && Words == DefaultWordList; }
  bool operator==(const TSettings&) const = default;
};

// The settings that are one of two words, spelt the same in settings.xml and
// on the options screen.
struct TSettingSwitch {
  const char* Element;
  bool TSettings::*Field;
  const char* Off;
  const char* On;
};
inline constexpr std::array<TSettingSwitch, 5> SettingSwitches = {{
    {"Fullscreen", &TSettings::Fullscreen, "off", "on"},
    {"Scaling", &TSettings::PixelExact, "sharp", "pixel-exact"},
    {"LiveWpm", &TSettings::LiveWpm, "off", "on"},
    {"Colours", &TSettings::HighContrast, "classic", "high contrast"},
    {"Accents", &TSettings::AccentsExact, "either", "exact"},
}};


// Where the settings are read from and saved to; empty means nowhere (the
// defaults, nothing saved), which is what tests and the simulator get unless
// they name a file. The program sets it from --settings or the default below.
extern std::string SettingsFile;
// $XDG_CONFIG_HOME/glyphfall/settings.xml, by default ~/.config/glyphfall/;
// empty when neither variable is set.
std::string DefaultSettingsFile(const std::string& xdgConfigHome, const std::string& home);

// Never fails: a missing file gives the defaults; a damaged one is kept as
// path.bad, reported once, and the defaults are used; unknown elements are
// ignored and a value out of range falls back to its default.
TSettings LoadSettings(const std::string& path);
// The settings as the file holds them (the XML text), and back.
std::string SettingsToXml(const TSettings& settings);
TSettings SettingsFromXml(std::string_view text);
// Written atomically, the folders made on the way; false after a reported
// failure, the old file unchanged.
bool SaveSettings(const TSettings& settings, const std::string& path);
