// What sprites work with, handed to them by whoever updates and draws them:
// the game clock, the off-screen image they draw on, and the window's outer
// size, over which new stars are scattered.
#pragma once
#include "framework/GameClock.h"
#include "platform/Canvas.h"
#include "platform/Types.h"

struct TStage {
  const TGameClock& Clock;
  TBitmap& Screen;
  // The window with its frame, somewhat larger than the playfield.
  TSize OuterSize;

  TCanvas& Canvas() const { return Screen.Canvas(); }
};
