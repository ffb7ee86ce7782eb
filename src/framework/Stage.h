// What sprites work with, handed to them by whoever updates and draws them:
// the game clock, the off-screen image they draw on, and the window's outer
// size, over which new stars are scattered.
#pragma once
#include <algorithm>
#include <cstdint>

#include "framework/GameClock.h"
#include "platform/Canvas.h"
#include "platform/Types.h"

struct TStage {
  const TGameClock& Clock;
  TBitmap& Screen;
  // The window with its frame, somewhat larger than the playfield.
  TSize OuterSize;

  // The pace of the game being played, in percent of the game as built.
  int32_t SpeedPercent = 100;
  // Pure blue, hard to read on black, is lightened.
  bool HighContrast = false;

  TCanvas& Canvas() const { return Screen.Canvas(); }
  // An interval of the words' clocks at the game's pace (unchanged at 100 %),
  // rounded to the nearest millisecond and never below one.
  uint32_t Paced(uint32_t ms) const {
    if (SpeedPercent == 100 || SpeedPercent <= 0) return ms;
    return std::max<uint32_t>(1, (ms * 100u + static_cast<uint32_t>(SpeedPercent) / 2) /
                                     static_cast<uint32_t>(SpeedPercent));
  }
  // A colour as drawn.
  TColor ShownColour(TColor colour) const { return HighContrast && colour == clBlue ? HighContrastBlue : colour; }
  // Pure blue on black is hard to read; this one has more than 4.5 : 1.
  static constexpr TColor HighContrastBlue = 0xFF6060;
};
