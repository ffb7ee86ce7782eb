#include "Game.h"

#include "hiscores/HiScoreUnit.h"
#include "rules/TypistRules.h"
#include "screens/OptionsScreen.h"
#include "screens/ResultsPanel.h"
#include "screens/StatsPanel.h"
#include "screens/WatchScreen.h"

void RegisterRulesSets() {
  RegisterRulesSet({"Typist", HiScoreTypistFileName, [](TPlay& play) { return std::make_unique<TTypistRules>(play); }});
}

TGame::TRegistered::TRegistered() { RegisterRulesSets(); }

TGame::TGame(TPlatform& platform) : Form(platform), Session(Form) {
  Session.AddMenuScreen({MenuStats, "STATS", MenuHighScores},
                        [](TSessionView& s) { return std::make_unique<TStatsScreen>(s); });
  Session.AddMenuScreen({MenuOptions, "OPTIONS", MenuHighScores},
                        [](TSessionView& s) { return std::make_unique<TOptionsScreen>(s); });
  Session.SetResultsScreen([](TSessionView& s) { return std::make_unique<TResultsScreen>(s); });
  Session.SetWatchScreen([](TSessionView& s, std::unique_ptr<TReplay> replay, bool paced) {
    return std::make_unique<TWatchScreen>(s, std::move(replay), paced);
  });
}

std::string_view ShowingScreen(const TGlyphfallForm& form) {
  if (form.Closed) return "ended";
  if (form.Playing) return "play";
  if (const TScreen* top = form.Screens.Top()) return top->Name();
  if (form.MenuActive) return "menu";
  if (form.Menu && form.Menu->Selected == MenuHighScores) return "hiscores";
  return "title";
}
