// STATS: the progress over every game, and a second page listing the kept
// games to watch again.
#pragma once
#include <vector>

#include "play/Services.h"
#include "record/History.h"
#include "record/RecordScreens.h"
#include "replay/ReplayUnit.h"

class TStatsScreen : public TScreen {
 public:
  explicit TStatsScreen(TSessionView& session);
  std::string_view Name() const override { return "stats"; }
  void Enter(TScreenStack&) override;
  void Draw(TCanvas& canvas) override;
  void Key(TScreenStack& stack, uint16_t key) override;
  void Mouse(TScreenStack& stack, const TMouse& mouse) override;

  // The page of kept games is on show, and its chosen row.
  bool Recent() const { return recent_; }
  int Chosen() const { return chosen_; }
  int Rows() const { return static_cast<int>(rows_.size()); }

 private:
  void ListGames();
  void Watch(TScreenStack& stack, int row);
  TSessionView& session_;
  TProgress progress_;
  bool recent_ = false;
  bool listed_ = false;
  int chosen_ = 0;
  std::vector<TKeptGame> games_;
  std::vector<TRecentGameRow> rows_;
};
