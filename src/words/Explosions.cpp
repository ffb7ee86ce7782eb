// Letter explosions: a cloud of coloured pixels that flies apart and fades.
#include <algorithm>

#include "framework/Utils.h"
#include "platform/Canvas.h"
#include "shell/GlyphfallUnit.h"
#include "words/WordUnit.h"

namespace {
constexpr int32_t ExplodeStepInterval = 60;
constexpr int32_t MaxBaseFragments = 100;
constexpr int32_t ExtraFragments = 10;  // Random(10) more on top
constexpr int32_t LifeSpread = 5;
constexpr int32_t SpeedSpread = 7;
constexpr int32_t SpeedLoss = 4;
constexpr int32_t LetterBase = 2;
const std::vector<TColor> LetterColours = {clBlue, clRed, clYellow};
}  // namespace

TExplodeItem::TExplodeItem(TPoint origin, TSize size, int32_t base, const std::vector<TColor>& colours)
    : TSprite(TPoint{origin.X + size.cx / 2, origin.Y + size.cy / 2}) {
  StepInterval = ExplodeStepInterval;
  int32_t hw = size.cx / 2;
  int32_t hh = size.cy / 2;
  int64_t area = static_cast<int64_t>(hw) * hh;
  int32_t n = static_cast<int32_t>(std::clamp<int64_t>(area, 0, MaxBaseFragments)) + Random(ExtraFragments);
  for (int32_t k = 0; k < n; ++k) {
    auto* d = new TDebris;
    // Within about a quarter of the area's size around the centre.
    d->Y = Position.Y + ((hh / 2) - Random(hh)) / 2;
    d->X = Position.X + ((hw / 2) - Random(hw)) / 2;
    d->Life = base + Random(LifeSpread);
    d->Speed = base + Random(SpeedSpread);
    int32_t pick = Random(static_cast<int32_t>(colours.size()));
    d->Colour = colours.empty() ? clWhite : colours[static_cast<size_t>(pick)];
    Debris.AddObject(d);
  }
}

std::unique_ptr<TExplodeItem> TExplodeItem::ForLetter(const TSpriteWord& word) {
  // The layout puts the word's face on the canvas, so the letter is measured
  // in it too.
  TPoint origin{word.Position.X, word.TextLayout().TextTop};
  TSize letter = GlyphfallForm->LetterExtent(word.FontSize());
  return std::make_unique<TExplodeItem>(origin, letter, LetterBase, LetterColours);
}

void TExplodeItem::Step() {
  int i = 0;
  while (i < Debris.Count()) {
    TDebris* d = Debris.Items(i);
    // Each axis moves on about half the steps, which frays the cloud; a
    // fragment on the centre line goes left (or up).
    if (Random(2) == 0) d->X += d->X > Position.X ? d->Speed : -d->Speed;
    if (Random(2) == 0) d->Y += d->Y > Position.Y ? d->Speed : -d->Speed;
    d->Speed = std::max(d->Speed - SpeedLoss, 1);
    d->Life -= 1;
    if (d->Life <= 0)
      Debris.Delete(i);
    else
      ++i;
  }
}

void TExplodeItem::Draw(const TStage& stage) {
  TCanvas& canvas = stage.Canvas();
  for (int i = 0; i < Debris.Count(); ++i) {
    const TDebris* d = Debris.Items(i);
    TColor side = DimColour(d->Colour, 4);
    TColor corner = DimColour(d->Colour, 8);
    canvas.SetPixel(d->X, d->Y, d->Colour);
    canvas.SetPixel(d->X + 1, d->Y, side);
    canvas.SetPixel(d->X - 1, d->Y, side);
    canvas.SetPixel(d->X, d->Y + 1, side);
    canvas.SetPixel(d->X, d->Y - 1, side);
    canvas.SetPixel(d->X + 1, d->Y - 1, corner);
    canvas.SetPixel(d->X + 1, d->Y + 1, corner);
    canvas.SetPixel(d->X - 1, d->Y - 1, corner);
    canvas.SetPixel(d->X - 1, d->Y + 1, corner);
  }
}
