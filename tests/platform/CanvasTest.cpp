// Pixel tests of the canvas primitives: each checks the pixels a primitive
// must paint and the ones it must leave alone, edges included.
#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "platform/Canvas.h"

namespace {

constexpr TColor Back = 0x123456;
constexpr TColor Paint = 0x00FF00;

// A bitmap filled with Back.
void Fill(TBitmap& b, int w, int h, TColor c = Back) {
  b.SetSize(w, h);
  for (auto& p : b.Pixels()) p = c;
}

// Counts pixels of colour c inside and outside r.
struct TCount {
  int Inside = 0, Outside = 0;
};
TCount CountColour(const TBitmap& b, TColor c, const TRect& r) {
  TCount n;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Scanline(y)[x] == c) {
        bool in = x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
        (in ? n.Inside : n.Outside)++;
      }
  return n;
}

// FillRect paints exactly its part inside the bitmap, right and bottom edges
// excluded, whatever the brush style. Full-width bands are filled as one run;
// black takes a faster path of its own.
TEST(Canvas, FillRectPaintsOnlyItsPartInsideTheBitmap) {
  const TRect none{};
  const std::tuple<TRect, TRect, TColor> cases[] = {
      {Rect(-5, -5, 3, 2), Rect(0, 0, 3, 2), Paint},   {Rect(7, 6, 100, 100), Rect(7, 6, 10, 8), Paint},
      {Rect(-3, 2, 20, 5), Rect(0, 2, 10, 5), Paint},  {Rect(-3, 2, 20, 5), Rect(0, 2, 10, 5), 0},
      {Rect(3, 3, 1, 1), none, Paint},                 {Rect(INT_MAX, INT_MAX, INT_MIN, INT_MIN), none, Paint},
      {Rect(INT_MIN, 8, INT_MAX, INT_MAX), none, Paint}, {Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), Rect(0, 0, 10, 8), 0}};
  for (auto [fill, painted, colour] : cases) {
    TBitmap b;
    Fill(b, 10, 8);
    b.Canvas().Brush.Color = colour;
    b.Canvas().Brush.Style = colour ? TBrushStyle::Clear : TBrushStyle::Solid;
    b.Canvas().FillRect(fill);
    const TCount n = CountColour(b, colour, painted);
    EXPECT_EQ(n.Inside, painted.Width() * painted.Height()) << fill.Left << "," << fill.Top;
    EXPECT_EQ(n.Outside, 0) << fill.Left << "," << fill.Top;
  }
}

TEST(Canvas, PixelsOutsideTheBitmap) {
  TBitmap b;
  Fill(b, 3, 2);
  TCanvas& c = b.Canvas();
  for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {INT_MIN, INT_MAX}}) {
    c.SetPixel(x, y, Paint);
    EXPECT_EQ(c.GetPixel(x, y), 0xFFFFFFFFu);
  }
  EXPECT_EQ(CountColour(b, Paint, Rect(0, 0, 3, 2)).Inside, 0);
  c.SetPixel(2, 1, 0xFF00FF00);  // the unused top byte is dropped
  EXPECT_EQ(c.GetPixel(2, 1), Paint);
}

TEST(Canvas, BitmapSizeAndTransparentColour) {
  TBitmap b(3, 2);
  EXPECT_EQ(b.Pixels().size(), 6u);
  b.Scanline(1)[0] = 0xABCDEF;
  EXPECT_EQ(b.TransparentColor(), 0xABCDEFu);  // bottom-left pixel
  b.SetTransparentColor(0x000001);
  EXPECT_EQ(b.TransparentColor(), 0x000001u);

  TBitmap copy;
  copy.CopyFrom(b);
  EXPECT_EQ(copy.Width(), 3);
  EXPECT_EQ(copy.TransparentColor(), 0x000001u);

  b.SetSize(-4, 10);  // a negative side means an empty bitmap, not a huge one
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 0);
  EXPECT_TRUE(b.Pixels().empty());
  TBitmap empty;
  EXPECT_EQ(empty.TransparentColor(), 0u);
}

// A 3 × 3 picture whose bottom-left (and centre) pixel is the key colour.
void MakeKeyedPicture(TBitmap& p, TColor key) {
  Fill(p, 3, 3, 0x0000FF);
  p.Scanline(2)[0] = key;
  p.Scanline(1)[1] = key;
}

TEST(Canvas, DrawTransparentLeavesOutTheKeyColour) {
  TBitmap dst, pic;
  Fill(dst, 6, 6);
  MakeKeyedPicture(pic, 0x00FF00);
  pic.Transparent = true;
  dst.Canvas().Draw(2, 2, pic);
  EXPECT_EQ(dst.Canvas().GetPixel(3, 3), Back);  // key pixels: background shows, the other seven are painted
  EXPECT_EQ(dst.Canvas().GetPixel(2, 4), Back);
  TCount n = CountColour(dst, 0x0000FF, Rect(2, 2, 5, 5));
  EXPECT_EQ(n.Inside, 7);
  EXPECT_EQ(n.Outside, 0);
  // A copy is keyed like its original; CopyRect copies every pixel, the key too.
  TBitmap copy;
  copy.CopyFrom(pic);
  Fill(dst, 6, 6);
  dst.Canvas().Draw(2, 2, copy);
  EXPECT_EQ(dst.Canvas().GetPixel(3, 3), Back);
  dst.Canvas().CopyRect(Rect(2, 2, 5, 5), pic, Rect(0, 0, 3, 3));
  EXPECT_EQ(dst.Canvas().GetPixel(3, 3), 0x00FF00u);

  // Opaque, the key colour is copied too.
  Fill(dst, 6, 6);
  pic.Transparent = false;
  dst.Canvas().Draw(2, 2, pic);
  EXPECT_EQ(dst.Canvas().GetPixel(3, 3), 0x00FF00u);

  // A colour set explicitly replaces the bottom-left pixel as the key.
  Fill(dst, 6, 6);
  pic.Transparent = true;
  pic.SetTransparentColor(0x0000FF);
  dst.Canvas().Draw(0, 0, pic);
  EXPECT_EQ(CountColour(dst, 0x0000FF, Rect(0, 0, 6, 6)).Inside, 0);
  EXPECT_EQ(CountColour(dst, 0x00FF00, Rect(0, 0, 3, 3)).Inside, 2);
}

// Rows wider than a few pixels take the four-at-a-time path; its tail and
// the bits above the colour must behave exactly as the single-pixel path.
TEST(Canvas, DrawTransparentOnWideRows) {
  const TColor key = 0x00FF00;
  TBitmap dst, pic;
  Fill(dst, 13, 2);
  pic.SetSize(11, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 11; ++x) pic.Scanline(y)[x] = (x * 7 + y) % 3 == 0 ? key : 0x010000u * x + y;
  pic.Scanline(0)[5] = 0xFF000000u | key;        // a key colour with stray high bits is still the key
  pic.Scanline(1)[9] = 0xFF000000u | 0x0000FFu;  // painted without its high bits
  pic.SetTransparentColor(key);
  pic.Transparent = true;
  dst.Canvas().Draw(1, 0, pic);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 11; ++x) {
      uint32_t s = pic.Scanline(y)[x] & 0xFFFFFF;
      EXPECT_EQ(dst.Canvas().GetPixel(x + 1, y), s == key ? Back : s) << x << "," << y;
    }
  EXPECT_EQ(dst.Canvas().GetPixel(0, 0), Back);
  EXPECT_EQ(dst.Canvas().GetPixel(12, 1), Back);
}

TEST(Canvas, DrawClipsAtEveryEdge) {
  TBitmap dst, pic;
  Fill(pic, 3, 3, 0x0000FF);
  for (auto [x, y] : {std::pair{-2, -2}, {4, 4}, {-2, 4}, {4, -2}}) {
    Fill(dst, 5, 5);
    dst.Canvas().Draw(x, y, pic);
    // Only one corner pixel of the picture lands inside the 5 × 5 bitmap.
    TRect visible = Rect(std::max(x, 0), std::max(y, 0), std::min(x + 3, 5), std::min(y + 3, 5));
    TCount red = CountColour(dst, 0x0000FF, visible);
    EXPECT_EQ(red.Inside, 1) << x << "," << y;
    EXPECT_EQ(red.Outside, 0);
  }
  Fill(dst, 5, 5);
  dst.Canvas().Draw(INT_MAX, INT_MIN, pic);
  dst.Canvas().Draw(INT_MIN, INT_MAX - 1, pic);
  EXPECT_EQ(CountColour(dst, Back, Rect(0, 0, 5, 5)).Inside, 25);
}

// A 4 × 2 picture with a different colour in every pixel.
void MakeGradient(TBitmap& p) {
  p.SetSize(4, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) p.Scanline(y)[x] = static_cast<TColor>(0x10 * (x + 1) + 0x1000 * (y + 1));
}

TEST(Canvas, CopyRectScalesAndMirrors) {
  TBitmap src, dst;
  MakeGradient(src);
  Fill(dst, 10, 6);
  TCanvas& c = dst.Canvas();

  c.CopyRect(Rect(0, 0, 8, 2), src, Rect(0, 0, 4, 2));  // twice as wide
  for (int x = 0; x < 8; ++x) EXPECT_EQ(c.GetPixel(x, 0), src.Scanline(0)[x / 2]) << x;
  EXPECT_EQ(c.GetPixel(8, 0), Back);

  c.CopyRect(Rect(4, 2, 0, 4), src, Rect(0, 0, 4, 2));  // left and right swapped
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(c.GetPixel(x, 2), src.Scanline(0)[3 - x]) << x;
    EXPECT_EQ(c.GetPixel(x, 3), src.Scanline(1)[3 - x]) << x;
  }
  EXPECT_EQ(c.GetPixel(4, 2), Back);

  c.CopyRect(Rect(6, 6, 10, 4), src, Rect(0, 0, 4, 2));  // top and bottom swapped
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(c.GetPixel(6 + x, 4), src.Scanline(1)[x]);
    EXPECT_EQ(c.GetPixel(6 + x, 5), src.Scanline(0)[x]);
  }
  EXPECT_EQ(c.GetPixel(5, 4), Back);

  // Mirrored in place.
  TBitmap row0;
  row0.CopyFrom(src);
  src.Canvas().CopyRect(Rect(4, 0, 0, 1), src, Rect(0, 0, 4, 1));
  for (int x = 0; x < 4; ++x) EXPECT_EQ(src.Scanline(0)[x], row0.Scanline(0)[3 - x]);
}

TEST(Canvas, CopyRectOfPartOfThePictureAndOffTheEdges) {
  TBitmap src, dst;
  MakeGradient(src);
  Fill(dst, 4, 4);
  TCanvas& c = dst.Canvas();
  // One source row, the middle two columns, into a 2 × 1 target.
  c.CopyRect(Rect(1, 1, 3, 2), src, Rect(1, 1, 3, 2));
  EXPECT_EQ(c.GetPixel(1, 1), src.Scanline(1)[1]);
  EXPECT_EQ(c.GetPixel(2, 1), src.Scanline(1)[2]);
  EXPECT_EQ(CountColour(dst, Back, Rect(1, 1, 3, 2)).Outside, 14);

  // Source rectangle partly outside the picture: those pixels are left out.
  Fill(dst, 4, 4);
  c.CopyRect(Rect(0, 0, 4, 1), src, Rect(2, 0, 6, 1));
  EXPECT_EQ(c.GetPixel(0, 0), src.Scanline(0)[2]);
  EXPECT_EQ(c.GetPixel(1, 0), src.Scanline(0)[3]);
  EXPECT_EQ(c.GetPixel(2, 0), Back);
  EXPECT_EQ(c.GetPixel(3, 0), Back);

  // Empty or absurd rectangles do nothing and do not fault.
  Fill(dst, 4, 4);
  c.CopyRect(Rect(0, 0, 0, 4), src, Rect(0, 0, 4, 2));
  c.CopyRect(Rect(0, 0, 4, 4), src, Rect(1, 0, 1, 2));
  c.CopyRect(Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), src, Rect(INT_MAX, INT_MAX, INT_MIN, INT_MIN));
  EXPECT_EQ(CountColour(dst, Back, Rect(0, 0, 4, 4)).Inside, 16);
  // A 4-pixel row stretched over 2^32 columns: the bitmap sees one column of it.
  c.CopyRect(Rect(INT_MAX, 0, INT_MIN, 4), src, Rect(0, 0, 4, 2));
  for (int y = 0; y < 4; ++y)
    for (int x = 1; x < 4; ++x) EXPECT_EQ(c.GetPixel(x, y), c.GetPixel(0, y));
}

TEST(Canvas, StretchDrawScalesWithTransparency) {
  TBitmap pic, dst;
  pic.SetSize(2, 2);
  pic.Scanline(0)[0] = 0x0000FF;
  pic.Scanline(0)[1] = 0xFF0000;
  pic.Scanline(1)[0] = 0x000000;  // key
  pic.Scanline(1)[1] = 0xFFFFFF;
  Fill(dst, 6, 6);
  dst.Canvas().StretchDraw(Rect(1, 1, 5, 5), pic);  // opaque: every target pixel
  EXPECT_EQ(CountColour(dst, 0x0000FF, Rect(1, 1, 3, 3)).Inside, 4);
  EXPECT_EQ(CountColour(dst, 0xFF0000, Rect(3, 1, 5, 3)).Inside, 4);
  EXPECT_EQ(CountColour(dst, 0x000000, Rect(1, 3, 3, 5)).Inside, 4);
  EXPECT_EQ(CountColour(dst, Back, Rect(1, 1, 5, 5)).Outside, 20);

  Fill(dst, 6, 6);
  pic.Transparent = true;
  dst.Canvas().StretchDraw(Rect(1, 1, 5, 5), pic);
  EXPECT_EQ(CountColour(dst, 0x000000, Rect(0, 0, 6, 6)).Inside, 0);
  EXPECT_EQ(CountColour(dst, Back, Rect(1, 3, 3, 5)).Inside, 4);
  EXPECT_EQ(CountColour(dst, 0xFFFFFF, Rect(3, 3, 5, 5)).Inside, 4);

  // Growing past the bitmap on every side keeps the picture's centre right.
  Fill(dst, 6, 6);
  dst.Canvas().StretchDraw(Rect(-3, -3, 9, 9), pic);
  EXPECT_EQ(dst.Canvas().GetPixel(2, 2), 0x0000FFu);
  EXPECT_EQ(dst.Canvas().GetPixel(3, 2), 0xFF0000u);
  EXPECT_EQ(dst.Canvas().GetPixel(2, 3), Back);
  EXPECT_EQ(dst.Canvas().GetPixel(3, 3), 0xFFFFFFu);
}

}  // namespace
