// The castle the player defends: a grid of 6 x 29 cells of 16 x 16 pixels at
// the left edge of the playfield, standing on the ground strip. Words knock
// its cells down step by step; two bonus words repair it.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/Types.h"

class TBitmap;
class TCanvas;
class TSpriteList;

constexpr int CastleColumns = 6;
constexpr int CastleRows = 29;
constexpr int BrickSize = 16;

enum class TBrickState : uint8_t {
  Empty = 0,  // never built, or burst at game over
  Brick = 1,
  Arch = 2,
  Damaged1 = 3,  // hit once
  Damaged2 = 4,  // hit twice
  Destroyed = 5  // hit three times: words pass through it
};

struct BrickCell {
  TBitmap* Picture = nullptr;  // drawn while the cell is a plain brick
  TBrickState State = TBrickState::Empty;
};

class TCastle {
 public:
  using TColumn = std::array<BrickCell, CastleRows>;

  // Pictures of arches and damaged cells; plain bricks carry their own.
  TBitmap* ArchPicture = nullptr;
  TBitmap* Damaged1Picture = nullptr;
  TBitmap* Damaged2Picture = nullptr;
  // y of row 0: the castle ends where the ground begins.
  int32_t Top = 0;

  // Column c, row r is Castle[c][r].
  TColumn& operator[](int column) { return cells_[static_cast<size_t>(column)]; }
  const TColumn& operator[](int column) const { return cells_[static_cast<size_t>(column)]; }

  // The castle of a new game, every plain brick showing brickPicture.
  void Build(TBitmap* brickPicture);
  // values: 1 brick, 2 arch, 0 leaves the cell as it is; for columns 0 .. 4.
  void BuildRow(int row, const std::array<uint8_t, 5>& values);
  void Draw(TCanvas& canvas) const;
  // May lie outside 0 .. 28.
  int32_t RowAt(int32_t y) const;
  // The standing cell at a pixel, or (-1, -1).
  TPoint CellAt(int32_t x, int32_t y) const;
  // One blow to a cell; true when a standing cell took it.
  bool Hit(TPoint cell);
  // Hit at least once (destroyed included): what a repair mends.
  bool IsDamaged(int column, int row) const;
  bool AnyDamaged() const;
  // Mends the damaged cells into plain bricks, leftmost column and topmost
  // row first: only that one unless all. Returns its pixel position when
  // only one was mended, otherwise (-1, -1).
  TPoint Repair(bool all);
  // Bursts every standing cell into explosions; destroyed cells stay so.
  void Explode(TSpriteList& explosions);

 private:
  std::array<TColumn, CastleColumns> cells_{};
};
