// The star field: 200 dots that pulse towards colours of their own and drift
// left, wrapping round to the right edge.
#include "sprites/StarUnit.h"

#include <algorithm>

#include "framework/Utils.h"
#include "platform/Canvas.h"

namespace {

constexpr int StarStepInterval = 40;
constexpr int StarInitialPaceLimit = MaxStarFadeSpeed;
constexpr int StarPaceLimit = 40;
constexpr uint32_t ScrollInterval = 40;
constexpr int ScrollDistance = 4;
constexpr int32_t TargetColourLimit = 0xFFFFFF;

// The height is drawn first.
TPoint RandomStarPosition(TSize area) {
  int32_t y = Random(area.cy);
  int32_t x = Random(area.cx);
  return Point(x, y);
}

}  // namespace

TStar::TStar(TSize area) : TSprite(RandomStarPosition(area)) {
  TargetColour = static_cast<TColor>(Random(TargetColourLimit));
  Colour = 1;
  StepInterval = StarStepInterval;
  FadeSpeed = Random(StarInitialPaceLimit) + 1;
}

void TStar::Step() {
  // A pace from elsewhere (a replay file) beyond what stars are made with
  // is held to it, so that turning it round cannot overflow.
  FadeSpeed = std::clamp(FadeSpeed, -MaxStarFadeSpeed, MaxStarFadeSpeed);
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

void TStar::Draw(const TStage& stage) {
  TCanvas& canvas = stage.Canvas();
  const int x = Position.X, y = Position.Y;
  // Nothing of a star off the canvas shows; its neighbours' sums could overflow.
  if (x < -1 || y < -1 || x > canvas.Target().Width() || y > canvas.Target().Height()) return;
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

void TStarField::UpdateAll(const TStage& stage) {
  if (stage.Clock.TickEvery(ScrollStamp, ScrollInterval)) {
    const TBitmap& screen = stage.Screen;
    for (int i = 0; i < Count(); ++i) {
      TSprite* star = Items(i);
      // Tested before the move, which then cannot pass below zero.
      if (star->Position.X < ScrollDistance)
        star->Position = Point(screen.Width(), Random(screen.Height()));
      else
        star->Position.X -= ScrollDistance;
    }
  }
  TSpriteList::UpdateAll(stage);
  // Anywhere over the whole window, frame included.
  while (Count() < StarCount) AddObject(new TStar(stage.OuterSize));
}
