#include "record/History.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "framework/Letters.h"
#include "platform/Application.h"
#include "platform/Database.h"
#include "platform/Utf8.h"

namespace {

// Each step brings the file from version i to i + 1; a new file runs them all.
const char* const Migrations[HistorySchemaVersion] = {
    ("CREATE TABLE games(id INTEGER PRIMARY KEY, date INTEGER NOT NULL, rules TEXT NOT NULL,"
    " start_wave INTEGER NOT NULL, score INTEGER NOT NULL, waves INTEGER NOT NULL, hits INTEGER NOT NULL,"
    " misses INTEGER NOT NULL, words INTEGER NOT NULL, typing_ms INTEGER NOT NULL, play_ms INTEGER NOT NULL,"
    " wpm REAL NOT NULL, accuracy REAL NOT NULL);"
    "CREATE TABLE waves(game INTEGER NOT NULL, wave INTEGER NOT NULL, hits INTEGER NOT NULL,"
    " misses INTEGER NOT NULL, bricks_lost INTEGER NOT NULL, typing_ms INTEGER NOT NULL, play_ms INTEGER NOT NULL,"
    " wpm REAL NOT NULL, accuracy REAL NOT NULL);"
    "CREATE TABLE game_keys(game INTEGER NOT NULL, letter TEXT NOT NULL, presses INTEGER NOT NULL,"
    " misses INTEGER NOT NULL, gap_ms INTEGER NOT NULL, gaps INTEGER NOT NULL, PRIMARY KEY(game, letter))"
    " WITHOUT ROWID;"),
    // Games on other word lists; the waves of a game found without a scan.
    ("ALTER TABLE games ADD COLUMN word_list TEXT NOT NULL DEFAULT 'English';"
     "CREATE INDEX waves_game ON waves(game);"),
    // How accents were typed ('exact' or 'either'); NULL for games before.
    // game_keys.letter holds any letter as UTF-8 from here on, not only A-Z.
    "ALTER TABLE games ADD COLUMN accents TEXT;",
};

// A game counts towards the best and the progress (TGameFigures::Counts).
constexpr char CountedGame[] = "hits >= ?1 AND accuracy >= ?2";

int64_t Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// Moves path and SQLite's side files aside under the .bad name.
bool SetAside(const std::string& path) {
  std::error_code ec;
  const std::string bad = path + ".bad";
  std::filesystem::rename(path, bad, ec);
  if (ec) return false;
  for (const char* side : {"-wal", "-shm", "-journal"}) {
    std::error_code ignored;
    if (std::filesystem::exists(path + side, ignored)) std::filesystem::rename(path + side, bad + side, ignored);
  }
  return true;
}

}  // namespace

THistory::THistory(std::string path, int busyWaitMs) : path_(std::move(path)), busyWaitMs_(busyWaitMs) {}

THistory::~THistory() {
  // The last chance for games a busy file held back; no one is left to tell.
  if (pending_.empty()) return;
  try {
    busyReported_ = true;
    WritePending();
  } catch (...) {
  }
}

void THistory::Report(const std::string& text) {
  message_ = text;
  if (Application)
    Application->ShowError(text);
  else
    std::fprintf(stderr, "%s\n", text.c_str());
}

void THistory::TurnOff(const std::string& why) {
  db_.reset();
  enabled_ = false;
  pending_.clear();
  Report("The game history is off: " + why);
}

void THistory::OpenAndMigrate() {
  db_ = std::make_unique<TDatabase>(path_, busyWaitMs_);
  // The write-ahead log keeps a save short and survives a killed program.
  // A file that is not a database fails here; damage further in shows as
  // an error of the query that meets it (a full check would read every page).
  db_->Exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL");
  int version = db_->UserVersion();
  // This game never writes a negative version: the file is not its own.
  if (version < 0) throw EDatabaseError(path_ + " is not a history of this game", true);
  if (version > HistorySchemaVersion)
    throw EDatabaseError(path_ + " was written by a newer version of the game", false);
  if (version == HistorySchemaVersion) return;
  TTransaction t(*db_);
  for (int v = version; v < HistorySchemaVersion; ++v) db_->Exec(Migrations[v]);
  db_->SetUserVersion(HistorySchemaVersion);
  t.Commit();
}

bool THistory::Open() {
  if (db_) return true;
  if (!enabled_) return false;
  try {
    OpenAndMigrate();
    return true;
  } catch (const EDatabaseError& e) {
    return Recover(e);
  }
}

bool THistory::Recover(const EDatabaseError& e) {
  db_.reset();
  if (e.Busy) {
    if (!busyReported_)
      Report(path_ + " is busy in another program. The finished games are kept and will be saved when it is free.");
    busyReported_ = true;
    return false;
  }
  if (!e.Damaged) {
    TurnOff(e.what());
    return false;
  }
  if (!SetAside(path_)) {
    TurnOff(path_ + " is damaged and could not be set aside");
    return false;
  }
  try {
    OpenAndMigrate();
  } catch (const EDatabaseError& again) {
    TurnOff(again.what());
    return false;
  }
  Report(path_ + " was damaged. It was kept as " + path_ + ".bad and a new history begun.");
  return true;
}

void THistory::Save(const TGameFigures& game) {
  if (!enabled_) return;
  pending_.push_back(game);
  // Dated when it ended, however late it is written.
  if (pending_.back().Date == 0) pending_.back().Date = Now();
  if (pending_.size() > MaxPendingGames) pending_.pop_front();
  WritePending();
}

void THistory::WritePending() {
  // A damaged file set aside gets one more try, on the new file.
  for (int failures = 0; !pending_.empty() && failures < 2 && Open();) {
    if (Write(pending_.front()))
      pending_.pop_front();
    else
      ++failures;
  }
}

bool THistory::Write(const TGameFigures& game) {
  try {
    TTransaction t(*db_);
    TStatement g(*db_,
                 "INSERT INTO games(date, rules, word_list, start_wave, score, waves, hits, misses, words,"
                 " typing_ms, play_ms, wpm, accuracy, accents) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    g.Bind(1, game.Date != 0 ? game.Date : Now()).Bind(2, game.Rules).Bind(3, game.WordList);
    g.Bind(4, int64_t{game.StartWave}).Bind(5, int64_t{game.Score}).Bind(6, int64_t{game.WavesCompleted});
    g.Bind(7, int64_t{game.Hits}).Bind(8, int64_t{game.Misses}).Bind(9, int64_t{game.Words});
    g.Bind(10, game.TypingMs).Bind(11, game.PlayMs).Bind(12, game.Wpm()).Bind(13, game.Accuracy());
    g.Bind(14, std::string_view(game.AccentsExact ? "exact" : "either"));
    g.Step();
    const int64_t id = db_->LastInsertId();

    TStatement w(*db_, "INSERT INTO waves VALUES(?,?,?,?,?,?,?,?,?)");
    for (const TWaveFigures& wave : game.Waves) {
      w.Bind(1, id).Bind(2, int64_t{wave.Wave}).Bind(3, int64_t{wave.Hits}).Bind(4, int64_t{wave.Misses});
      w.Bind(5, int64_t{wave.BricksLost}).Bind(6, wave.TypingMs).Bind(7, wave.PlayMs);
      w.Bind(8, wave.Wpm()).Bind(9, wave.Accuracy());
      w.Step();
      w.Reset();
    }
    TStatement k(*db_, "INSERT INTO game_keys VALUES(?,?,?,?,?,?)");
    for (const auto& [code, key] : game.Keys.Used()) {
      std::string letter;
      AppendUtf8(letter, code);
      k.Bind(1, id).Bind(2, letter).Bind(3, int64_t{key.Presses});
      k.Bind(4, int64_t{key.Misses}).Bind(5, key.GapMs).Bind(6, int64_t{key.Gaps});
      k.Step();
      k.Reset();
    }
    t.Commit();
  } catch (const EDatabaseError& e) {
    // A damaged file is set aside and the game waits for the new one.
    Recover(e);
    return false;
  }
  return true;
}

TProgress THistory::LoadProgress() {
  TProgress p;
  WritePending();
  if (!Open()) return p;
  try {
    auto counted = [](TStatement& s) { s.Bind(1, int64_t{MinCountedHits}).Bind(2, MinCountedAccuracy); };
    TStatement totals(*db_, std::string("SELECT COUNT(*), TOTAL(play_ms), TOTAL(words), IFNULL(MAX(CASE WHEN ") +
                                CountedGame + " THEN wpm END), 0), TOTAL(" + CountedGame + ") FROM games");
    counted(totals);
    if (totals.Step()) {
      p.Games = totals.Int(0);
      p.PlayMs = totals.Int(1);
      p.Words = totals.Int(2);
      p.BestWpm = totals.Real(3);
      p.Counted = totals.Int(4);
    }

    TStatement recent(*db_, std::string("SELECT date, wpm, accuracy FROM games WHERE ") + CountedGame +
                                " ORDER BY id DESC LIMIT ?3");
    counted(recent);
    recent.Bind(3, int64_t{RecentGames});
    while (recent.Step()) p.Recent.push_back({recent.Int(0), recent.Real(1), recent.Real(2)});
    std::reverse(p.Recent.begin(), p.Recent.end());

    TStatement keys(*db_, std::string("SELECT letter, SUM(presses), SUM(misses) FROM game_keys WHERE game IN"
                                      " (SELECT id FROM games WHERE ") +
                              CountedGame +
                              " ORDER BY id DESC LIMIT ?3)"
                              " GROUP BY letter HAVING SUM(misses) > 0"
                              " ORDER BY CAST(SUM(misses) AS REAL) / SUM(presses) DESC, SUM(misses) DESC, letter");
    counted(keys);
    keys.Bind(3, int64_t{WeakKeyGames});
    while (keys.Step() && p.Weakest.size() < static_cast<size_t>(WeakKeysShown)) {
      // One letter, as this game writes them; anything else is not its row.
      const std::string letter = keys.Text(0);
      size_t at = 0;
      const char32_t c = letter.empty() ? 0 : NextChar(letter, at);
      if (at != letter.size() || !IsLetterChar(c) || UpperLetter(c) != c) continue;
      p.Weakest.push_back({c, keys.Int(1), keys.Int(2)});
    }
  } catch (const EDatabaseError& e) {
    Recover(e);
    return TProgress{};
  }
  return p;
}
