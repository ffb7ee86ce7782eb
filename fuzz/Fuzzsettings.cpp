// The settings reader over arbitrary file contents.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Xml.h"
#include "play/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TSettings s;
  try {
    s = SettingsFromXml(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const EXmlError&) {
    return 0;  // damaged: the loader keeps it aside and uses the defaults
  }
  // Whatever the file said, every value is one the game can play with.
  if (s.StartWave < MinStartWave || s.StartWave > MaxStartWave || s.Volume < 0 || s.Volume > MaxVolume ||
      s.Volume % VolumeStep != 0 || s.Words.empty() || s.Words.size() > MaxWordListName)
    __builtin_trap();
  if (s.SpeedPercent != 75 && s.SpeedPercent != 100 && s.SpeedPercent != 125) __builtin_trap();
  return 0;
}
