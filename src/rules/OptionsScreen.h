// The options screen: one row per setting and BACK, changed with the arrows,
// Enter, the mouse buttons or the wheel; the settings are saved on leaving it.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/Types.h"
#include "rules/Settings.h"

class TGlyphfallForm;

struct TOptionRow {
  std::string Label;
  // The value as shown; empty for BACK.
  std::function<std::string(const TSettings&)> Value;
  // One step forward (+1) or back (-1), wrapping round.
  std::function<void(TSettings&, int)> Change;
};

class TOptionsScreen {
 public:
  explicit TOptionsScreen(TGlyphfallForm& form);
  // Runs frames until Escape or BACK, or until the window closes; then saves.
  void Run();

  std::vector<TOptionRow> Rows;  // the settings, then BACK
  int Selected = 0;
  bool Done = false;

  void KeyDown(uint16_t key);
  void MouseMove(int x, int y);
  // A left click acts on the selected row (the one under the pointer) as
  // Enter does, a right click steps its value back; a notch of the wheel
  // steps the row under the pointer, up forward and down back.
  void Click(TMouseButton button, int x, int y);
  void Draw();
  int RowY(int row) const;

 private:
  void Activate(int step);
  // The row at playfield height y; -1 between and outside the rows.
  int RowAt(int y);
  TGlyphfallForm& form_;
  TPoint lastMouse_;
};

// The screen the menu's OPTIONS item opens.
void ShowOptions(TGlyphfallForm& form);
