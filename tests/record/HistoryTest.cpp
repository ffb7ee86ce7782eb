// The history file: what goes in comes out, older and damaged files, a folder
// that cannot be written, a writer killed mid-save; the progress screen drawn
// from it.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/Database.h"
#include "record/History.h"
#include "record/RecordScreens.h"

namespace fs = std::filesystem;

namespace {

class HistoryFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "glyphfall-history-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder = pattern;
    path = (fs::path(folder) / HistoryFileName).string();
  }
  void TearDown() override { fs::remove_all(folder); }

  static TGameFigures Game(int hits, int misses, char32_t weak) {
    TGameFigures g;
    g.Hits = hits;
    g.Misses = misses;
    g.TypingMs = 60000;
    g.PlayMs = 90000;
    g.Words = hits / 5;
    g.Waves.resize(2);
    g.Keys[weak] = {10, misses, 0, 0};
    g.Keys['E'] = {hits, 0, 0, 0};
    return g;
  }

  std::string folder, path;
};

}  // namespace

TEST_F(HistoryFile, GamesComeBackAsProgress) {
  THistory h(path);
  EXPECT_EQ(h.LoadProgress().Games, 0);          // a new file is no game
  h.Save(Game(200, 2, 'Q'));                     // 40 WPM
  TGameFigures second = Game(300, 5, 'Z');       // 60 WPM
  second.Waves[1] = {7, 30, 4, 3, 9000, 15000};  // 40 WPM; every figure apart
  h.Save(second);
  TProgress p = h.LoadProgress();
  EXPECT_TRUE(h.Enabled());
  EXPECT_EQ(p.Games, 2);
  EXPECT_EQ(p.PlayMs, 180000);
  EXPECT_EQ(p.Words, 100);
  EXPECT_NEAR(p.BestWpm, 60, 1e-9);
  ASSERT_EQ(p.Recent.size(), 2u);
  EXPECT_NEAR(p.Recent[0].Wpm, 40, 1e-9);  // oldest first
  EXPECT_NEAR(p.Recent[1].Accuracy, 300 / 305.0, 1e-9);
  ASSERT_EQ(p.Weakest.size(), 2u);  // E was never missed
  EXPECT_EQ(p.Weakest[0].Letter, 'Z');
  EXPECT_EQ(p.Weakest[0].Misses, 5);

  TDatabase db(path);
  TStatement waves(db, "SELECT COUNT(*) FROM waves");
  ASSERT_TRUE(waves.Step());
  EXPECT_EQ(waves.Int(0), 4);
  TStatement wave(db,
                  "SELECT wave, hits, misses, bricks_lost, typing_ms, play_ms, wpm, accuracy"
                  " FROM waves WHERE game = 2 AND wave = 7");
  ASSERT_TRUE(wave.Step());
  const std::array<int64_t, 6> ints = {7, 30, 4, 3, 9000, 15000};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(wave.Int(i), ints[i]) << i;
  EXPECT_NEAR(wave.Real(6), 40, 1e-9);
  EXPECT_NEAR(wave.Real(7), 30 / 34.0, 1e-9);
}

TEST_F(HistoryFile, AnOlderFileIsBroughtUpToDateWithItsGames) {
  {
    TDatabase db(path);
    db.Exec(
        "CREATE TABLE games(id INTEGER PRIMARY KEY, date INTEGER NOT NULL, rules TEXT NOT NULL,"
        " start_wave INTEGER NOT NULL, score INTEGER NOT NULL, waves INTEGER NOT NULL, hits INTEGER NOT NULL,"
        " misses INTEGER NOT NULL, words INTEGER NOT NULL, typing_ms INTEGER NOT NULL, play_ms INTEGER NOT NULL,"
        " wpm REAL NOT NULL, accuracy REAL NOT NULL);"
        "CREATE TABLE waves(game INTEGER NOT NULL, wave INTEGER NOT NULL, hits INTEGER NOT NULL,"
        " misses INTEGER NOT NULL, bricks_lost INTEGER NOT NULL, typing_ms INTEGER NOT NULL,"
        " play_ms INTEGER NOT NULL, wpm REAL NOT NULL, accuracy REAL NOT NULL);"
        "CREATE TABLE game_keys(game INTEGER NOT NULL, letter TEXT NOT NULL, presses INTEGER NOT NULL,"
        " misses INTEGER NOT NULL, gap_ms INTEGER NOT NULL, gaps INTEGER NOT NULL, PRIMARY KEY(game, letter))"
        " WITHOUT ROWID;"
        "INSERT INTO games VALUES(1, 1700000000, 'Classic', 1, 500, 2, 100, 0, 20, 60000, 70000, 20.0, 1.0);"
        "PRAGMA user_version = 1");
  }
  THistory h(path);
  h.Save(Game(200, 0, 'Q'));
  EXPECT_EQ(h.LoadProgress().Games, 2);
  TDatabase db(path);
  EXPECT_EQ(db.UserVersion(), HistorySchemaVersion);
  TStatement lists(db, "SELECT word_list, IFNULL(accents, '?') FROM games ORDER BY id");
  ASSERT_TRUE(lists.Step());
  EXPECT_EQ(lists.Text(0), "English");
  EXPECT_EQ(lists.Text(1), "?");  // not known for a game of an older version
  ASSERT_TRUE(lists.Step());
  EXPECT_EQ(lists.Text(1), "either");
}

// A mash of keys once made the best speed; short games counted too; letters past Z were lost.
TEST_F(HistoryFile, OnlyGamesLongAndAccurateEnoughCountAndAnyLetterIsKept) {
  THistory h(path);
  TGameFigures good = Game(300, 5, 0xC9), mash = Game(4, 48, 'M'), brief = Game(40, 0, 'B');  // 60 WPM, É weak
  good.AccentsExact = true;
  mash.TypingMs = 54;     // 52 keys in a flash
  brief.TypingMs = 6000;  // fast and clean, but short
  for (const TGameFigures& g : {good, mash, brief}) h.Save(g);
  TProgress p = h.LoadProgress();
  EXPECT_EQ(p.Games, 3);
  EXPECT_EQ(p.Counted, 1);
  EXPECT_NEAR(p.BestWpm, 60, 1e-9);
  EXPECT_EQ(p.Recent.size(), 1u);
  ASSERT_EQ(p.Weakest.size(), 1u);  // the mash's M is no weak key
  EXPECT_EQ(p.Weakest[0].Letter, U'\u00C9');
  TDatabase db(path);
  TStatement accents(db, "SELECT accents FROM games");
  ASSERT_TRUE(accents.Step());
  EXPECT_EQ(accents.Text(0), "exact");
}

TEST_F(HistoryFile, ADamagedFileIsSetAsideAndANewOneBegun) {
  const std::string junk(8192, 'x');
  std::ofstream(path) << junk;
  THistory h(path);
  h.Save(Game(100, 1, 'Q'));
  EXPECT_TRUE(h.Enabled());
  EXPECT_NE(h.Message().find(".bad"), std::string::npos);
  EXPECT_EQ(h.LoadProgress().Games, 1);
  std::ifstream kept(path + ".bad");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), junk);

  // A database, but with a version this game never writes.
  fs::remove(path + ".bad");
  {
    TDatabase db(path);
    db.SetUserVersion(-3);
  }
  THistory again(path);
  again.Save(Game(100, 1, 'Q'));
  EXPECT_EQ(again.LoadProgress().Games, 1);
  EXPECT_TRUE(fs::exists(path + ".bad"));
}

TEST_F(HistoryFile, AFolderThatCannotBeWrittenTurnsTheHistoryOff) {
  std::ofstream(fs::path(folder) / "plain-file") << "x";
  THistory h((fs::path(folder) / "plain-file" / HistoryFileName).string());
  h.Save(Game(100, 1, 'Q'));
  EXPECT_FALSE(h.Enabled());
  const std::string message = h.Message();
  EXPECT_FALSE(message.empty());
  h.Save(Game(100, 1, 'Q'));  // no second attempt, no second message
  EXPECT_EQ(h.LoadProgress().Games, 0);
  EXPECT_EQ(h.Message(), message);
}

// A database browser or an sqlite3 shell holding a write transaction once
// turned the history off for the session, losing every later game.
TEST_F(HistoryFile, GamesFinishedWhileAnotherProgramHoldsTheFileAreSavedOnceItIsFree) {
  constexpr int ShortWaitMs = 20;
  THistory h(path, ShortWaitMs);
  h.Save(Game(100, 1, 'Q'));
  auto other = std::make_unique<TDatabase>(path, ShortWaitMs);
  other->Exec("BEGIN IMMEDIATE");
  for (int hits : {200, 300, 400}) h.Save(Game(hits, 2, 'Q'));
  EXPECT_TRUE(h.Enabled());
  EXPECT_EQ(h.Waiting(), 3u);
  EXPECT_NE(h.Message().find("busy"), std::string::npos) << h.Message();
  EXPECT_EQ(h.LoadProgress().Games, 1);  // still held: the file as it was
  other.reset();
  h.Save(Game(500, 5, 'Q'));
  TProgress p = h.LoadProgress();
  ASSERT_EQ(p.Games, 5);
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(p.Recent[i].Wpm, 20 * (i + 1), 1e-9) << i;  // in the order played

  // Games still waiting when the program ends are written on the way out.
  {
    THistory last(path, ShortWaitMs);
    TDatabase holder(path, ShortWaitMs);
    holder.Exec("BEGIN IMMEDIATE");
    last.Save(Game(100, 1, 'Q'));
    holder.Exec("ROLLBACK");
  }
  EXPECT_EQ(THistory(path).LoadProgress().Games, 6);
}

TEST_F(HistoryFile, AWriterKilledWhileSavingLeavesASoundFile) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    THistory h(path);
    for (;;) {
      h.Save(Game(100, 1, 'Q'));
      if (write(ready[1], "s", 1) != 1) _exit(1);
    }
  }
  close(ready[1]);
  char c;
  for (int saved = 0; saved < 30; ++saved) ASSERT_EQ(read(ready[0], &c, 1), 1);
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  close(ready[0]);

  TDatabase db(path);
  EXPECT_NO_THROW(db.CheckIntegrity());
  THistory h(path);
  EXPECT_GE(h.LoadProgress().Games, 30);
  EXPECT_TRUE(h.Enabled());
}

TEST_F(HistoryFile, ProgressScreenWithNoneOneAndTenThousandGames) {
  THistory h(path);
  TBitmap picture(800, 600);
  auto lit = [&](TRect r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left + 2; x < r.Right; ++x) n += picture.Canvas().GetPixel(x, y) != 0;
    return n;
  };
  auto draw = [&](const TProgress& p) {
    picture.Canvas().Brush.Color = clBlack;
    picture.Canvas().FillRect(TRect{0, 0, 800, 600});
    DrawProgress(picture.Canvas(), p);
  };
  draw(h.LoadProgress());
  EXPECT_EQ(lit(WpmPlotRect()), 0);  // no plot, only the words that say so
  EXPECT_GT(lit(TRect{0, 250, 800, 330}), 100);

  h.Save(Game(200, 2, 'Q'));
  draw(h.LoadProgress());
  // The one game's dot, in the middle of each plot.
  EXPECT_GT(lit(TRect{400, WpmPlotRect().Top, 440, WpmPlotRect().Bottom - 1}), 8);
  EXPECT_GT(lit(TRect{400, AccuracyPlotRect().Top, 440, AccuracyPlotRect().Top + 6}), 8);

  {
    TDatabase db(path);
    TTransaction t(db);
    TStatement g(db,
                 "INSERT INTO games(date, rules, start_wave, score, waves, hits, misses, words, typing_ms,"
                 " play_ms, wpm, accuracy) VALUES(0, 'Classic', 1, 0, 1, 100, 1, 20, 60000, 60000, ?, 0.99)");
    for (int i = 0; i < 9999; ++i) {
      g.Bind(1, 20.0 + i % 40);
      g.Step();
      g.Reset();
    }
    t.Commit();
  }
  TProgress p = h.LoadProgress();
  EXPECT_EQ(p.Games, 10000);
  ASSERT_EQ(p.Recent.size(), static_cast<size_t>(THistory::RecentGames));
  EXPECT_NEAR(p.Recent.back().Wpm, 20.0 + 9998 % 40, 1e-9);
  EXPECT_EQ(p.Weakest.size(), 0u);  // the last twenty games kept no keys
  draw(p);
  EXPECT_GT(lit(WpmPlotRect()), 50 * 9);
}
