// What a drawing test looks for on a bitmap: blank it, draw, then see where
// the ink went.
#pragma once
#include <algorithm>
#include <climits>
#include <optional>

#include "platform/Canvas.h"

struct TInk {
  int Count = 0;
  TRect Box{INT_MAX, INT_MAX, -1, -1};  // Right and Bottom exclusive
};

inline void Blank(TBitmap& image) {
  image.Canvas().Brush.Style = TBrushStyle::Solid;
  image.Canvas().Brush.Color = clBlack;
  image.Canvas().FillRect(TRect{0, 0, image.Width(), image.Height()});
}

// The pixels in area (clipped to the image) that are not black, or only
// those of the given colour.
inline TInk InkIn(const TBitmap& image, TRect area = {0, 0, INT_MAX, INT_MAX},
                  std::optional<TColor> colour = std::nullopt) {
  TInk ink;
  for (int y = std::max(area.Top, 0); y < std::min(area.Bottom, image.Height()); ++y)
    for (int x = std::max(area.Left, 0); x < std::min(area.Right, image.Width()); ++x) {
      TColor p = image.Scanline(y)[x] & 0xFFFFFF;
      if (colour ? p != *colour : p == 0) continue;
      ++ink.Count;
      ink.Box = TRect{std::min(ink.Box.Left, x), std::min(ink.Box.Top, y), std::max(ink.Box.Right, x + 1),
                      std::max(ink.Box.Bottom, y + 1)};
    }
  return ink;
}
