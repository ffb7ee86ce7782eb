// Frame composition on the headless canvas, against the memory-bandwidth
// floor of one frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "BenchForm.h"
#include "BusyScene.h"
#include "sprites/StarUnit.h"
#include "words/WordUnit.h"

namespace {
constexpr size_t FramePixels = 800 * 600;

void BM_FrameFloor(benchmark::State& state) {
  std::vector<uint32_t> frame(FramePixels), window(FramePixels);
  for (auto _ : state) {
    std::memset(frame.data(), 0, FramePixels * 4);
    benchmark::DoNotOptimize(frame.data());
    std::memcpy(window.data(), frame.data(), FramePixels * 4);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameFloor);

void BM_FrameMenu(benchmark::State& state) {
  TBenchForm b;
  TGlyphfallForm& f = *b.form;
  f.BuildMenu();
  f.StarField->UpdateAll(f.Stage);
  for (auto _ : state) {
    f.DrawBackground();
    f.DrawHud();
    f.DrawMenu();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameMenu);

void BusyWave(benchmark::State& state, const char* const (&words)[10]) {
  TBenchForm b;
  TGlyphfallForm& f = *b.form;
  BuildBusyWave(f, words);
  for (auto _ : state) {
    Compose(f);
    benchmark::ClobberMemory();
  }
}

void BM_FrameBusyWave(benchmark::State& state) { BusyWave(state, BusyWords); }
BENCHMARK(BM_FrameBusyWave);

// The same wave with German words: letters beyond the first 256 and accents.
void BM_FrameBusyWaveGerman(benchmark::State& state) {
  const char* const words[10] = {"ÄRGER", "STRAßE", "ÜBUNG", "GRÖßE", "FÄHRE", "MÖWE", "SCHÖN", "BRÜCKE", "KÄSE", "ZÜGE"};
  BusyWave(state, words);
}
BENCHMARK(BM_FrameBusyWaveGerman);

void BM_FrameWorstCase(benchmark::State& state) {
  TBenchForm b;
  TGlyphfallForm& f = *b.form;
  f.BuildMenu();
  f.NewGame();
  f.StarField->UpdateAll(f.Stage);
  auto* big1 = AddWord<TSpriteWord>(f, "GIANT", 300, 2);
  big1->Scale = 10;
  auto* big2 = AddWord<TSpriteWord>(f, "HUGE", 200, 14);
  big2->Scale = 10;
  for (int i = 0; i < 12; ++i) {
    auto* w = AddWord<TSpriteWord>(f, "MYSTERY", 120 + i * 45, 2 + i * 2, static_cast<uint8_t>(i % 4));
    if (i % 2 == 0) w->Text = "MY?TERY";
  }
  for (int i = 0; i < 6; ++i) {
    auto* bullet = AddWord<TBulletWord>(f, "Q", 150 + i * 100, 3 + i * 4, 4);
    bullet->Spinning = true;
    bullet->Angle = i * 600;
  }
  AddExplosions(f, 3000);
  for (int i = 0; i < 20; ++i)
    f.ScoreItems->AddObject(new TScoreItem(f.Canvas(), {100 + i * 30, 200 + i * 10}, "+120", nullptr));
  for (auto _ : state) {
    Compose(f);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameWorstCase);
}  // namespace
