// TEMPORARY stand-ins until the canvas, font, XPM and PNG code lands.
// Delete this file when merging that work.
#include "platform/Canvas.h"
#include "platform/Png.h"
#include "platform/Xpm.h"

int TFont::PixelHeight() const { return (Size * 96 + 36) / 72; }
TBitmap::TBitmap() : canvas_(std::make_unique<TCanvas>(*this)) {}
TBitmap::TBitmap(int w, int h) : TBitmap() { SetSize(w, h); }
TBitmap::~TBitmap() = default;
void TBitmap::SetSize(int w, int h) {
  width_ = w;
  height_ = h;
  pixels_.assign(static_cast<size_t>(w) * h, 0);
}
void TBitmap::CopyFrom(const TBitmap& o) {
  SetSize(o.width_, o.height_);
  pixels_ = o.pixels_;
}
TColor TBitmap::TransparentColor() const {
  if (transparentColourSet_) return transparentColour_;
  return height_ > 0 && width_ > 0 ? pixels_[static_cast<size_t>(height_ - 1) * width_] : 0;
}
void TCanvas::FillRect(const TRect& r) {
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) SetPixel(x, y, Brush.Color);
}
void TCanvas::Draw(int x, int y, const TBitmap& src) {
  TColor t = src.TransparentColor();
  for (int j = 0; j < src.Height(); ++j)
    for (int i = 0; i < src.Width(); ++i) {
      TColor c = src.Scanline(j)[i];
      if (!src.Transparent || c != t) SetPixel(x + i, y + j, c);
    }
}
void TCanvas::StretchDraw(const TRect&, const TBitmap&) {}
void TCanvas::CopyRect(const TRect&, const TBitmap&, const TRect&) {}
void TCanvas::SetPixel(int x, int y, TColor c) {
  if (x >= 0 && y >= 0 && x < target_.Width() && y < target_.Height()) target_.Scanline(y)[x] = c;
}
TColor TCanvas::GetPixel(int x, int y) const {
  if (x >= 0 && y >= 0 && x < target_.Width() && y < target_.Height()) return target_.Scanline(y)[x];
  return 0xFFFFFFFF;
}
void TCanvas::TextOut(int, int, std::string_view) {}
void TCanvas::TextRect(const TRect&, int, int, std::string_view) {}
TSize TCanvas::TextExtent(std::string_view t) {
  int h = Font.PixelHeight();
  return TSize{static_cast<int>(t.size()) * h * 6 / 10, h * 14 / 10};
}
bool ParseXpm(std::string_view, TBitmap& out, std::string*) {
  out.SetSize(16, 16);
  return true;
}
bool WritePng(const TBitmap&, const std::string&) { return false; }
