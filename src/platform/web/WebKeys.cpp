#include "platform/web/WebKeys.h"

#include "platform/Platform.h"

namespace {
struct TNamedKey {
  std::string_view Name;
  uint16_t Code;
};

constexpr TNamedKey NamedKeys[] = {
    {"Backspace", vk::Back}, {"Tab", 9},         {"Enter", vk::Return},   {"Escape", vk::Escape},
    {"Esc", vk::Escape},     {" ", vk::Space},   {"Spacebar", vk::Space}, {"PageUp", 33},
    {"PageDown", 34},        {"End", 35},        {"Home", 36},            {"ArrowLeft", vk::Left},
    {"ArrowUp", vk::Up},     {"ArrowRight", vk::Right}, {"ArrowDown", vk::Down}, {"Insert", 45},
    {"Delete", vk::Delete},  {"Shift", 16},      {"Control", 17},         {"Alt", 18},
    {"AltGraph", 18},        {"Pause", 19},      {"-", 189},              {"=", 187},
    {",", 188},              {".", 190},         {"/", 191},              {";", 186},
};

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
}  // namespace

uint16_t TranslateWebKey(std::string_view key, std::string_view code) {
  if (key.size() == 1 && IsAsciiLetter(key[0])) return static_cast<uint16_t>(key[0] & ~0x20);
  if (key.size() == 1 && key[0] >= '0' && key[0] <= '9') return static_cast<uint16_t>(key[0]);
  // F1 .. F12 are 112 .. 123.
  if (key.size() >= 2 && key.size() <= 3 && key[0] == 'F') {
    int n = 0;
    for (char c : key.substr(1)) n = (c >= '0' && c <= '9') ? n * 10 + (c - '0') : -100;
    if (n >= 1 && n <= 12) return static_cast<uint16_t>(111 + n);
  }
  for (const TNamedKey& k : NamedKeys)
    if (k.Name == key) return k.Code;
  // A letter of another script or with an accent, a dead key: the key in
  // its place stands in, so the game stays playable on any layout.
  const bool printable = !key.empty() && (static_cast<unsigned char>(key[0]) >= 0x80 || key == "Dead");
  if (printable && code.size() == 4 && code.substr(0, 3) == "Key" && IsAsciiLetter(code[3]))
    return static_cast<uint16_t>(code[3] & ~0x20);
  if (printable && code.size() == 6 && code.substr(0, 5) == "Digit" && code[5] >= '0' && code[5] <= '9')
    return static_cast<uint16_t>(code[5]);
  return 0;
}
