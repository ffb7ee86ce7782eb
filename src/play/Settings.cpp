// settings.xml: a root element "settings" with one element per setting.
#include "play/Settings.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/Application.h"
#include "platform/Files.h"
#include "platform/Xml.h"
#include "play/Rules.h"

std::string SettingsFile;

namespace {

constexpr char RootName[] = "settings";
// Ours is a few hundred bytes; anything bigger is not a file this game wrote.
constexpr size_t MaxSettingsFileSize = 16 * 1024;

void Report(const std::string& text) {
  if (Application)
    Application->ShowError(text);
  else
    std::fprintf(stderr, "%s\n", text.c_str());
}

// Digits only, with an optional minus sign, and blanks round them.
bool ParseNumber(std::string_view text, int32_t& value) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty()) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

// A whole number in [low, high], or fallback.
int32_t NumberIn(const TXmlNode& root, const char* name, int32_t low, int32_t high, int32_t fallback) {
  TXmlNode n = root.ChildElement(name);
  int32_t v = 0;
  if (!n || !ParseNumber(n.Text(), v) || v < low || v > high) return fallback;
  return v;
}

// One of two words; anything else is the fallback.
bool Choice(const TXmlNode& root, const char* name, const char* no, const char* yes, bool fallback) {
  TXmlNode n = root.ChildElement(name);
  if (!n) return fallback;
  std::string text = n.Text();
  if (text == yes) return true;
  if (text == no) return false;
  return fallback;
}

TSettings FromRoot(const TXmlNode& root) {
  TSettings s;
  const TSettings d;
  // Rules this game does not have fall back to the Classic ones.
  if (TXmlNode n = root.ChildElement("Rules"); n && FindRulesSet(n.Text())) s.Rules = n.Text();
  s.StartWave = NumberIn(root, "StartWave", MinStartWave, MaxStartWave, d.StartWave);
  int32_t speed = NumberIn(root, "WordSpeed", 0, 1000, d.SpeedPercent);
  if (std::find(SpeedChoices.begin(), SpeedChoices.end(), speed) != SpeedChoices.end()) s.SpeedPercent = speed;
  // Any list the options screen offered; one no longer installed falls back
  // to English when the game starts, with a message.
  if (TXmlNode n = root.ChildElement("Words"); n && !n.Text().empty() && n.Text().size() <= MaxWordListName)
    s.Words = n.Text();
  int32_t volume = NumberIn(root, "Volume", 0, MaxVolume, d.Volume);
  if (volume % VolumeStep == 0) s.Volume = volume;
  for (const TSettingSwitch& w : SettingSwitches) s.*w.Field = Choice(root, w.Element, w.Off, w.On, d.*w.Field);
  return s;
}

// A document that parsed but is not ours is as damaged as one that did not.
void CheckRoot(const TXmlDocument& xml, const std::string& what) {
  TXmlNode root = xml.DocumentElement();
  if (!root || root.NodeName() != RootName) throw EXmlParseError(what + ": the root element is not <settings>");
}

}  // namespace

std::string DefaultSettingsFile(const std::string& xdgConfigHome, const std::string& home) {
  namespace fs = std::filesystem;
  // A relative XDG_CONFIG_HOME is ignored, as desktop convention says.
  fs::path base;
  if (!xdgConfigHome.empty() && fs::path(xdgConfigHome).is_absolute())
    base = xdgConfigHome;
  else if (!home.empty())
    base = fs::path(home) / ".config";
  else
    return "";
  return (base / "glyphfall" / SettingsFileName).string();
}

std::string SettingsToXml(const TSettings& s) {
  auto xml = std::make_unique<TXmlDocument>(nullptr);
  TXmlNode root = xml->CreateDocumentElement(RootName);
  root.AddChild("Rules").SetText(s.Rules);
  root.AddChild("StartWave").SetText(std::to_string(s.StartWave));
  root.AddChild("WordSpeed").SetText(std::to_string(s.SpeedPercent));
  root.AddChild("Words").SetText(s.Words);
  root.AddChild("Volume").SetText(std::to_string(s.Volume));
  for (const TSettingSwitch& w : SettingSwitches) root.AddChild(w.Element).SetText(s.*w.Field ? w.On : w.Off);
  return xml->SaveToString();
}

TSettings SettingsFromXml(std::string_view text) {
  auto xml = std::make_unique<TXmlDocument>(nullptr);
  xml->MaxFileSize = MaxSettingsFileSize;
  xml->LoadFromString(text);
  CheckRoot(*xml, "the settings");
  return FromRoot(xml->DocumentElement());
}

TSettings LoadSettings(const std::string& path) {
  if (path.empty()) return {};
  try {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) return {};
    auto xml = std::make_unique<TXmlDocument>(Application);
    xml->MaxFileSize = MaxSettingsFileSize;
    xml->LoadFromFile(path);
    CheckRoot(*xml, path);
    return FromRoot(xml->DocumentElement());
  } catch (const EXmlParseError& e) {
    // Kept for whoever wants to mend it; the next save writes a good one.
    const std::string bad = path + ".bad";
    std::error_code ec;
    std::filesystem::rename(path, bad, ec);
    Report(std::string("The settings file is damaged: ") + e.what() + ". " +
           (ec ? "It could not be kept as " + bad + " (" + ec.message() + ")" : "It was kept as " + bad) +
           "; the default settings are used.");
  } catch (const std::exception& e) {
    Report(std::string("Could not read the settings: ") + e.what() + ". The default settings are used.");
  }
  return {};
}

bool SaveSettings(const TSettings& settings, const std::string& path) {
  if (path.empty()) return true;
  std::error_code ec;
  const auto type = std::filesystem::symlink_status(path, ec).type();
  const bool hadFile = !ec && type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::none;
  try {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder);
    WriteFileAtomically(path, SettingsToXml(settings));
    return true;
  } catch (const std::exception& e) {
    Report(std::string("Could not save the settings: ") + e.what() + "." +
           (hadFile ? " The previous settings file is unchanged." : ""));
    return false;
  }
}
