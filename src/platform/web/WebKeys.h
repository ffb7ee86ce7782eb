// The browser's key names, translated to the classic virtual-key codes. Kept
// apart from the page's glue so that the translation builds and is tested on
// the desktop too.
#pragma once
#include <cstdint>
#include <string_view>

// key is the KeyboardEvent's key (what the layout gives: "a", "Q", "é",
// "Enter"), code the physical key ("KeyA", "Digit2"). Letters follow the
// layout; a key that gives no Latin letter or digit (another script, an
// accented letter) counts as the key in its place, as on the desktop.
// 0 for keys the game has no code for.
uint16_t TranslateWebKey(std::string_view key, std::string_view code);
