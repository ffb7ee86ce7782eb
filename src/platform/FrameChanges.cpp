#include "platform/FrameChanges.h"

#include <algorithm>
#include <cstring>

const std::vector<TRect>& TFrameChanges::Update(const uint32_t* pixels, int width, int height) {
  rects_.clear();
  if (width <= 0 || height <= 0) return rects_;
  const size_t count = static_cast<size_t>(width) * height;
  if (!valid_ || width != width_ || height != height_) {
    last_.assign(pixels, pixels + count);
    width_ = width;
    height_ = height;
    valid_ = true;
    rects_.push_back(TRect{0, 0, width, height});
    return rects_;
  }
  const int tilesAcross = (width + Tile - 1) / Tile;
  dirty_.assign(tilesAcross, 0);
  size_t open = 0;  // rects_[open ...] end at the top of this row of tiles
  for (int top = 0; top < height; top += Tile) {
    const int bottom = std::min(top + Tile, height);
    std::fill(dirty_.begin(), dirty_.end(), 0);
    bool any = false;
    for (int y = top; y < bottom; ++y) {
      const uint32_t* now = pixels + static_cast<size_t>(y) * width;
      uint32_t* was = last_.data() + static_cast<size_t>(y) * width;
      if (std::memcmp(now, was, width * sizeof(uint32_t)) == 0) continue;
      for (int t = 0; t < tilesAcross; ++t) {
        const int x = t * Tile, n = std::min(Tile, width - x);
        uint32_t differ = 0;  // a plain loop the compiler turns into vector compares
        for (int i = 0; i < n; ++i) differ |= now[x + i] ^ was[x + i];
        dirty_[t] |= differ != 0;
      }
      std::memcpy(was, now, width * sizeof(uint32_t));
      any = true;
    }
    const size_t rowStart = rects_.size();
    for (int t = 0; any && t < tilesAcross;) {
      if (!dirty_[t]) {
        ++t;
        continue;
      }
      int end = t;
      while (end < tilesAcross && dirty_[end]) ++end;
      TRect r{t * Tile, top, std::min(end * Tile, width), bottom};
      // A run under one of the same width above carries it down.
      auto above = std::find_if(rects_.begin() + open, rects_.begin() + rowStart, [&](const TRect& a) {
        return a.Left == r.Left && a.Right == r.Right && a.Bottom == top;
      });
      if (above != rects_.begin() + rowStart)
        above->Bottom = bottom;
      else
        rects_.push_back(r);
      t = end;
    }
    // Rects that did not reach this row are closed; keep them before the open ones.
    std::stable_partition(rects_.begin() + open, rects_.end(), [&](const TRect& a) { return a.Bottom != bottom; });
    open = static_cast<size_t>(
        std::count_if(rects_.begin(), rects_.end(), [&](const TRect& a) { return a.Bottom != bottom; }));
  }
  return rects_;
}
