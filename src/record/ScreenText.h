// Text on the record's screens: the game's face, bold and smooth, on a clear
// background, as the other screens write it.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "Product.h"
#include "framework/TextUtils.h"
#include "platform/Canvas.h"

constexpr int TitleTextSize = 18;
constexpr TColor TitleTextColour = 0x0047FF;
constexpr int HintTextY = 560;
constexpr TColor HintTextColour = 0xF7DE00;

inline void BeginScreenText(TCanvas& canvas) {
  canvas.Font.Name = GameFontFace;
  canvas.Font.Bold = true;
  UseSmoothFont(canvas);
}

inline void ScreenText(TCanvas& canvas, int x, int y, std::string_view text, TColor colour) {
  canvas.Brush.Style = TBrushStyle::Clear;
  canvas.Font.Color = colour;
  canvas.TextOut(x, y, text);
}

inline void CentredText(TCanvas& canvas, int y, std::string_view text, TColor colour) {
  ScreenText(canvas, (canvas.Target().Width() - canvas.TextWidth(text)) / 2, y, text, colour);
}

// A figure with a fixed number of decimals.
inline std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// The top of a speed scale: a round figure a tenth above the best, so the
// highest bar or dot leaves room for its label.
inline double RoundTop(double best) { return std::max(10.0, std::ceil(best * 1.1 / 10.0) * 10.0); }
