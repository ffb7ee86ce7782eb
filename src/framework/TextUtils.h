// The two text settings every screen shares.
#pragma once
#include <string_view>

#include "platform/Canvas.h"
#include "platform/Types.h"

// Antialiased glyphs from here on.
void UseSmoothFont(TCanvas& canvas);
// Sets the font size and measures text in the canvas's face.
TSize TextExtentAt(TCanvas& canvas, int size, std::string_view text);
