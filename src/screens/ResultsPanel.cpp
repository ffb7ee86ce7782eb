#include "screens/ResultsPanel.h"

#include "framework/GameClock.h"
#include "record/RecordScreens.h"

TResultsScreen::TResultsScreen(TSessionView& session) : session_(session) {}

void TResultsScreen::Enter(TScreenStack&) {
  layout_ = session_.Host().Platform().KeyboardLayout();
  shown_ = session_.Host().Clock().GameTime;
}

bool TResultsScreen::GuardPassed() const { return session_.Host().Clock().GameTime - shown_ >= ResultsGuardMs; }

void TResultsScreen::Draw(TCanvas& canvas) { DrawResults(canvas, session_.LastGame(), layout_, GuardPassed()); }

void TResultsScreen::GoOn(TScreenStack& stack) {
  if (GuardPassed()) stack.Pop();
}
