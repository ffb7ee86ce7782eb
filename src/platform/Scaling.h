// Where the 800 x 600 playfield goes in a window of any size: the largest
// whole-number scale that fits (crisp pixels), or, when even 1x does not fit,
// the largest size that keeps the aspect; centred, the rest black.
#pragma once
#include "platform/Types.h"

struct TViewport {
  int X = 0;
  int Y = 0;
  int W = 0;
  int H = 0;
  friend bool operator==(const TViewport&, const TViewport&) = default;
};

TViewport FitPlayfield(int windowW, int windowH, int playW, int playH);
// Window pixel to playfield pixel (clamped to the playfield) and back.
TPoint WindowToPlayfield(const TViewport& v, int x, int y, int playW, int playH);
TPoint PlayfieldToWindow(const TViewport& v, int x, int y, int playW, int playH);
// The largest whole scale at which a window of playW x playH plus its frame
// fits in the work area; at least 1.
int WindowScaleFor(int workW, int workH, int frameW, int frameH, int playW, int playH);
