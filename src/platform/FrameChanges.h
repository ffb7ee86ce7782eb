// Which parts of a picture changed since it was last seen, as a few
// rectangles: only those need scaling and sending to the screen.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/Types.h"

class TFrameChanges {
 public:
  // Square tiles of this many pixels are compared and reported whole.
  static constexpr int Tile = 16;

  // Compares the picture with the one seen last and keeps a copy. Returns
  // the changed tiles, joined along each row of tiles and then down where
  // they line up; everything after Invalidate or a change of size.
  const std::vector<TRect>& Update(const uint32_t* pixels, int width, int height);
  void Invalidate() { valid_ = false; }
  // The picture seen last; null before the first.
  const uint32_t* Last() const { return valid_ ? last_.data() : nullptr; }

 private:
  std::vector<uint32_t> last_;
  std::vector<uint8_t> dirty_;  // per tile of one row of tiles
  std::vector<TRect> rects_;
  int width_ = 0;
  int height_ = 0;
  bool valid_ = false;
};
