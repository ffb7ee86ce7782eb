// What the added screens may use of the game and of what was added beside
// it, handed to them by the session; they never see the form.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "play/Screen.h"
#include "play/Settings.h"

struct TGameFigures;
class THistory;
struct TReplay;
class TInputSink;

// A kept game being watched: the game it drives, frame by frame.
class TWatchedGame {
 public:
  virtual ~TWatchedGame() = default;
  virtual TScreenHost& Host() = 0;
  // The game's own input handlers, which the recorded input goes to.
  virtual TInputSink& GameInput() = 0;
  virtual bool Playing() const = 0;
  virtual void StopPlaying() = 0;
  // The finished frame to the window, as it is.
  virtual void Show() = 0;
  // Moves the game clock on by a recorded frame's step.
  virtual void Advance(uint32_t step) = 0;
};

// The frames of a watched game as the watcher presents them.
class TReplayPresenter {
 public:
  virtual ~TReplayPresenter() = default;
  virtual void PresentFrame(TWatchedGame& game) = 0;
};

class TSessionView {
 public:
  virtual ~TSessionView() = default;
  virtual TScreenHost& Host() = 0;
  virtual TSettings& Settings() = 0;
  // Puts Settings into effect: the score table, volume, window, scaling, list.
  virtual void ApplySettings() = 0;
  // The typing of the game just played, and of every game before it.
  virtual const TGameFigures& LastGame() = 0;
  virtual THistory& History() = 0;
  // Where kept games are; empty when none are kept.
  virtual const std::string& ReplayFolder() = 0;
  // Why this copy of the game could not play the replay back the same, or "".
  virtual std::string ReplayRefusal(const TReplay& replay) = 0;
  // Loads and checks a kept game's file so that it can be watched: the
  // replay, or null after the player was told why not.
  virtual std::unique_ptr<TReplay> LoadForWatching(const std::string& path) = 0;
  // Plays the replay on the game under its own settings, presented by
  // presenter, to its end; the player's own are back afterwards.
  virtual void PlayReplay(const TReplay& replay, TReplayPresenter& presenter, TInputSink& window) = 0;
};
