#include "screens/StatsPanel.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/Utf8.h"
#include "screens/WatchScreen.h"

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

bool Inside(TRect r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

}  // namespace

TStatsScreen::TStatsScreen(TSessionView& session) : session_(session) {}

void TStatsScreen::Enter(TScreenStack&) { progress_ = session_.History().LoadProgress(); }

void TStatsScreen::ListGames() {
  // Read only when asked for: the files are whole games.
  if (listed_) return;
  games_ = ListKeptGames(session_.ReplayFolder(), RecentGameRows);
  rows_.clear();
  for (const TKeptGame& g : games_) rows_.push_back(RowOf(g));
  listed_ = true;
}

void TStatsScreen::Draw(TCanvas& canvas) {
  if (!recent_) {
    DrawProgress(canvas, progress_);
    return;
  }
  ListGames();
  DrawRecentGames(canvas, rows_, chosen_);
}

void TStatsScreen::Watch(TScreenStack& stack, int row) {
  if (row < 0 || row >= Rows()) return;
  chosen_ = row;
  auto replay = session_.LoadForWatching(
      (std::filesystem::path(session_.ReplayFolder()) / games_[static_cast<size_t>(row)].Name).string());
  if (replay) stack.Push(std::make_unique<TWatchScreen>(session_, std::move(replay), true));
}

void TStatsScreen::Key(TScreenStack& stack, uint16_t key) {
  if (!recent_) {
    if (key == vk::Right || key == vk::Tab)
      recent_ = true;
    else
      stack.Pop();
    return;
  }
  ListGames();
  switch (key) {
    case vk::Up: chosen_ = std::max(0, chosen_ - 1); break;
    case vk::Down: chosen_ = std::max(0, std::min(Rows() - 1, chosen_ + 1)); break;
    case vk::Left: recent_ = false; break;
    case vk::Return: Watch(stack, chosen_); break;
    case vk::Escape:
    case vk::Back: stack.Pop(); break;
    default: break;
  }
}

void TStatsScreen::Mouse(TScreenStack& stack, const TMouse& mouse) {
  if (IsWheel(mouse.Button)) return;
  if (recent_) ListGames();
  if (mouse.Kind == TMouse::TKind::Move) {
    const int row = recent_ ? RecentGameRowAt(mouse.Y, Rows()) : -1;
    if (row >= 0) chosen_ = row;
    return;
  }
  if (!recent_) {
    if (Inside(RecentGamesLink(), mouse.X, mouse.Y))
      recent_ = true;
    else
      stack.Pop();
    return;
  }
  const int row = RecentGameRowAt(mouse.Y, Rows());
  if (Inside(ProgressLink(), mouse.X, mouse.Y))
    recent_ = false;
  else if (row >= 0)
    Watch(stack, row);
  else
    stack.Pop();
}
