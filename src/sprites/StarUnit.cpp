// The star field: 200 dots that pulse towards colours of their own and drift
// left, wrapping round to the right edge.
#include "sprites/StarUnit.h"

#include "framework/Utils.h"
#include "platform/Canvas.h"
#include "shell/GlyphfallUnit.h"

namespace {

constexpr int StarStepInterval = 40;
constexpr int StarInitialPaceLimit = 100;
constexpr int StarPaceLimit = 40;
constexpr uint32_t ScrollInterval = 40;
constexpr int ScrollDistance = 4;
constexpr int32_t TargetColourLimit = 0xFFFFFF;

// Anywhere over the whole window, frame included; the height is drawn first.
TPoint RandomStarPosition() {
  TSize outer = GlyphfallForm->Platform.OuterSize();
  int32_t y = Random(outer.cy);
  int32_t x = Random(outer.cx);
  return Point(x, y);
}

}  // namespace

TStar::TStar() : TSprite(RandomStarPosition()) {
  TargetColour = static_cast<TColor>(Random(TargetColourLimit));
  Colour = 1;
  StepInterval = StarStepInterval;
  FadeSpeed = Random(StarInitialPaceLimit) + 1;
}

void TStar::Step() {
  if (FadeSpeed > 0)
    Colour = FadeColour(Colour, TargetColour, FadeSpeed);
  else
    Colour = FadeColour(Colour, clBlack, -FadeSpeed);
  if (Colour == TargetColour) FadeSpeed = -FadeSpeed;
  if (Colour == clBlack) FadeSpeed = -FadeSpeed;
}

bool TStar::IsDead() {
  // Faded out: brighten again at a fresh pace. Stars never die.
  if (Colour == clBlack) FadeSpeed = Random(StarPaceLimit) + 1;
  return false;
}

void TStar::Draw() {
  TCanvas& canvas = GlyphfallForm->Canvas();
  const int x = Position.X, y = Position.Y;
  canvas.SetPixel(x, y, Colour);
  TColor half = DimColour(Colour, 2);
  canvas.SetPixel(x + 1, y, half);
  canvas.SetPixel(x - 1, y, half);
  canvas.SetPixel(x, y + 1, half);
  canvas.SetPixel(x, y - 1, half);
  TColor quarter = DimColour(Colour, 4);
  canvas.SetPixel(x + 1, y - 1, quarter);
  canvas.SetPixel(x + 1, y + 1, quarter);
  canvas.SetPixel(x - 1, y - 1, quarter);
  canvas.SetPixel(x - 1, y + 1, quarter);
}

void TStarField::UpdateAll() {
  if (GlyphfallForm->TickEvery(ScrollStamp, ScrollInterval)) {
    const TBitmap& screen = *GlyphfallForm->OffscreenImage;
    for (int i = 0; i < Count(); ++i) {
      TSprite* star = Items(i);
      star->Position.X -= ScrollDistance;
      if (star->Position.X < 0) star->Position = Point(screen.Width(), Random(screen.Height()));
    }
  }
  TSpriteList::UpdateAll();
  while (Count() < StarCount) AddObject(new TStar());
}
