// Watching a kept game: the game plays its recorded input again, paced as it
// was played (or each frame as fast as it comes); the window's own keys steer
// the watching, never the game: Right faster, Left slower, Escape ends.
#pragma once
#include <memory>
#include <string>

#include "play/Services.h"
#include "platform/Platform.h"
#include "replay/ReplayUnit.h"

class TWatchScreen : public TScreen, public TReplayPresenter, public TInputSink {
 public:
  TWatchScreen(TSessionView& session, std::unique_ptr<TReplay> replay, bool paced);
  std::string_view Name() const override { return "watch"; }
  // The whole game is played in the screen's one frame.
  void Frame(TScreenStack& stack, TScreenHost& host) override;
  bool TakesInput() const override { return false; }
  int Speed() const { return speed_; }

  // The watched game's frames.
  void PresentFrame(TWatchedGame& game) override;

  // The window's input while the game is watched.
  void KeyDown(uint16_t key, TShiftState) override;
  void KeyUp(uint16_t, TShiftState) override {}
  void MouseDown(TMouseButton, TShiftState, int, int) override {}
  void MouseMove(TShiftState, int, int) override {}
  void Close() override;

 private:
  void Rebase();
  void Deliver(TWatchedGame& game, const TReplayEvent& e);
  TSessionView& session_;
  std::unique_ptr<TReplay> replay_;
  TReplayPlayer player_;
  const bool paced_;
  TWatchedGame* game_ = nullptr;
  int speed_ = 1;
  bool stop_ = false;
  // Pacing: game ms played since the base, against wall ms since it.
  uint32_t realBase_ = 0, playedBase_ = 0, played_ = 0, lastShown_ = 0;
  // The window was closed in this frame: the game took the frame's other
  // input still, and ended after it.
  bool endAfterFrame_ = false;
};

