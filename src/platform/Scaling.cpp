#include "platform/Scaling.h"

#include <algorithm>

TViewport FitPlayfield(int windowW, int windowH, int playW, int playH) {
  if (windowW <= 0 || windowH <= 0 || playW <= 0 || playH <= 0) return TViewport{0, 0, playW, playH};
  int scale = std::min(windowW / playW, windowH / playH);
  int w, h;
  if (scale >= 1) {
    w = playW * scale;
    h = playH * scale;
  } else if (static_cast<long long>(windowW) * playH <= static_cast<long long>(windowH) * playW) {
    w = windowW;
    h = static_cast<int>(static_cast<long long>(windowW) * playH / playW);
  } else {
    h = windowH;
    w = static_cast<int>(static_cast<long long>(windowH) * playW / playH);
  }
  return TViewport{(windowW - w) / 2, (windowH - h) / 2, w, h};
}

TPoint WindowToPlayfield(const TViewport& v, int x, int y, int playW, int playH) {
  if (v.W <= 0 || v.H <= 0) return TPoint{x, y};
  // Floor division so that pixels left of the picture map below 0 before the clamp.
  auto map = [](int p, int origin, int size, int play) {
    long long num = static_cast<long long>(p - origin) * play;
    long long q = num >= 0 ? num / size : -((-num + size - 1) / size);
    return static_cast<int>(std::clamp<long long>(q, 0, play - 1));
  };
  return TPoint{map(x, v.X, v.W, playW), map(y, v.Y, v.H, playH)};
}

TPoint PlayfieldToWindow(const TViewport& v, int x, int y, int playW, int playH) {
  return TPoint{v.X + static_cast<int>(static_cast<long long>(x) * v.W / playW),
                v.Y + static_cast<int>(static_cast<long long>(y) * v.H / playH)};
}

int WindowScaleFor(int workW, int workH, int frameW, int frameH, int playW, int playH) {
  int scale = 1;
  while (playW * (scale + 1) + frameW <= workW && playH * (scale + 1) + frameH <= workH) ++scale;
  return scale;
}
