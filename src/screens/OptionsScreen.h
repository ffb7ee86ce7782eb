// The options screen: one row per setting and BACK, changed with the arrows,
// Enter, the mouse buttons or the wheel; the settings are saved on leaving it.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/Types.h"
#include "play/Services.h"
#include "play/Settings.h"

struct TOptionRow {
  std::string Label;
  // The value as shown; empty for BACK.
  std::function<std::string(const TSettings&)> Value;
  // One step forward (+1) or back (-1), wrapping round.
  std::function<void(TSettings&, int)> Change;
};

class TOptionsScreen : public TScreen {
 public:
  explicit TOptionsScreen(TSessionView& session);
  std::string_view Name() const override { return "options"; }

  std::vector<TOptionRow> Rows;  // the settings, then BACK
  int Selected = 0;

  void Enter(TScreenStack&) override;
  // The settings are saved on leaving, however it is left.
  void Leave() override;
  void Key(TScreenStack& stack, uint16_t key) override;
  // A left click acts on the selected row (the one under the pointer) as
  // Enter does, a right click steps its value back; a notch of the wheel
  // steps the row under the pointer, up forward and down back.
  void Mouse(TScreenStack& stack, const TMouse& mouse) override;
  void Draw(TCanvas& canvas) override;
  int RowY(int row) const;

 private:
  void Activate(TScreenStack& stack, int step);
  // The row at playfield height y; -1 between and outside the rows.
  int RowAt(int y);
  TSessionView& session_;
  TPoint lastMouse_;
};
