// The castle: building, drawing, blows, repairs and the burst at game over.
#include "shell/Castle.h"

#include <memory>
#include <vector>

#include "platform/Canvas.h"
#include "shell/GlyphfallUnit.h"
#include "sound/SoundEffects.h"
#include "sprites/SpriteUnit.h"
#include "words/WordUnit.h"

namespace {
constexpr int BuiltColumns = 5;
constexpr int32_t BurstBase = 8;
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

bool Standing(TBrickState state) { return state != TBrickState::Empty && state != TBrickState::Destroyed; }
}  // namespace

void TCastle::Build(TBitmap* brickPicture) {
  for (TColumn& column : cells_)
    for (BrickCell& cell : column) cell.State = TBrickState::Empty;
  for (int r = 0; r < CastleRows; ++r) BuildRow(r, CastleLayout(r));
  for (TColumn& column : cells_)
    for (BrickCell& cell : column) cell.Picture = brickPicture;
}

void TCastle::BuildRow(int row, const std::array<uint8_t, 5>& values) {
  for (int c = 0; c < BuiltColumns; ++c)
    if (values[c] == 1 || values[c] == 2) (*this)[c][row].State = static_cast<TBrickState>(values[c]);
}

void TCastle::Draw(TCanvas& canvas) const {
  for (int c = 0; c < CastleColumns; ++c)
    for (int r = 0; r < CastleRows; ++r) {
      const BrickCell& cell = (*this)[c][r];
      const TBitmap* picture = nullptr;
      switch (cell.State) {
        case TBrickState::Brick: picture = cell.Picture; break;
        case TBrickState::Arch: picture = ArchPicture; break;
        case TBrickState::Damaged1: picture = Damaged1Picture; break;
        case TBrickState::Damaged2: picture = Damaged2Picture; break;
        default: break;
      }
      if (picture) canvas.Draw(c * BrickSize, Top + r * BrickSize, *picture);
    }
}

int32_t TCastle::RowAt(int32_t y) const { return (y - Top) / BrickSize; }

TPoint TCastle::CellAt(int32_t x, int32_t y) const {
  int32_t c = x / BrickSize;
  if (c < 0) c = 0;
  int32_t r = RowAt(y);
  if (c < CastleColumns && r >= 0 && r < CastleRows && Standing((*this)[c][r].State)) return TPoint{c, r};
  return TPoint{-1, -1};
}

bool TCastle::Hit(TPoint cell) {
  // A cell outside the grid is no brick at all.
  if (cell.X < 0 || cell.X >= CastleColumns || cell.Y < 0 || cell.Y >= CastleRows) return false;
  BrickCell& b = (*this)[cell.X][cell.Y];
  if (!Standing(b.State)) return false;
  // A brick and an arch both go straight to damaged once.
  b.State =
      b.State == TBrickState::Brick ? TBrickState::Damaged1 : static_cast<TBrickState>(static_cast<int>(b.State) + 1);
  PlaySoundFile("wave\\explode.wav");
  return true;
}

bool TCastle::IsDamaged(int column, int row) const {
  TBrickState s = (*this)[column][row].State;
  return s == TBrickState::Damaged1 || s == TBrickState::Damaged2 || s == TBrickState::Destroyed;
}

bool TCastle::AnyDamaged() const {
  for (int c = 0; c < CastleColumns; ++c)
    for (int r = 0; r < CastleRows; ++r)
      if (IsDamaged(c, r)) return true;
  return false;
}

TPoint TCastle::Repair(bool all) {
  for (int c = 0; c < CastleColumns; ++c)
    for (int r = 0; r < CastleRows; ++r)
      if (IsDamaged(c, r)) {
        (*this)[c][r].State = TBrickState::Brick;
        if (!all) return TPoint{c * BrickSize, Top + r * BrickSize};
      }
  return TPoint{-1, -1};
}

void TCastle::Explode(TSpriteList& explosions) {
  PlaySoundFile("wave\\castledestroyed.wav");
  const std::vector<TColor> colours = {clBlue, clRed, clYellow};
  for (int c = 0; c < CastleColumns; ++c)
    for (int r = 0; r < CastleRows; ++r) {
      BrickCell& cell = (*this)[c][r];
      if (!Standing(cell.State)) continue;
      cell.State = TBrickState::Empty;
      explosions.Add(std::make_unique<TExplodeItem>(TPoint{c * BrickSize, Top + r * BrickSize},
                                                    TSize{BrickSize, BrickSize}, BurstBase, colours));
    }
}

// ---- The form's castle operations that do more than forward ----

void TGlyphfallForm::HitBrick(TPoint cell) {
  if (Castle.Hit(cell) && Castle[cell.X][cell.Y].State == TBrickState::Destroyed)
    Events.BrickLost({GameTime, cell.X, cell.Y});
}

void TGlyphfallForm::ExplodeCastle() { Castle.Explode(*ExplodeItems); }
