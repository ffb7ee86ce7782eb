// The form's side of the typing record: storing a finished game and running
// the results and progress screens over the star field.
#include <algorithm>
#include <cstdio>

#include "platform/Types.h"
#include "platform/Utf8.h"
#include "record/History.h"
#include "record/RecordScreens.h"
#include "record/TypingRecord.h"
#include "replay/ReplayUnit.h"
#include "shell/GlyphfallUnit.h"

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
    form.BeginScreenFrame();
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
  const TKeyboardLayout layout = Platform.KeyboardLayout();
  RunPanel(*this, TScreen::Results, ResultsGuardMs,
           [&](bool guardPassed) { DrawResults(Canvas(), Record->Game(), layout, guardPassed); });
}

namespace {

constexpr size_t MaxListedWordsName = 12;

TRecentGameRow RowOf(const TKeptGame& game) {
  TRecentGameRow row;
  // The name is yyyymmdd-hhmmss-nn.gfr, when the game ended.
  const std::string& n = game.Name;
  row.When = n.substr(0, 4) + "-" + n.substr(4, 2) + "-" + n.substr(6, 2) + "  " + n.substr(9, 2) + ":" + n.substr(11, 2);
  row.Rules = game.Header.Rules;
  row.Start = "wave " + std::to_string(game.Header.StartWave);
  if (game.Header.SpeedPercent != NormalSpeed) row.Start += "  " + std::to_string(game.Header.SpeedPercent) + "%";
  row.Words = game.Header.WordList.substr(0, CharOffset(game.Header.WordList, MaxListedWordsName));
  char score[16];
  std::snprintf(score, sizeof score, "%06d", static_cast<int>(game.Trailer.Score));
  row.Score = score;
  row.Waves = std::to_string(game.Trailer.WavesCompleted);
  return row;
}

}  // namespace

void TGlyphfallForm::ShowStats() {
  const TProgress progress = History->LoadProgress();
  StatsRecent = false;
  StatsChosen = 0;
  std::vector<TKeptGame> games;
  std::vector<TRecentGameRow> rows;
  bool listed = false;
  for (;;) {
    StatsWatch = -1;
    RunPanel(*this, TScreen::Stats, 0, [&](bool) {
      if (!StatsRecent) {
        DrawProgress(Canvas(), progress);
        return;
      }
      // Read only when asked for: the files are whole games.
      if (!listed) {
        games = ListKeptGames(ReplayFolder, RecentGameRows);
        rows.clear();
        for (const TKeptGame& g : games) rows.push_back(RowOf(g));
        StatsRows = static_cast<int32_t>(rows.size());
        listed = true;
      }
      DrawRecentGames(Canvas(), rows, StatsChosen);
    });
    if (StatsWatch < 0 || StatsWatch >= StatsRows || Closed) break;
    WatchKept(games[static_cast<size_t>(StatsWatch)].Name);
    if (Closed) break;
  }
  StatsRows = 0;
}

void TGlyphfallForm::StatsKey(uint16_t key) {
  if (!StatsRecent) {
    if (key == vk::Right || key == vk::Tab)
      StatsRecent = true;
    else
      PanelDone = true;
    return;
  }
  switch (key) {
    case vk::Up: StatsChosen = std::max(0, StatsChosen - 1); break;
    case vk::Down: StatsChosen = std::max(0, std::min(StatsRows - 1, StatsChosen + 1)); break;
    case vk::Left: StatsRecent = false; break;
    case vk::Return:
      if (StatsRows > 0) {
        StatsWatch = StatsChosen;
        PanelDone = true;
      }
      break;
    case vk::Escape:
    case vk::Back: PanelDone = true; break;
    default: break;
  }
}

void TGlyphfallForm::StatsClick(int x, int y) {
  auto inside = [x, y](TRect r) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; };
  if (!StatsRecent) {
    if (inside(RecentGamesLink()))
      StatsRecent = true;
    else
      PanelDone = true;
    return;
  }
  const int row = RecentGameRowAt(y, StatsRows);
  if (inside(ProgressLink())) {
    StatsRecent = false;
  } else if (row >= 0) {
    StatsChosen = row;
    StatsWatch = row;
    PanelDone = true;
  } else {
    PanelDone = true;
  }
}

void TGlyphfallForm::StatsHover(int y) {
  const int row = StatsRecent ? RecentGameRowAt(y, StatsRows) : -1;
  if (row >= 0) StatsChosen = row;
}

void TGlyphfallForm::PanelInput() {
  if (GameTime - PanelStamp >= PanelGuard) PanelDone = true;
}
