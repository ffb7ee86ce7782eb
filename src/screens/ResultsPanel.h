// The results of the game just played, after it, until a key or a click.
#pragma once
#include "play/Services.h"
#include "platform/Platform.h"

class TResultsScreen : public TScreen {
 public:
  explicit TResultsScreen(TSessionView& session);
  std::string_view Name() const override { return "results"; }
  void Enter(TScreenStack&) override;
  void Draw(TCanvas& canvas) override;
  void Key(TScreenStack& stack, uint16_t) override { GoOn(stack); }
  void Mouse(TScreenStack& stack, const TMouse& mouse) override {
    if (mouse.Kind == TMouse::TKind::Down) GoOn(stack);
  }

 private:
  // Not before the guard: a key then is still typing from the game.
  void GoOn(TScreenStack& stack);
  bool GuardPassed() const;
  TSessionView& session_;
  TKeyboardLayout layout_;
  uint32_t shown_ = 0;
};
