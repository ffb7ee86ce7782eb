// The history of finished games in glyphfall.db (SQLite), beside the
// high-score table: one row per game, per wave and per letter key used.
// Read for the STATS screen. A damaged file is set aside as glyphfall.db.bad
// and a fresh one begun; a folder that cannot be written turns the history
// off; a file another program keeps busy holds the games in memory until
// it is free. Each way the player sees one message and the game plays on.
#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "record/TypingRecord.h"

class TDatabase;
class EDatabaseError;

constexpr char HistoryFileName[] = "glyphfall.db";
// The schema this program writes; older files are brought up to it.
constexpr int HistorySchemaVersion = 3;

struct TProgress {
  struct TGamePoint {
    int64_t Date = 0;
    double Wpm = 0, Accuracy = 0;
  };
  struct TWeakKey {
    char32_t Letter = 'A';  // a capital
    int64_t Presses = 0, Misses = 0;
  };
  // Totals of every game played.
  int64_t Games = 0, PlayMs = 0, Words = 0;
  // The rest only of games that count (TGameFigures::Counts).
  int64_t Counted = 0;
  double BestWpm = 0;
  std::vector<TGamePoint> Recent;  // the last games, oldest first
  std::vector<TWeakKey> Weakest;   // most missed (by share of presses) first
};

class THistory {
 public:
  static constexpr int RecentGames = 50;
  static constexpr int WeakKeyGames = 20;
  static constexpr int WeakKeysShown = 5;

  // Finished games kept while the file is busy; past this the oldest go.
  static constexpr size_t MaxPendingGames = 500;

  // busyWaitMs: how long a write waits for another program's lock.
  explicit THistory(std::string path, int busyWaitMs = 2000);
  // Writes the games still waiting, if the file lets it.
  ~THistory();

  // Stores one finished game in one transaction, after any games still
  // waiting. A file another program keeps busy harms nothing: the games wait
  // in memory for the next save (one message says so). Any other failure
  // turns the history off with a message; the game goes on.
  void Save(const TGameFigures& game);
  // Totals, the last RecentGames games that count and the weakest keys of
  // the last WeakKeyGames of them; all empty when the history is off.
  TProgress LoadProgress();

  bool Enabled() const { return enabled_; }
  // The last message shown about the file, for whoever wants to repeat it.
  const std::string& Message() const { return message_; }
  const std::string& Path() const { return path_; }
  // Finished games not yet in the file.
  size_t Waiting() const { return pending_.size(); }

 private:
  // Opens the file at first use; false when the history is off.
  bool Open();
  void OpenAndMigrate();
  // After a failure: a damaged file is set aside and a new one begun (true);
  // anything else turns the history off (false).
  // A busy file is left as it is (false), with a message the first time.
  bool Recover(const EDatabaseError& e);
  // One game in one transaction; false when it was not stored.
  bool Write(const TGameFigures& game);
  void WritePending();
  void Report(const std::string& text);
  void TurnOff(const std::string& why);

  std::string path_;
  int busyWaitMs_;
  std::unique_ptr<TDatabase> db_;
  std::deque<TGameFigures> pending_;
  bool enabled_ = true;
  bool busyReported_ = false;
  std::string message_;
};
