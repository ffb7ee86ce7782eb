// Where the 800 x 600 playfield goes in a window of any size, and how its
// pixels get there.
//
// Sharp (the default): the largest picture of the playfield's shape that
// fits, centred, the rest black. Each pixel is first repeated a whole number
// of times (the smallest factor at least the final scale), then the result is
// brought to the final size with linear filtering: pixels stay square and of
// even size, and only the one output pixel on each edge between two of them
// is a blend.
// Pixel-exact: the largest whole-number scale that fits, nearest neighbour
// only; a window too small even for 1x shrinks the picture as sharp does.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/Types.h"

struct TViewport {
  int X = 0;
  int Y = 0;
  int W = 0;
  int H = 0;
  friend bool operator==(const TViewport&, const TViewport&) = default;
};

TViewport FitPlayfield(int windowW, int windowH, int playW, int playH, bool pixelExact);
// The playfield pixel a window pixel shows (the nearer of the two a blended
// pixel mixes), clamped to the playfield; and the first window pixel that
// shows a playfield pixel.
TPoint WindowToPlayfield(const TViewport& v, int x, int y, int playW, int playH);
TPoint PlayfieldToWindow(const TViewport& v, int x, int y, int playW, int playH);
// The size a window opens at: as large as fits in the work area with room for
// its frame, in the playfield's shape (or at a whole scale when pixel-exact),
// and never below the smallest window.
TSize WindowSizeFor(TSize work, TSize frame, int playW, int playH, bool pixelExact);
// The smallest window: the playfield at half size.
TSize MinimumWindowSize(int playW, int playH);

// Scales rectangles of a 0x00BBGGRR picture into a viewport-sized target.
class TSharpScaler {
 public:
  // The source and the viewport sizes; the tables are rebuilt only on change.
  void Configure(int playW, int playH, int outW, int outH);
  int OutWidth() const { return static_cast<int>(cols_.From.size()); }
  int OutHeight() const { return static_cast<int>(rows_.From.size()); }

  // The viewport pixels that depend on the source rectangle r.
  TRect OutputRect(TRect r) const;
  // Writes the viewport pixels that depend on r to out (pitch in pixels,
  // out pointing at the viewport's top-left pixel); swapRedBlue writes
  // 0x00RRGGBB. Returns the rectangle written, in viewport pixels.
  TRect Scale(const uint32_t* src, int srcPitch, TRect r, uint32_t* out, int outPitch, bool swapRedBlue);

 private:
  struct TAxis {
    std::vector<uint16_t> From;    // per output pixel: the source pixel it starts from
    std::vector<uint16_t> Weight;  // and the weight (of 256) of the next one
    std::vector<int> FirstOut;     // per source pixel (and one past): the first output from it or later
    void Build(int inN, int outN);
  };
  TAxis cols_;
  TAxis rows_;
  int playW_ = 0;
  int playH_ = 0;
  std::vector<uint32_t> top_;  // one output row, filtered across, of the upper source row
  std::vector<uint32_t> bottom_;
};
