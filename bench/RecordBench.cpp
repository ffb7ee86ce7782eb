// The typing record: the cost of one key to the record, of storing a game,
// of opening STATS over a long history, and of the two screens' frames.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "BenchForm.h"
#include "platform/Database.h"
#include "record/History.h"
#include "record/RecordScreens.h"
#include "record/TypingRecord.h"
#include "sprites/StarUnit.h"

namespace {

namespace fs = std::filesystem;

// A scratch folder for one benchmark's history, removed afterwards.
struct TScratch {
  TScratch() {
    std::string pattern = (fs::temp_directory_path() / "glyphfall-bench-XXXXXX").string();
    if (mkdtemp(pattern.data())) folder = pattern;
  }
  ~TScratch() {
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
  std::string Path() const { return (fs::path(folder) / HistoryFileName).string(); }
  std::string folder;
};

// A game of fifteen waves in which every key was pressed.
TGameFigures TypicalGame(int seed) {
  TGameFigures g;
  g.Hits = 2000 + seed % 500;
  g.Misses = 50 + seed % 40;
  g.TypingMs = 600000;
  g.PlayMs = 700000;
  g.Words = g.Hits / 6;
  g.Waves.resize(15);
  for (int i = 0; i < 15; ++i) g.Waves[i] = {i + 1, 130, 3, 0, 40000, 46000};
  for (int k = 0; k < LetterKeys; ++k) g.Keys[static_cast<char32_t>('A' + k)] = {80 + k, (k * seed) % 7, 20000, 79 + k};
  return g;
}

void BM_RecordKey(benchmark::State& state) {
  TTypingRecord record;
  record.GameStarted({0, "Classic", 0, 1, "English", 100, false});
  record.WaveStarted({0, 1, false});
  const TKeyHit hit{TWordRef{1, "CASTLE", "TSpriteWord", 0}, 1};
  TKeyTyped key;
  key.Hits = std::span<const TKeyHit>(&hit, 1);
  uint32_t time = 0;
  for (auto _ : state) {
    time += 150;
    key.Time = time;
    key.Key = static_cast<uint16_t>('A' + time % 26);
    key.Hit = time % 7 != 0;
    record.KeyTyped(key);
    benchmark::ClobberMemory();
  }
  benchmark::DoNotOptimize(record.Game().Hits);
}
BENCHMARK(BM_RecordKey);

void BM_HistorySave(benchmark::State& state) {
  TScratch scratch;
  THistory history(scratch.Path());
  history.Save(TypicalGame(0));  // the file made and its schema written
  int seed = 1;
  for (auto _ : state) history.Save(TypicalGame(seed++));
}
BENCHMARK(BM_HistorySave)->Unit(benchmark::kMillisecond)->Iterations(200);

// Opening STATS: the file opened and checked, the progress read and drawn once.
void BM_StatsOpen10000(benchmark::State& state) {
  TScratch scratch;
  {
    THistory history(scratch.Path());
    history.Save(TypicalGame(0));
    TDatabase db(scratch.Path());
    TTransaction t(db);
    TStatement games(db, "INSERT INTO games SELECT NULL, date, rules, start_wave, score, waves, hits, misses, words,"
                         " typing_ms, play_ms, wpm + ?, accuracy, word_list, accents FROM games WHERE id = 1");
    TStatement waves(db, "INSERT INTO waves SELECT ?, wave, hits, misses, bricks_lost, typing_ms, play_ms, wpm,"
                         " accuracy FROM waves WHERE game = 1");
    TStatement keys(db, "INSERT INTO game_keys SELECT ?, letter, presses, misses, gap_ms, gaps FROM game_keys"
                        " WHERE game = 1");
    for (int i = 1; i < 10000; ++i) {
      games.Bind(1, static_cast<double>(i % 30));
      games.Step();
      games.Reset();
      const int64_t id = db.LastInsertId();
      for (TStatement* s : {&waves, &keys}) {
        s->Bind(1, id);
        s->Step();
        s->Reset();
      }
    }
    t.Commit();
  }
  TBitmap picture(800, 600);
  for (auto _ : state) {
    THistory history(scratch.Path());
    TProgress p = history.LoadProgress();
    DrawProgress(picture.Canvas(), p);
    benchmark::DoNotOptimize(p.Games);
  }
}
BENCHMARK(BM_StatsOpen10000)->Unit(benchmark::kMillisecond);

void BM_FrameResults(benchmark::State& state) {
  TBenchForm b;
  TGlyphfallForm& f = *b.form;
  f.StarField->UpdateAll(f.Stage);
  const TGameFigures game = TypicalGame(3);
  for (auto _ : state) {
    f.DrawBackground();
    f.DrawHud();
    DrawResults(f.Canvas(), game, QwertyLayout(), true);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameResults);

void BM_FrameStats(benchmark::State& state) {
  TBenchForm b;
  TGlyphfallForm& f = *b.form;
  f.StarField->UpdateAll(f.Stage);
  TProgress progress;
  progress.Games = 10000;
  for (int i = 0; i < THistory::RecentGames; ++i) progress.Recent.push_back({0, 30.0 + i % 17, 0.9 + i % 9 / 100.0});
  for (char32_t c : {U'Q', U'Z', U'X', U'J', U'K'}) progress.Weakest.push_back({c, 40, 9});
  for (auto _ : state) {
    f.DrawBackground();
    f.DrawHud();
    DrawProgress(f.Canvas(), progress);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameStats);

}  // namespace
