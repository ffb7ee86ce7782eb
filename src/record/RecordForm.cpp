// The form's side of the typing record: storing a finished game and running
// the results and progress screens over the star field.
#include "platform/Types.h"
#include "record/History.h"
#include "record/RecordScreens.h"
#include "record/TypingRecord.h"
#include "shell/GlyphfallUnit.h"
#include "sprites/StarUnit.h"

namespace {

// Runs frames of a screen until a key or click ends it (not before guardMs)
// or the window goes away.
template <class Draw>
void RunPanel(TGlyphfallForm& form, TGlyphfallForm::TScreen screen, uint32_t guardMs, Draw draw) {
  form.Screen = screen;
  form.PanelStamp = form.GameTime;
  form.PanelGuard = guardMs;
  form.PanelDone = false;
  while (form.Visible() && !form.Closed && !form.PanelDone) {
    form.StarField->UpdateAll(form.Stage);
    form.DrawBackground();
    form.DrawHud();
    draw(form.GameTime - form.PanelStamp >= guardMs);
    form.PresentFrame();
  }
  // The choice that opened the menu's screen must not be taken again.
  form.MenuActive = false;
}

}  // namespace

void TGlyphfallForm::FinishGame(bool showResults) {
  const TGameFigures& game = Record->Game();
  if (!game.Typed()) return;
  // Saved only now the game is over: play never waits on the disk.
  History->Save(game);
  if (showResults && !Closed) ShowResults();
}

void TGlyphfallForm::ShowResults() {
  RunPanel(*this, TScreen::Results, ResultsGuardMs,
           [this](bool guardPassed) { DrawResults(Canvas(), Record->Game(), guardPassed); });
}

void TGlyphfallForm::ShowStats() {
  const TProgress progress = History->LoadProgress();
  RunPanel(*this, TScreen::Stats, 0, [&](bool) { DrawProgress(Canvas(), progress); });
}

void TGlyphfallForm::PanelInput() {
  if (GameTime - PanelStamp >= PanelGuard) PanelDone = true;
}
