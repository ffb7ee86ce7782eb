#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/FrameChanges.h"
#include "platform/Scaling.h"

namespace {
constexpr int PlayW = 800, PlayH = 600;

// The picture scaled whole into a viewport-sized buffer.
std::vector<uint32_t> ScaleAll(TSharpScaler& s, const std::vector<uint32_t>& src, int w, int h) {
  std::vector<uint32_t> out(static_cast<size_t>(w) * h, 0xDEADBEEF);
  s.Configure(PlayW, PlayH, w, h);
  s.Scale(src.data(), PlayW, TRect{0, 0, PlayW, PlayH}, out.data(), w, false);
  return out;
}
}  // namespace

TEST(Scaling, ViewportsAndWindowSizes) {
  // Sharp fills the height of a wide screen; pixel-exact keeps whole scales.
  EXPECT_EQ(FitPlayfield(1920, 1080, PlayW, PlayH, false), (TViewport{240, 0, 1440, 1080}));
  EXPECT_EQ(FitPlayfield(1920, 1080, PlayW, PlayH, true), (TViewport{560, 240, 800, 600}));
  EXPECT_EQ(FitPlayfield(3840, 2160, PlayW, PlayH, false), (TViewport{480, 0, 2880, 2160}));
  EXPECT_EQ(FitPlayfield(3840, 2160, PlayW, PlayH, true), (TViewport{720, 180, 2400, 1800}));
  // A window too small for 1x shrinks the picture either way.
  for (bool exact : {false, true}) EXPECT_EQ(FitPlayfield(700, 700, PlayW, PlayH, exact), (TViewport{0, 87, 700, 525}));

  const TSize frame{8, 26};
  EXPECT_EQ(WindowSizeFor({1920, 1080}, frame, PlayW, PlayH, false), (TSize{1404, 1053}));
  EXPECT_EQ(WindowSizeFor({1920, 1080}, frame, PlayW, PlayH, true), (TSize{800, 600}));
  EXPECT_EQ(WindowSizeFor({3840, 2160}, frame, PlayW, PlayH, true), (TSize{2400, 1800}));
  EXPECT_EQ(WindowSizeFor({1280, 1024}, frame, PlayW, PlayH, false), (TSize{1272, 954}));
  EXPECT_EQ(WindowSizeFor({500, 300}, frame, PlayW, PlayH, false), MinimumWindowSize(PlayW, PlayH));
  EXPECT_EQ(MinimumWindowSize(PlayW, PlayH), (TSize{400, 300}));
}

TEST(Scaling, PointerMapsToThePixelShownAtEveryScale) {
  // 1x, 1.8x (1080 lines), 2x, 3.6x (2160 lines).
  for (int h : {600, 1080, 1200, 2160}) {
    const int w = h * 4 / 3;
    TViewport v{13, 7, w, h};
    for (int p = 0; p < PlayW; ++p) {
      int first = PlayfieldToWindow(v, p, 0, PlayW, PlayH).X;
      EXPECT_EQ(WindowToPlayfield(v, first, v.Y, PlayW, PlayH).X, p) << h << " " << p;
      if (p > 0) {
        EXPECT_EQ(WindowToPlayfield(v, first - 1, v.Y, PlayW, PlayH).X, p - 1) << h << " " << p;
      }
    }
    // Outside the picture the nearest edge.
    EXPECT_EQ(WindowToPlayfield(v, 0, 0, PlayW, PlayH), (TPoint{0, 0}));
    EXPECT_EQ(WindowToPlayfield(v, v.X + w + 50, v.Y + h + 50, PlayW, PlayH), (TPoint{PlayW - 1, PlayH - 1}));

    // Stripes one pixel wide: the picture shows what the pointer maps to, no
    // two neighbouring output pixels are both blends, and whole scales blend
    // nothing.
    std::vector<uint32_t> stripes(PlayW * PlayH);
    for (int y = 0; y < PlayH; ++y)
      for (int x = 0; x < PlayW; ++x) stripes[y * PlayW + x] = ((x + y) % 2) ? 0xFFFFFF : 0;
    TSharpScaler s;
    std::vector<uint32_t> out = ScaleAll(s, stripes, w, h);
    const bool whole = h % PlayH == 0;
    for (int row : {0, h / 3, h - 1}) {
      bool lastBlend = false;
      for (int i = 0; i < w; ++i) {
        int green = (out[static_cast<size_t>(row) * w + i] >> 8) & 0xFF;
        TPoint p = WindowToPlayfield(TViewport{0, 0, w, h}, i, row, PlayW, PlayH);
        int shown = ((p.X + p.Y) % 2) ? 255 : 0;
        ASSERT_LE(std::abs(green - shown), 128) << h << " at " << i << "," << row;
        bool blend = green != 0 && green != 255;
        ASSERT_FALSE(whole && blend) << h << " at " << i;
        ASSERT_FALSE(blend && lastBlend) << h << " at " << i;
        lastBlend = blend;
      }
    }
  }
}

TEST(Scaling, ChangedRectanglesScaleExactlyAsTheWholePicture) {
  std::vector<uint32_t> pic(PlayW * PlayH);
  std::srand(7);
  for (uint32_t& p : pic) p = static_cast<uint32_t>(std::rand()) & 0xFFFFFF;
  TSharpScaler s;
  std::vector<uint32_t> out = ScaleAll(s, pic, 1440, 1080);

  TFrameChanges changes;
  EXPECT_EQ(changes.Update(pic.data(), PlayW, PlayH), (std::vector<TRect>{{0, 0, PlayW, PlayH}}));
  EXPECT_TRUE(changes.Update(pic.data(), PlayW, PlayH).empty());
  // One pixel in the corner tile, a block across two tiles down from the
  // top-left edge of a tile (where output pixels mix it with its
  // neighbours): the changes come as whole tiles, one above the other as one.
  pic[0] ^= 0x123456;
  for (int y = 32; y < 60; ++y)
    for (int x = 496; x < 500; ++x) pic[y * PlayW + x] = 0xFFFFFF;
  const std::vector<TRect> rects = changes.Update(pic.data(), PlayW, PlayH);
  EXPECT_EQ(rects, (std::vector<TRect>{{0, 0, 16, 16}, {496, 32, 512, 64}}));
  EXPECT_TRUE(std::equal(pic.begin(), pic.end(), changes.Last()));

  for (const TRect& r : rects) s.Scale(pic.data(), PlayW, r, out.data(), 1440, false);
  EXPECT_EQ(out, ScaleAll(s, pic, 1440, 1080));

  // The screen's own byte order: red and blue change places, in mixed
  // pixels as in plain ones.
  std::vector<uint32_t> swapped(1440 * 1080);
  const TRect o = s.Scale(pic.data(), PlayW, TRect{0, 0, 8, 8}, swapped.data(), 1440, true);
  ASSERT_GT(o.Width() * o.Height(), 0);
  int wrong = 0;
  for (int y = o.Top; y < o.Bottom; ++y)
    for (int x = o.Left; x < o.Right; ++x) {
      const uint32_t p = out[y * 1440 + x];
      wrong += swapped[y * 1440 + x] != (((p & 0xFF) << 16) | (p & 0xFF00) | (p >> 16));
    }
  EXPECT_EQ(wrong, 0);
}
