// The castle: a 6 x 29 grid of bricks standing on the ground strip.
#include "shell/GlyphfallUnit.h"
#include "sound/SoundEffects.h"
#include "words/WordUnit.h"

namespace {
constexpr int BrickSize = 16;
constexpr int BuiltColumns = 5;
using TLayoutRow = std::array<uint8_t, BuiltColumns>;

// 1 brick, 2 arch brick, 0 empty; column 5 is never built.
TLayoutRow CastleLayout(int row) {
  switch (row) {
    case 0: return {1, 0, 1, 0, 1};
    case 1: return {1, 1, 1, 1, 1};
    case 2: return {1, 1, 1, 1, 0};
    case 3: return {1, 1, 2, 1, 0};
    case 4:
    case 5: return {1, 1, 0, 1, 0};
    case 15: return {1, 2, 1, 1, 0};
    case 16:
    case 17: return {1, 0, 1, 1, 0};
    default: return {1, 1, 1, 1, 0};
  }
}

bool Standing(uint8_t state) { return state >= 1 && state <= 4; }
}  // namespace

void TGlyphfallForm::BuildCastle() {
  for (auto& column : Castle)
    for (auto& cell : column) cell.State = 0;
  for (int r = 0; r < CastleRows; ++r) BuildCastleRow(r, CastleLayout(r));
  for (auto& column : Castle)
    for (auto& cell : column) cell.Picture = BrickImage.get();
}

void TGlyphfallForm::BuildCastleRow(int row, const std::array<uint8_t, 5>& values) {
  for (int c = 0; c < BuiltColumns; ++c)
    if (values[c] == 1 || values[c] == 2) Castle[c][row].State = values[c];
}

int32_t TGlyphfallForm::CastleTop() const {
  return OffscreenImage->Height() - CastleRows * BrickImage->Height() - GroundImage->Height();
}

void TGlyphfallForm::DrawCastle() {
  TCanvas& canvas = Canvas();
  for (int c = 0; c < CastleColumns; ++c)
    for (int r = 0; r < CastleRows; ++r) {
      const BrickCell& cell = Castle[c][r];
      const TBitmap* picture = nullptr;
      switch (cell.State) {
        case 1: picture = cell.Picture; break;
        case 2: picture = BrickArchImage.get(); break;
        case 3: picture = Damaged1Image.get(); break;
        case 4: picture = Damaged2Image.get(); break;
        default: break;
      }
      if (picture) canvas.Draw(c * BrickSize, CastleTop() + r * BrickSize, *picture);
    }
}

int32_t TGlyphfallForm::BrickRowAt(int32_t y) const { return (y - CastleTop()) / BrickSize; }

TPoint TGlyphfallForm::BrickCellAt(int32_t x, int32_t y) const {
  int32_t c = x / BrickSize;
  if (c < 0) c = 0;
  int32_t r = BrickRowAt(y);
  if (c >= 0 && c < CastleColumns && r >= 0 && r < CastleRows && Standing(Castle[c][r].State)) return TPoint{c, r};
  return TPoint{-1, -1};
}

void TGlyphfallForm::HitBrick(TPoint cell) {
  // A cell outside the grid is no brick at all.
  if (cell.X < 0 || cell.X >= CastleColumns || cell.Y < 0 || cell.Y >= CastleRows) return;
  BrickCell& b = Castle[cell.X][cell.Y];
  if (b.State != 0 && b.State != 5) {
    ++b.State;
    PlaySoundFile("wave\\explode.wav");
    if (b.State == 5) ++Stats.BricksLost;
  }
  if (b.State == 2) b.State = 3;
}

bool TGlyphfallForm::IsBrickDamaged(int column, int row) const {
  uint8_t s = Castle[column][row].State;
  return s >= 3 && s <= 5;
}

bool TGlyphfallForm::AnyBrickDamaged() const {
  for (int c = 0; c < CastleColumns; ++c)
    for (int r = 0; r < CastleRows; ++r)
      if (IsBrickDamaged(c, r)) return true;
  return false;
}

TPoint TGlyphfallForm::RepairBricks(bool all) {
  for (int c = 0; c < CastleColumns; ++c)
    for (int r = 0; r < CastleRows; ++r)
      if (IsBrickDamaged(c, r)) {
        Castle[c][r].State = 1;
        if (!all) return TPoint{c * BrickSize, CastleTop() + r * BrickSize};
      }
  return TPoint{-1, -1};
}

void TGlyphfallForm::ExplodeCastle() {
  PlaySoundFile("wave\\castledestroyed.wav");
  const std::vector<TColor> colours = {clBlue, clRed, clYellow};
  for (int c = 0; c < CastleColumns; ++c)
    for (int r = 0; r < CastleRows; ++r) {
      BrickCell& cell = Castle[c][r];
      if (cell.State == 0 || cell.State == 5) continue;
      cell.State = 0;
      ExplodeItems->Add(std::make_unique<TExplodeItem>(TPoint{c * BrickSize, CastleTop() + r * BrickSize},
                                                       TSize{BrickImage->Width(), BrickImage->Height()}, 8, colours));
    }
}
