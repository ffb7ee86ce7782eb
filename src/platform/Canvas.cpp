#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/Font.h"
#include "platform/Utf8.h"

namespace {

constexpr uint32_t ColourMask = 0x00FFFFFF;
// Bitmaps larger than this on a side are refused: nothing the game draws
// comes near, and a bad size must not turn into a huge allocation.
constexpr int MaxBitmapSide = 16384;

// A clip box in bitmap coordinates, right and bottom exclusive. Edges are
// 64-bit so that intersecting with any int rectangle cannot overflow.
struct TBox {
  int64_t Left, Top, Right, Bottom;
  bool Empty() const { return Left >= Right || Top >= Bottom; }
};

TBox BoundsOf(const TBitmap& b) { return TBox{0, 0, b.Width(), b.Height()}; }

TBox Intersect(const TBox& a, const TBox& b) {
  return TBox{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
              std::min(a.Bottom, b.Bottom)};
}

TBox BoxOf(const TRect& r) { return TBox{r.Left, r.Top, r.Right, r.Bottom}; }

// dst blended towards src by coverage a (0 … 255), two channels per multiply.
// Coverage 0 leaves dst as it is and 255 gives src exactly.
inline uint32_t Blend(uint32_t dst, uint32_t srcRB, uint32_t srcG, uint32_t a) {
  uint32_t a256 = a + (a >> 7);  // 0 … 255 onto 0 … 256
  uint32_t inv = 256 - a256;
  uint32_t rb = (srcRB * a256 + (dst & 0xFF00FF) * inv) >> 8;
  uint32_t g = (srcG * a256 + (dst & 0x00FF00) * inv) >> 8;
  return (rb & 0xFF00FF) | (g & 0x00FF00);
}

// Blends n pixels of d towards colour by the coverages in m; the same sums as
// Blend, four pixels at a time where SSE2 is at hand.
void BlendRow(uint32_t* d, const uint8_t* m, int n, uint32_t colour) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i src = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(colour)), zero);
  const __m128i full = _mm_set1_epi16(256);
  for (; i + 4 <= n; i += 4) {
    uint32_t cover;
    std::memcpy(&cover, m + i, 4);
    if (cover == 0) continue;
    __m128i a = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(cover)), zero);  // a0 a1 a2 a3
    a = _mm_add_epi16(a, _mm_srli_epi16(a, 7));
    a = _mm_unpacklo_epi16(a, a);  // a0 a0 a1 a1 a2 a2 a3 a3
    const __m128i aLo = _mm_unpacklo_epi32(a, a), aHi = _mm_unpackhi_epi32(a, a);
    __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    __m128i lo = _mm_unpacklo_epi8(px, zero), hi = _mm_unpackhi_epi8(px, zero);
    lo = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(src, aLo), _mm_mullo_epi16(lo, _mm_sub_epi16(full, aLo))), 8);
    hi = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(src, aHi), _mm_mullo_epi16(hi, _mm_sub_epi16(full, aHi))), 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(lo, hi));
  }
#endif
  const uint32_t srcRB = colour & 0xFF00FF, srcG = colour & 0x00FF00;
  for (; i < n; ++i) d[i] = Blend(d[i], srcRB, srcG, m[i]);
}

// Copies n pixels of s onto d, leaving d where s holds the key colour. The
// castle and the ground go through here every frame, so four at a time.
void CopyRowKeyed(uint32_t* d, const uint32_t* s, int n, uint32_t key) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i mask = _mm_set1_epi32(static_cast<int>(ColourMask));
  const __m128i keys = _mm_set1_epi32(static_cast<int>(key));
  for (; i + 4 <= n; i += 4) {
    __m128i v = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)), mask);
    __m128i keep = _mm_cmpeq_epi32(v, keys);
    __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                     _mm_or_si128(_mm_and_si128(keep, old), _mm_andnot_si128(keep, v)));
  }
#endif
  for (; i < n; ++i)
    if ((s[i] & ColourMask) != key) d[i] = s[i] & ColourMask;
}

// Paints a glyph's coverage mask with its top-left pixel on (left, top),
// touching only pixels inside clip (already intersected with the bitmap).
void BlitMask(TBitmap& target, const TBox& clip, const TGlyph& g, int64_t left, int64_t top, uint32_t colour) {
  if (g.Width <= 0) return;
  int64_t x0 = std::max(left, clip.Left);
  int64_t x1 = std::min(left + g.Width, clip.Right);
  int64_t y0 = std::max(top, clip.Top);
  int64_t y1 = std::min(top + g.Height, clip.Bottom);
  if (x0 >= x1 || y0 >= y1) return;
  if (x0 == left && y0 == top && x1 == left + g.Width && y1 == top + g.Height) {
    // The whole glyph is visible, the usual case: walk its spans only.
    uint32_t* origin = target.Scanline(static_cast<int>(top)) + left;
    const int stride = target.Width();
    for (const TGlyphSpan& s : g.Spans) {
      uint32_t* d = origin + static_cast<ptrdiff_t>(s.Row) * stride + s.Left;
      if (s.Opaque)
        std::fill_n(d, s.Length, colour);
      else
        BlendRow(d, g.Mask.data() + static_cast<size_t>(s.Row) * g.Width + s.Left, s.Length, colour);
    }
    return;
  }

  for (int64_t y = y0; y < y1; ++y)
    BlendRow(target.Scanline(static_cast<int>(y)) + x0, g.Mask.data() + (y - top) * g.Width + (x0 - left),
             static_cast<int>(x1 - x0), colour);
}

// Asks for the destination's cache lines up front, so that their loads
// overlap instead of stalling one glyph row at a time.
void PrefetchBox(TBitmap& target, const TBox& box) {
  if (box.Empty()) return;
  for (int64_t y = box.Top; y < box.Bottom; ++y) {
    const uint32_t* row = target.Scanline(static_cast<int>(y));
    for (int64_t x = box.Left; x < box.Right; x += 16) __builtin_prefetch(row + x, 1);
  }
}

void FillBox(TBitmap& target, const TBox& box, uint32_t colour) {
  if (box.Empty()) return;
  // Every frame starts with a full-width black fill: rows lie end to end, so
  // one run covers them, and black goes through memset, which writes far
  // faster than a store loop. (Colours carry no top byte, so black is the
  // only one memset could write.)
  int64_t rows = box.Bottom - box.Top;
  int64_t run = box.Right - box.Left;
  if (box.Left == 0 && box.Right == target.Width()) {
    run *= rows;
    rows = 1;
  }
  for (int64_t i = 0; i < rows; ++i) {
    uint32_t* start = target.Scanline(static_cast<int>(box.Top + i)) + box.Left;
    if (colour == 0)
      std::memset(start, 0, static_cast<size_t>(run) * sizeof(uint32_t));
    else
      std::fill(start, start + run, colour);
  }
}

int64_t Abs64(int64_t v) { return v < 0 ? -v : v; }

// Nearest-neighbour index into a source span of srcLen pixels for position i
// of a destination span of dstLen pixels (both > 0), sampling pixel centres.
int64_t ScaleIndex(int64_t i, int64_t srcLen, int64_t dstLen) {
  __int128 num = (static_cast<__int128>(2) * i + 1) * srcLen;
  return static_cast<int64_t>(num / (static_cast<__int128>(2) * dstLen));
}

// Copies srcRect of src scaled into dst, mirrored along an axis where the two
// rectangles run in opposite directions. Source pixels outside src are left
// out, as are pixels of the transparent colour when transparent is set.
void ScaledBlit(TBitmap& target, const TRect& dst, const TBitmap& src, const TRect& srcRect, bool transparent) {
  int64_t dw = static_cast<int64_t>(dst.Right) - dst.Left;
  int64_t dh = static_cast<int64_t>(dst.Bottom) - dst.Top;
  int64_t sw = static_cast<int64_t>(srcRect.Right) - srcRect.Left;
  int64_t sh = static_cast<int64_t>(srcRect.Bottom) - srcRect.Top;
  if (dw == 0 || dh == 0 || sw == 0 || sh == 0 || src.Width() == 0 || src.Height() == 0) return;
  const bool flipX = (dw < 0) != (sw < 0);
  const bool flipY = (dh < 0) != (sh < 0);
  const int64_t dl = std::min<int64_t>(dst.Left, dst.Right);
  const int64_t dt = std::min<int64_t>(dst.Top, dst.Bottom);
  const int64_t sl = std::min<int64_t>(srcRect.Left, srcRect.Right);
  const int64_t st = std::min<int64_t>(srcRect.Top, srcRect.Bottom);
  const int64_t adw = Abs64(dw), adh = Abs64(dh), asw = Abs64(sw), ash = Abs64(sh);

  TBox box = Intersect(BoundsOf(target), TBox{dl, dt, dl + adw, dt + adh});
  if (box.Empty()) return;

  // Reading from the bitmap being drawn on would see half-drawn pixels.
  TBitmap copy;
  const TBitmap* from = &src;
  if (&src == &target) {
    copy.CopyFrom(src);
    from = &copy;
  }

  std::vector<int32_t> columns(static_cast<size_t>(box.Right - box.Left));
  for (int64_t x = box.Left; x < box.Right; ++x) {
    int64_t u = ScaleIndex(x - dl, asw, adw);
    if (flipX) u = asw - 1 - u;
    int64_t sx = sl + u;
    columns[x - box.Left] = (sx >= 0 && sx < from->Width()) ? static_cast<int32_t>(sx) : -1;
  }
  const uint32_t key = from->TransparentColor() & ColourMask;
  for (int64_t y = box.Top; y < box.Bottom; ++y) {
    int64_t v = ScaleIndex(y - dt, ash, adh);
    if (flipY) v = ash - 1 - v;
    int64_t sy = st + v;
    if (sy < 0 || sy >= from->Height()) continue;
    const uint32_t* s = from->Scanline(static_cast<int>(sy));
    uint32_t* d = target.Scanline(static_cast<int>(y)) + box.Left;
    for (size_t i = 0; i < columns.size(); ++i) {
      if (columns[i] < 0) continue;
      uint32_t p = s[columns[i]] & ColourMask;
      if (transparent && p == key) continue;
      d[i] = p;
    }
  }
}

}  // namespace

// ---- TBitmap ----

TBitmap::TBitmap() : canvas_(std::make_unique<TCanvas>(*this)) {}

TBitmap::TBitmap(int width, int height) : TBitmap() { SetSize(width, height); }

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
  width_ = std::clamp(width, 0, MaxBitmapSide);
  height_ = std::clamp(height, 0, MaxBitmapSide);
  if (width_ == 0 || height_ == 0) width_ = height_ = 0;
  pixels_.assign(static_cast<size_t>(width_) * height_, 0);
}

void TBitmap::CopyFrom(const TBitmap& other) {
  if (&other == this) return;
  width_ = other.width_;
  height_ = other.height_;
  pixels_ = other.pixels_;
  Transparent = other.Transparent;
  transparentColourSet_ = other.transparentColourSet_;
  transparentColour_ = other.transparentColour_;
}

TColor TBitmap::TransparentColor() const {
  if (transparentColourSet_) return transparentColour_ & ColourMask;
  if (pixels_.empty()) return 0;
  return Scanline(height_ - 1)[0] & ColourMask;
}

// ---- TCanvas: pictures and rectangles ----

void TCanvas::FillRect(const TRect& r) {
  FillBox(target_, Intersect(BoundsOf(target_), BoxOf(r)), Brush.Color & ColourMask);
}

void TCanvas::Draw(int x, int y, const TBitmap& src) {
  if (src.Width() == 0) return;
  TBox box = Intersect(BoundsOf(target_),
                       TBox{x, y, static_cast<int64_t>(x) + src.Width(), static_cast<int64_t>(y) + src.Height()});
  if (box.Empty()) return;
  TBitmap copy;
  const TBitmap* from = &src;
  if (&src == &target_) {
    copy.CopyFrom(src);
    from = &copy;
  }
  const bool transparent = src.Transparent;
  const uint32_t key = from->TransparentColor();
  const int64_t n = box.Right - box.Left;
  for (int64_t row = box.Top; row < box.Bottom; ++row) {
    const uint32_t* s = from->Scanline(static_cast<int>(row - y)) + (box.Left - x);
    uint32_t* d = target_.Scanline(static_cast<int>(row)) + box.Left;
    if (!transparent) {
      std::memcpy(d, s, static_cast<size_t>(n) * sizeof(uint32_t));
      continue;
    }
    CopyRowKeyed(d, s, static_cast<int>(n), key);
  }
}

void TCanvas::StretchDraw(const TRect& dst, const TBitmap& src) {
  ScaledBlit(target_, dst, src, Rect(0, 0, src.Width(), src.Height()), src.Transparent);
}

void TCanvas::CopyRect(const TRect& dst, const TBitmap& src, const TRect& srcRect) {
  ScaledBlit(target_, dst, src, srcRect, false);
}

void TCanvas::SetPixel(int x, int y, TColor c) {
  if (x < 0 || y < 0 || x >= target_.Width() || y >= target_.Height()) return;
  target_.Scanline(y)[x] = c & ColourMask;
}

TColor TCanvas::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= target_.Width() || y >= target_.Height()) return 0xFFFFFFFF;
  return target_.Scanline(y)[x];
}

// ---- TCanvas: text ----

TSize TCanvas::TextExtent(std::string_view text) {
  TFontInstance& font = ResolveFont(Font);
  int64_t width = std::min<int64_t>(font.TextWidth(text), INT32_MAX);
  return TSize{static_cast<int32_t>(width), font.Ascent() + font.Descent()};
}

namespace {

// Fills the turned text cell: a pixel belongs to it when its centre, turned
// back, lies inside the upright width × height box at (x, y).
void FillRotatedCell(TCanvas& canvas, const TBox& clip, int x, int y, int64_t width, int64_t height, double cs,
                     double sn) {
  const double w = static_cast<double>(width), h = static_cast<double>(height);
  const double cornersX[4] = {0, w * cs, w * cs + h * sn, h * sn};
  const double cornersY[4] = {0, -w * sn, -w * sn + h * cs, h * cs};
  double minX = *std::min_element(cornersX, cornersX + 4) + x;
  double maxX = *std::max_element(cornersX, cornersX + 4) + x;
  double minY = *std::min_element(cornersY, cornersY + 4) + y;
  double maxY = *std::max_element(cornersY, cornersY + 4) + y;
  TBox box = clip;
  box.Left = std::max<int64_t>(box.Left, static_cast<int64_t>(std::floor(std::max(minX, -1e12))));
  box.Top = std::max<int64_t>(box.Top, static_cast<int64_t>(std::floor(std::max(minY, -1e12))));
  box.Right = std::min<int64_t>(box.Right, static_cast<int64_t>(std::ceil(std::min(maxX, 1e12))) + 1);
  box.Bottom = std::min<int64_t>(box.Bottom, static_cast<int64_t>(std::ceil(std::min(maxY, 1e12))) + 1);
  if (box.Empty()) return;
  const uint32_t colour = canvas.Brush.Color & ColourMask;
  for (int64_t py = box.Top; py < box.Bottom; ++py) {
    uint32_t* row = canvas.Target().Scanline(static_cast<int>(py));
    const double dy = py + 0.5 - y;
    for (int64_t px = box.Left; px < box.Right; ++px) {
      const double dx = px + 0.5 - x;
      const double u = dx * cs - dy * sn, v = dx * sn + dy * cs;
      if (u >= 0 && u < w && v >= 0 && v < h) row[px] = colour;
    }
  }
}

void DrawTextIn(TCanvas& canvas, const TBox& clip, int x, int y, std::string_view text) {
  if (clip.Empty() || text.empty()) return;
  TFontInstance& font = ResolveFont(canvas.Font);
  const uint32_t colour = canvas.Font.Color & ColourMask;
  const int ascent = font.Ascent();
  const int64_t cellHeight = ascent + font.Descent();

  if (font.Key().Angle == 0) {
    const int64_t baseline = static_cast<int64_t>(y) + ascent;
    if (canvas.Brush.Style == TBrushStyle::Solid) {
      int64_t width = font.TextWidth(text);
      FillBox(canvas.Target(), Intersect(clip, TBox{x, y, x + width, y + cellHeight}), canvas.Brush.Color & ColourMask);
    }
    PrefetchBox(canvas.Target(), Intersect(clip, TBox{x, y, x + font.TextWidth(text), y + cellHeight}));
    int64_t pen = x;
    for (size_t i = 0; i < text.size();) {
      const TGlyph& g = font.Glyph(NextChar(text, i));
      BlitMask(canvas.Target(), clip, g, pen + g.Left, baseline + g.Top, colour);
      pen += g.Advance;
    }
    return;
  }

  // Rotated: the whole line turns about (x, y), counter-clockwise on screen.
  const double radians = font.Key().Angle * 3.14159265358979323846 / 1800.0;
  const double cs = std::cos(radians), sn = std::sin(radians);
  if (canvas.Brush.Style == TBrushStyle::Solid)
    FillRotatedCell(canvas, clip, x, y, font.TextWidth(text), cellHeight, cs, sn);
  // The baseline's start: ascent pixels "down" in the turned text's frame.
  const double originX = x + ascent * sn, originY = y + ascent * cs;
  int64_t advanced = 0;
  for (size_t i = 0; i < text.size();) {
    const TGlyph& g = font.Glyph(NextChar(text, i));
    double penX = originX + static_cast<double>(advanced) * cs;
    double penY = originY - static_cast<double>(advanced) * sn;
    advanced += g.Advance;
    // Skip glyphs nowhere near the clip box before converting to integers,
    // so that far-off coordinates cannot overflow.
    if (penX + g.Left + g.Width < static_cast<double>(clip.Left) - 1 ||
        penX + g.Left > static_cast<double>(clip.Right) + 1 ||
        penY + g.Top + g.Height < static_cast<double>(clip.Top) - 1 ||
        penY + g.Top > static_cast<double>(clip.Bottom) + 1)
      continue;
    BlitMask(canvas.Target(), clip, g, std::llround(penX) + g.Left, std::llround(penY) + g.Top, colour);
  }
}

}  // namespace

void TCanvas::TextOut(int x, int y, std::string_view text) { DrawTextIn(*this, BoundsOf(target_), x, y, text); }

void TCanvas::TextRect(const TRect& clip, int x, int y, std::string_view text) {
  TBox box = Intersect(BoundsOf(target_), BoxOf(clip));
  DrawTextIn(*this, box, x, y, text);
}
