// Text on the canvas: measuring, placement, brush styles, quality, clipping
// and rotation, checked on the pixels.
#include <gtest/gtest.h>

#include <climits>

#include "Product.h"
#include "platform/Canvas.h"
#include "platform/Font.h"
#include "platform/Utf8.h"

namespace {

constexpr TColor Back = 0x203040;
constexpr TColor Ink = 0xFFFFFF;
constexpr TColor Paper = 0x0000FF;

struct TBox {
  int Left = INT_MAX, Top = INT_MAX, Right = INT_MIN, Bottom = INT_MIN;  // inclusive
  int Count = 0;
};

// The pixels that differ from Back.
TBox Painted(const TBitmap& b) {
  TBox box;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Scanline(y)[x] != Back) {
        box.Left = std::min(box.Left, x);
        box.Right = std::max(box.Right, x);
        box.Top = std::min(box.Top, y);
        box.Bottom = std::max(box.Bottom, y);
        ++box.Count;
      }
  return box;
}

void Prepare(TBitmap& b, int w, int h, int points = 20, bool smooth = false) {
  b.SetSize(w, h);
  for (auto& p : b.Pixels()) p = Back;
  TCanvas& c = b.Canvas();
  c.Font.Name = GameFontFace;
  c.Font.Bold = true;
  c.Font.Size = points;
  c.Font.Smooth = smooth;
  c.Font.Color = Ink;
  c.Font.Angle = 0;
  c.Brush.Style = TBrushStyle::Clear;
  c.Brush.Color = Paper;
}

TEST(Text, PointsBecomePixelsAt96Dpi) {
  TFont f;
  for (auto [points, pixels] : {std::pair{8, 11}, {9, 12}, {10, 13}, {12, 16}, {20, 27}, {0, 0}, {-9, -12}}) {
    f.Size = points;
    EXPECT_EQ(f.PixelHeight(), pixels) << points;
  }
}

TEST(Text, ExtentGrowsWithTextAndSize) {
  TBitmap b;
  Prepare(b, 1, 1);
  TCanvas& c = b.Canvas();
  TSize x = c.TextExtent("X");
  EXPECT_GT(x.cx, 0);
  EXPECT_EQ(c.TextExtent("XX").cx, 2 * x.cx);  // sum of advances, no kerning
  EXPECT_GT(c.TextWidth("Glyphfall"), c.TextWidth("Glyph"));
  EXPECT_EQ(c.TextExtent("").cx, 0);
  // One cell height for every text; it holds the em and the leading above it.
  EXPECT_EQ(c.TextHeight("x"), x.cy);
  EXPECT_EQ(c.TextHeight("gjpqy"), x.cy);
  EXPECT_EQ(c.TextHeight(""), x.cy);
  EXPECT_GE(x.cy, c.Font.PixelHeight());
  EXPECT_LT(x.cy, 2 * c.Font.PixelHeight());

  // Quality and angle change how text looks, never how it measures.
  c.Font.Smooth = true;
  c.Font.Angle = 900;
  EXPECT_EQ(c.TextExtent("X"), x);
  c.Font.Size = 40;
  TSize big = c.TextExtent("X");
  EXPECT_GT(big.cx, x.cx);
  EXPECT_GT(big.cy, x.cy);
}

// A clear brush paints only glyphs, a solid one fills the cell first; nothing
// outside the cell.
TEST(Text, BrushStylesPaintInsideTheCell) {
  for (TBrushStyle style : {TBrushStyle::Clear, TBrushStyle::Solid}) {
    TBitmap b;
    Prepare(b, 200, 80);
    TCanvas& c = b.Canvas();
    c.Brush.Style = style;
    const TSize cell = c.TextExtent("Hello");
    c.TextOut(20, 10, "Hello");
    int ink = 0, paper = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        const TColor px = b.Scanline(y)[x];
        const bool inCell = x >= 20 && x < 20 + cell.cx && y >= 10 && y < 10 + cell.cy;
        ASSERT_TRUE(px == Ink || (inCell ? px == (style == TBrushStyle::Solid ? Paper : Back) : px == Back))
            << x << "," << y;  // monochrome
        ink += px == Ink;
        paper += px == Paper;
      }
    EXPECT_GT(ink, 0);
    EXPECT_LT(ink, cell.cx * cell.cy / 2);  // the background shows between strokes
    EXPECT_EQ(ink + paper, style == TBrushStyle::Solid ? cell.cx * cell.cy : ink);
  }
  // The baseline lies Ascent below the drawing point: that is where "H" ends.
  TBitmap b;
  Prepare(b, 200, 80);
  b.Canvas().TextOut(20, 10, "Hello");
  EXPECT_NEAR(Painted(b).Bottom, 10 + ResolveFont(b.Canvas().Font).Ascent() - 1, 1);
}

TEST(Text, EdgePixelsMixTheTwoColoursByCoverage) {
  TBitmap b;
  Prepare(b, 300, 60, 20, true);
  TCanvas& c = b.Canvas();
  c.Font.Color = 0x00A0FF;
  const std::string text = "Oswald";
  c.TextOut(3, 2, text);
  // Recompute every pixel from the glyph masks in floating point.
  TFontInstance& font = ResolveFont(c.Font);
  std::vector<double> cover(300 * 60, 0.0);
  int pen = 3;
  for (char ch : text) {
    const TGlyph& g = font.Glyph(static_cast<unsigned char>(ch));
    for (int y = 0; y < g.Height; ++y)
      for (int x = 0; x < g.Width; ++x) {
        double& a = cover[(2 + font.Ascent() + g.Top + y) * 300 + pen + g.Left + x];
        a = 1 - (1 - a) * (1 - g.Mask[y * g.Width + x] / 255.0);  // overlapping glyphs
      }
    pen += g.Advance;
  }
  for (int i = 0; i < 300 * 60; ++i)
    for (int shift : {0, 8, 16}) {
      double from = (Back >> shift) & 0xFF, to = (c.Font.Color >> shift) & 0xFF;
      double expected = from + (to - from) * cover[i];
      ASSERT_NEAR(static_cast<double>((b.Pixels()[i] >> shift) & 0xFF), expected, 1.5) << i % 300 << "," << i / 300;
    }
  // Monochrome puts the same text in the same place.
  TBitmap mono;
  Prepare(mono, 300, 60);
  mono.Canvas().TextOut(3, 2, text);
  const TBox m = Painted(mono), s = Painted(b);
  for (auto [a, z] : {std::pair{m.Left, s.Left}, {m.Right, s.Right}, {m.Top, s.Top}, {m.Bottom, s.Bottom}})
    EXPECT_NEAR(a, z, 1);
}

TEST(Text, TextRectTouchesOnlyPixelsInsideTheClip) {
  for (bool smooth : {false, true})
    for (TBrushStyle style : {TBrushStyle::Clear, TBrushStyle::Solid}) {
      TBitmap whole, clipped;
      Prepare(whole, 160, 60, 20, smooth);
      Prepare(clipped, 160, 60, 20, smooth);
      whole.Canvas().Brush.Style = clipped.Canvas().Brush.Style = style;
      whole.Canvas().TextOut(10, 8, "ABCDEF");
      // Cuts through the letters on both axes.
      const TRect clip = Rect(30, 18, 70, 30);
      clipped.Canvas().TextRect(clip, 10, 8, "ABCDEF");
      int inside = 0;
      for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 160; ++x) {
          bool in = x >= clip.Left && x < clip.Right && y >= clip.Top && y < clip.Bottom;
          TColor expected = in ? whole.Scanline(y)[x] : Back;
          ASSERT_EQ(clipped.Scanline(y)[x], expected) << x << "," << y;
          inside += in && expected != Back;
        }
      EXPECT_GT(inside, 0);
    }
}

// Turned text stays in its cell turned about the drawing point: 90 degrees
// runs upward from it, 270 (or -90) downward with the glyphs' tops facing
// right, 180 upside down to its left and above it.
TEST(Text, RotatedTextTurnsItsCellAboutTheDrawingPoint) {
  TBitmap b;
  Prepare(b, 200, 200);
  TCanvas& c = b.Canvas();
  const TSize cell = c.TextExtent("WWWW");
  struct Case {
    int Angle, X, Y;
    TBox Within;  // give or take a pixel
  };
  const Case cases[] = {{900, 100, 150, {100, 150 - cell.cx, 100 + cell.cy, 150}},
                        {2700, 100, 20, {100 - cell.cy, 20, 100, 20 + cell.cx}},
                        {-900, 100, 20, {100 - cell.cy, 20, 100, 20 + cell.cx}},
                        {1800, 150, 100, {150 - cell.cx, 100 - cell.cy, 150, 100}}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Angle);
    Prepare(b, 200, 200);
    c.Font.Angle = k.Angle;
    c.TextOut(k.X, k.Y, "WWWW");
    const TBox p = Painted(b);
    ASSERT_GT(p.Count, 0);
    EXPECT_GE(p.Left, k.Within.Left - 1);
    EXPECT_GE(p.Top, k.Within.Top - 1);
    EXPECT_LE(p.Right, k.Within.Right + 1);
    EXPECT_LE(p.Bottom, k.Within.Bottom + 1);
    if (k.Angle % 1800) {
      EXPECT_GT(p.Bottom - p.Top, std::max(cell.cx * 3 / 4, 2 * (p.Right - p.Left)));
    }
  }
}

TEST(Text, RotatedSolidBrushFillsTheTurnedCell) {
  TBitmap b;
  Prepare(b, 200, 200);
  TCanvas& c = b.Canvas();
  c.Brush.Style = TBrushStyle::Solid;
  TSize cell = c.TextExtent("ab");
  c.Font.Angle = 900;
  c.TextOut(100, 150, "ab");
  TBox p = Painted(b);
  EXPECT_NEAR(p.Left, 100, 1);
  EXPECT_NEAR(p.Right, 100 + cell.cy - 1, 1);
  EXPECT_NEAR(p.Top, 150 - cell.cx, 1);
  EXPECT_NEAR(p.Bottom, 149, 1);
  EXPECT_EQ(c.GetPixel(100 + cell.cy / 2, 150 + 3), Back);            // below: untouched
  EXPECT_EQ(c.GetPixel(100 + cell.cx / 2, 150 + cell.cy / 2), Back);  // the upright cell stays clear
}

TEST(Text, FarOffCoordinatesTouchNothing) {
  TBitmap b;
  Prepare(b, 50, 50);
  TCanvas& c = b.Canvas();
  c.Brush.Style = TBrushStyle::Solid;
  for (int angle : {0, 450, 900, 1800, 3599, INT_MIN, INT_MAX})
    for (bool smooth : {false, true}) {
      c.Font.Angle = angle;
      c.Font.Smooth = smooth;
      c.TextOut(INT_MIN, INT_MIN, "far away");
      c.TextOut(INT_MAX, INT_MAX, "far away");
      c.TextOut(INT_MAX, INT_MIN, "far away");
      c.TextOut(INT_MIN + 10, 20, "far away");
      c.TextOut(20, INT_MAX - 5, "far away");
      c.TextRect(Rect(40, 40, 10, 10), 20, 20, "swapped clip");
      c.TextRect(Rect(INT_MAX, INT_MAX, INT_MAX, INT_MAX), 20, 20, "empty clip");
    }
  EXPECT_EQ(Painted(b).Count, 0);
  c.Font.Size = INT_MAX;  // clamped, not an enormous glyph
  c.Font.Angle = 0;
  c.TextOut(0, 0, "M");
  EXPECT_GT(Painted(b).Count, 0);
}

TEST(Text, EveryByteDrawsAndCachedGlyphsMatchFreshOnes) {
  std::string all;
  for (int ch = 1; ch < 256; ++ch) all.push_back(static_cast<char>(ch));
  TBitmap first, second;
  Prepare(first, 400, 300, 12, true);
  Prepare(second, 400, 300, 12, true);
  for (int row = 0; row < 8; ++row) first.Canvas().TextOut(0, row * 30, all.substr(row * 32, 32));
  ClearFontCache();
  for (int row = 0; row < 8; ++row) second.Canvas().TextOut(0, row * 30, all.substr(row * 32, 32));
  EXPECT_GT(Painted(first).Count, 0);
  EXPECT_EQ(first.Pixels(), second.Pixels());
}

}  // namespace

// Every width of sequence round-trips at its ends; a malformed one (overlong,
// surrogate, cut short, stray continuation) is not valid and each of its
// bytes stands for itself.
TEST(Text, Utf8SequencesAndTheirMalformedForms) {
  std::string all;
  const char32_t ends[] = {0x41, 0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0x10FFFF};
  for (char32_t c : ends) AppendUtf8(all, c);
  EXPECT_EQ(all.size(), 2u + 4 + 6 + 8);
  EXPECT_TRUE(IsValidUtf8(all));
  EXPECT_EQ(CharCount(all), 8u);
  EXPECT_EQ(CharOffset(all, 3), 1u + 1 + 2);
  EXPECT_EQ(CharOffset(all, 8), all.size());
  EXPECT_EQ(CharOffset(all, 99), all.size());
  size_t i = 0;
  for (char32_t c : ends) EXPECT_EQ(NextChar(all, i), c);
  EXPECT_EQ(i, all.size());
  // The euro sign cut after two bytes: the third, past the end, is not read.
  const std::string_view cut("\xE2\x82\xAC", 2);
  for (std::string_view bad : {std::string_view("\xC0\x80"), std::string_view("\xE0\x9F\xBF"),
                               std::string_view("\xED\xA0\x80"), std::string_view("\xED\xBF\xBF"),
                               std::string_view("\xF4\x90\x80\x80"), cut, std::string_view("\x80")}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << CharCount(bad);
    EXPECT_EQ(CharCount(bad), bad.size());
    i = 0;
    EXPECT_EQ(NextChar(bad, i), static_cast<unsigned char>(bad[0]));
    EXPECT_EQ(i, 1u);
  }
}
