#include "platform/Scaling.h"

#include <algorithm>
#include <cstddef>
#include <numeric>

namespace {

// The largest rectangle of the playfield's shape in w x h.
TSize FitShape(int w, int h, int playW, int playH) {
  if (static_cast<int64_t>(w) * playH <= static_cast<int64_t>(h) * playW)
    return TSize{w, static_cast<int>(static_cast<int64_t>(w) * playH / playW)};
  return TSize{static_cast<int>(static_cast<int64_t>(h) * playW / playH), h};
}

// The first window pixel (from the viewport's edge) whose centre falls in
// playfield pixel p: ceil((2 p size - play) / (2 play)), at least 0.
int FirstWindowPixel(int p, int size, int play) {
  int64_t num = 2 * static_cast<int64_t>(p) * size - play;
  if (num <= 0) return 0;
  return static_cast<int>((num + 2 * play - 1) / (2 * play));
}

// The playfield pixel under the centre of window pixel i of the viewport.
int PlayfieldPixel(int i, int size, int play) {
  if (i < 0) return 0;
  int64_t p = (2 * static_cast<int64_t>(i) + 1) * play / (2 * static_cast<int64_t>(size));
  return static_cast<int>(std::min<int64_t>(p, play - 1));
}

constexpr uint32_t Lerp(uint32_t a, uint32_t b, uint32_t w) {
  // Red and blue in one multiply, green in another: each lane has room for
  // 255 * 256 without carrying into the next.
  uint32_t rb = (((a & 0xFF00FF) * (256 - w) + (b & 0xFF00FF) * w) >> 8) & 0xFF00FF;
  uint32_t g = (((a & 0x00FF00) * (256 - w) + (b & 0x00FF00) * w) >> 8) & 0x00FF00;
  return rb | g;
}

constexpr uint32_t SwapRedBlue(uint32_t p) { return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16); }

}  // namespace

TViewport FitPlayfield(int windowW, int windowH, int playW, int playH, bool pixelExact) {
  if (windowW <= 0 || windowH <= 0 || playW <= 0 || playH <= 0) return TViewport{0, 0, playW, playH};
  int scale = std::min(windowW / playW, windowH / playH);
  TSize s = pixelExact && scale >= 1 ? TSize{playW * scale, playH * scale} : FitShape(windowW, windowH, playW, playH);
  return TViewport{(windowW - s.cx) / 2, (windowH - s.cy) / 2, s.cx, s.cy};
}

TPoint WindowToPlayfield(const TViewport& v, int x, int y, int playW, int playH) {
  if (v.W <= 0 || v.H <= 0) return TPoint{x, y};
  return TPoint{PlayfieldPixel(x - v.X, v.W, playW), PlayfieldPixel(y - v.Y, v.H, playH)};
}

TPoint PlayfieldToWindow(const TViewport& v, int x, int y, int playW, int playH) {
  return TPoint{v.X + FirstWindowPixel(x, v.W, playW), v.Y + FirstWindowPixel(y, v.H, playH)};
}

TSize WindowSizeFor(TSize work, TSize frame, int playW, int playH, bool pixelExact) {
  int w = work.cx - frame.cx, h = work.cy - frame.cy;
  TSize size;
  int scale = std::min(w / playW, h / playH);
  if (pixelExact && scale >= 1) {
    size = TSize{playW * scale, playH * scale};
  } else {
    // Whole steps of the shape (4 x 3 for 800 x 600), so the picture fills
    // the window exactly.
    int g = std::gcd(playW, playH);
    int steps = std::min(w / (playW / g), h / (playH / g));
    size = TSize{steps * (playW / g), steps * (playH / g)};
  }
  TSize least = MinimumWindowSize(playW, playH);
  return TSize{std::max(size.cx, least.cx), std::max(size.cy, least.cy)};
}

TSize MinimumWindowSize(int playW, int playH) { return TSize{playW / 2, playH / 2}; }

void TSharpScaler::TAxis::Build(int inN, int outN) {
  From.assign(outN, 0);
  Weight.assign(outN, 0);
  // The whole factor the pixels are first repeated by.
  const int64_t k = std::max<int64_t>(1, (outN + inN - 1) / inN);
  const int64_t last = inN * k - 1;
  for (int i = 0; i < outN; ++i) {
    // Output pixel i's centre in repeated pixels, less half a pixel: the
    // first of the two it mixes and how far on towards the second.
    int64_t num = (2 * static_cast<int64_t>(i) + 1) * inN * k - outN;
    int64_t den = 2 * static_cast<int64_t>(outN);
    int64_t p = num / den, rest = num % den;
    if (p >= last) {
      From[i] = static_cast<uint16_t>(inN - 1);
      continue;
    }
    int64_t a = p / k, b = (p + 1) / k;
    int64_t w = (rest * 256 + den / 2) / den;
    if (a == b || w == 0)
      From[i] = static_cast<uint16_t>(a);
    else if (w >= 256)
      From[i] = static_cast<uint16_t>(b);
    else {
      From[i] = static_cast<uint16_t>(a);
      Weight[i] = static_cast<uint16_t>(w);
    }
  }
  FirstOut.assign(inN + 1, outN);
  for (int i = outN - 1; i >= 0; --i) FirstOut[From[i]] = i;
  for (int s = inN - 1; s >= 0; --s) FirstOut[s] = std::min(FirstOut[s], FirstOut[s + 1]);
}

void TSharpScaler::Configure(int playW, int playH, int outW, int outH) {
  if (playW == playW_ && playH == playH_ && outW == OutWidth() && outH == OutHeight()) return;
  playW_ = playW;
  playH_ = playH;
  cols_.Build(playW, outW);
  rows_.Build(playH, outH);
  top_.assign(outW, 0);
  bottom_.assign(outW, 0);
}

TRect TSharpScaler::OutputRect(TRect r) const {
  // An output pixel mixing source pixels s and s + 1 depends on both.
  auto span = [](const TAxis& a, int from, int to, int n) {
    from = std::clamp(from - 1, 0, n);
    to = std::clamp(to, 0, n);
    return std::pair{a.FirstOut[from], from < to ? a.FirstOut[to] : a.FirstOut[from]};
  };
  auto [left, right] = span(cols_, r.Left, r.Right, playW_);
  auto [top, bottom] = span(rows_, r.Top, r.Bottom, playH_);
  if (left >= right || top >= bottom) return TRect{};
  return TRect{left, top, right, bottom};
}

TRect TSharpScaler::Scale(const uint32_t* src, int srcPitch, TRect r, uint32_t* out, int outPitch, bool swapRedBlue) {
  TRect o = OutputRect(r);
  if (o.Width() <= 0 || o.Height() <= 0) return TRect{};
  const int n = o.Width();
  const uint16_t* from = cols_.From.data() + o.Left;
  const uint16_t* weight = cols_.Weight.data() + o.Left;
  auto across = [&](int sourceRow, uint32_t* line) {
    const uint32_t* s = src + static_cast<ptrdiff_t>(sourceRow) * srcPitch;
    for (int i = 0; i < n; ++i) {
      uint32_t p = s[from[i]];
      line[i] = weight[i] ? Lerp(p, s[from[i] + 1], weight[i]) : p;
    }
  };
  if (OutWidth() == playW_ && OutHeight() == playH_) {
    // 1x: a copy, red and blue swapped when asked.
    for (int y = o.Top; y < o.Bottom; ++y) {
      const uint32_t* s = src + static_cast<ptrdiff_t>(y) * srcPitch + o.Left;
      uint32_t* line = out + static_cast<ptrdiff_t>(y) * outPitch + o.Left;
      if (swapRedBlue)
        for (int i = 0; i < n; ++i) line[i] = SwapRedBlue(s[i]);
      else
        std::copy(s, s + n, line);
    }
    return o;
  }
  int topRow = -1, bottomRow = -1;  // the source rows top_ and bottom_ hold
  for (int y = o.Top; y < o.Bottom; ++y) {
    const int a = rows_.From[y], w = rows_.Weight[y];
    if (a != topRow) {
      if (a == bottomRow) {
        top_.swap(bottom_);
        std::swap(topRow, bottomRow);
      } else {
        across(a, top_.data());
        topRow = a;
      }
    }
    if (w && bottomRow != a + 1) {
      across(a + 1, bottom_.data());
      bottomRow = a + 1;
    }
    uint32_t* line = out + static_cast<ptrdiff_t>(y) * outPitch + o.Left;
    const uint32_t* t = top_.data();
    const uint32_t* b = bottom_.data();
    if (w && swapRedBlue)
      for (int i = 0; i < n; ++i) line[i] = SwapRedBlue(Lerp(t[i], b[i], w));
    else if (w)
      for (int i = 0; i < n; ++i) line[i] = Lerp(t[i], b[i], w);
    else if (swapRedBlue)
      for (int i = 0; i < n; ++i) line[i] = SwapRedBlue(t[i]);
    else
      std::copy(t, t + n, line);
  }
  return o;
}
