// Floating score texts, zooming pictures and the two colour helpers they and
// the star field share.
#include <algorithm>

#include "framework/TextUtils.h"
#include "platform/Canvas.h"
#include "sprites/SpriteUnit.h"

namespace {

constexpr int ScoreFontSize = 12;
constexpr int ScoreFadePerDrawing = 3;
constexpr TColor ScoreFirstWithPicture = 0x00B6FE;  // orange
constexpr TColor ScoreFirstPlain = clBlue;
constexpr TColor ScoreEven = clYellow;
constexpr TColor ScoreOdd = clRed;
constexpr int ScorePictureDrop = 4;

int Channel(TColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

}  // namespace

TColor FadeColour(TColor colour, TColor target, int step) {
  // A negative step would push a channel away from its target and out of
  // range; it is treated as no movement. A channel is reached by 255 at most.
  step = std::clamp(step, 0, 255);
  TColor result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    int c = Channel(colour, shift);
    int t = Channel(target, shift);
    if (c < t)
      c = std::min(c + step, t);
    else if (c > t)
      c = std::max(c - step, t);
    result |= static_cast<TColor>(c) << shift;
  }
  return result;
}

TColor DimColour(TColor colour, int divisor) {
  // Dividing by zero or less has no meaning for a colour; leave it alone.
  if (divisor < 1) return colour & 0xFFFFFF;
  TColor result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    int c = Channel(colour, shift);
    int q = c / divisor;
    int twiceRest = 2 * (c % divisor);
    if (twiceRest > divisor || (twiceRest == divisor && (q & 1))) ++q;  // ties to even
    result |= static_cast<TColor>(q) << shift;
  }
  return result;
}

// ---- TScoreItem ----

TScoreItem::TScoreItem(TCanvas& canvas, TPoint position, const std::string& text, TBitmap* picture)
    : TSprite(position), Text(text), Picture(picture) {
  // The text ends at the given point; the picture, if any, starts there.
  Position.X -= TextExtentAt(canvas, ScoreFontSize, Text).cx;
}

void TScoreItem::Step() { --Position.Y; }

void TScoreItem::Draw(const TStage& stage) {
  TCanvas& canvas = stage.Canvas();
  canvas.Font.Size = ScoreFontSize;
  UseSmoothFont(canvas);
  canvas.Brush.Style = TBrushStyle::Clear;
  for (size_t i = 1; i <= Text.size(); ++i) {
    TColor base;
    if (i == 1)
      base = Picture ? ScoreFirstWithPicture : ScoreFirstPlain;
    else
      base = (i % 2 == 0) ? ScoreEven : ScoreOdd;
    canvas.Font.Color = FadeColour(base, clBlack, Fade);
    int x = Position.X + canvas.TextWidth(std::string_view(Text).substr(0, i - 1));
    canvas.TextOut(x, Position.Y - 1, std::string_view(Text).substr(i - 1, 1));
  }
  if (Picture) canvas.Draw(Position.X + canvas.TextWidth(Text), Position.Y + ScorePictureDrop, *Picture);
  Fade += ScoreFadePerDrawing;
}

bool TScoreItem::IsDead() { return FadeColour(ScoreFirstPlain, clBlack, Fade) == clBlack; }

// ---- TZoomItem ----

TZoomItem::TZoomItem(TPoint position, TBitmap* picture) : TSprite(position), Picture(picture) {}

void TZoomItem::Step() { ++Counter; }

void TZoomItem::Draw(const TStage& stage) {
  if (!Picture) return;
  int e = Counter <= Frames / 2 ? Counter : Frames - Counter;
  TRect r = Rect(Position.X - e, Position.Y - e, Position.X + Picture->Width() + e, Position.Y + Picture->Height() + e);
  stage.Canvas().StretchDraw(r, *Picture);
}

bool TZoomItem::IsDead() { return Counter >= Frames; }
