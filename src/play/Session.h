// What the form asks, at the few points of its loops where they come in, of
// everything built beside it: rules, the typing record, replays, word lists
// in other languages, the added screens and menu items. The form holds one
// of these, or none and plays the game as first built.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "play/Input.h"

class TCanvas;

struct TMenuEntry {
  uint8_t Id = 0;
  std::string Caption;
  uint8_t After = 0;  // shown after the form's own item of this id
};

// Small print under the HUD's values; empty shows nothing.
struct THudNotes {
  std::string UnderScore;
  std::string UnderWave;
};

class TSessionHooks {
 public:
  virtual ~TSessionHooks() = default;
  // The window is shown and the menu built: the settings take effect, and a
  // replay asked for on the command line is watched.
  virtual void Begin() = 0;
  virtual std::vector<TMenuEntry> MenuEntries() const = 0;
  // One of those entries was chosen on the menu.
  virtual void MenuChosen(uint8_t id) = 0;
  // A new game, set up as first built, is about to start its first wave.
  virtual void GameStarting() = 0;
  // The game is over and its lists emptied. Returns whether its score may
  // enter the table; replay is the name of its kept game, or empty.
  virtual bool GameFinished(bool showResults, std::string& replay) = 0;
  // After the high-score check of a game.
  virtual void ScoreChecked() = 0;
  // A click on the high-score table on show, at playfield height y.
  virtual void TableClicked(int y) = 0;
  // After the table: watches the game of a row clicked on it; true when the
  // table is to be shown again.
  virtual bool WatchClickedRow() = 0;
  // The game under way may enter the score table (and so raise the high score).
  virtual bool Ranked() const = 0;
  // A key at the words: false leaves it to the game as first built.
  virtual bool KeyAtWords(uint16_t key) = 0;
  // A letter or digit typed as text during play.
  virtual void TextAtWords(char32_t c) = 0;
  virtual void DrawOverWords(TCanvas& canvas) = 0;
  virtual THudNotes HudNotes() = 0;
  // Every input the form's handlers receive, and each frame's clock step.
  virtual void Input(const TReplayEvent& event) = 0;
  virtual void FramePresented(uint32_t step) = 0;
  // True when the frame was presented by the session (a replay being
  // watched paces and feeds its own frames).
  virtual bool PresentsFrame() = 0;
};
