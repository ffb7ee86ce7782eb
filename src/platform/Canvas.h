// The off-screen drawing surface: a 32-bit bitmap and a GDI-like canvas over it.
//
// Every primitive clips to the bitmap (and to the clip rectangle where one is
// given) before it touches a pixel, so callers may pass any coordinates.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Product.h"
#include "platform/Types.h"

class TBitmap;

// Font definition as the game sets it on a canvas. The canvas resolves it to a
// FreeType face through the shared glyph cache each time it draws or measures.
struct TFont {
  std::string Name = GameFontFace;
  int Size = 10;  // points at 96 dots per inch
  bool Bold = false;
  TColor Color = clBlack;
  int Angle = 0;        // escapement in tenths of a degree, counter-clockwise
  bool Smooth = false;  // antialiased quality (set by UseSmoothFont)
  // Em height in pixels: points at 96 dpi, rounded as the desktop rounds it.
  int PixelHeight() const;
};

enum class TBrushStyle { Solid, Clear };

struct TBrush {
  TBrushStyle Style = TBrushStyle::Solid;
  TColor Color = clWhite;
};

class TCanvas {
 public:
  explicit TCanvas(TBitmap& target) : target_(target) {}
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TFont Font;
  TBrush Brush;

  TBitmap& Target() { return target_; }

  // Fills r (right/bottom exclusive) with Brush.Color, whatever the brush style.
  void FillRect(const TRect& r);
  // Draws src at (x, y): opaque, or leaving out src's transparent colour when
  // src.Transparent is set.
  void Draw(int x, int y, const TBitmap& src);
  // Scales the whole of src into dst, with src's transparency.
  void StretchDraw(const TRect& dst, const TBitmap& src);
  // Scales srcRect of src into dst, opaque. When dst.Left > dst.Right the
  // picture comes out mirrored left to right (likewise Top > Bottom).
  void CopyRect(const TRect& dst, const TBitmap& src, const TRect& srcRect);
  void SetPixel(int x, int y, TColor c);
  // Colour at (x, y); 0xFFFFFFFF outside the bitmap.
  TColor GetPixel(int x, int y) const;

  // Text with its cell's top-left corner at (x, y), rotated by Font.Angle about
  // that point. A solid brush first fills the text's cell box (turned with the
  // text); a clear one leaves everything but the glyphs alone.
  void TextOut(int x, int y, std::string_view text);
  // As TextOut, but only pixels inside clip are touched.
  void TextRect(const TRect& clip, int x, int y, std::string_view text);
  TSize TextExtent(std::string_view text);
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }

 private:
  TBitmap& target_;
};

// A 32-bit surface, pixels 0x00BBGGRR, row-major, top row first. Not copyable:
// its canvas points back at it.
class TBitmap {
 public:
  TBitmap();
  TBitmap(int width, int height);
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;
  ~TBitmap();

  // Resizes; every pixel becomes black.
  void SetSize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  uint32_t* Scanline(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const uint32_t* Scanline(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  std::vector<uint32_t>& Pixels() { return pixels_; }
  const std::vector<uint32_t>& Pixels() const { return pixels_; }
  void CopyFrom(const TBitmap& other);

  // Drawn transparently by TCanvas::Draw and StretchDraw.
  bool Transparent = false;
  // The transparent colour: the one set, else the bottom-left pixel.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor c) {
    transparentColour_ = c;
    transparentColourSet_ = true;
  }

  TCanvas& Canvas() { return *canvas_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
  bool transparentColourSet_ = false;
  TColor transparentColour_ = 0;
  std::unique_ptr<TCanvas> canvas_;
};
