// The two text settings every screen shares.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Types.h"

// Antialiased glyphs from here on.
void UseSmoothFont(TCanvas& canvas);
// Sets the font size and measures text in the canvas's face.
TSize TextExtentAt(TCanvas& canvas, int size, std::string_view text);

// The text in lines no wider than width in the canvas's font, broken at
// spaces, and inside a word (a long path) where it must. Past maxLines the
// last line ends in "...".
std::vector<std::string> WrapText(TCanvas& canvas, std::string_view text, int width, size_t maxLines);
