// Loading a 100 000-line word file against reading its lines, and a burst of
// fifty sound effects in one frame.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "BenchForm.h"
#include "dictionary/DictionaryUnit.h"
#include "sound/SoundEffects.h"

namespace {
const std::string& WordFile() {
  static const std::string path = [] {
    std::string p = "/tmp/glyphfall-bench-words-" + std::to_string(::getpid()) + ".txt";
    std::ofstream out(p);
    // 100 000 distinct lines of letters, some duplicates and rejects mixed in.
    for (int i = 0; i < 100000; ++i) {
      std::string w;
      int n = i;
      do {
        w += static_cast<char>('a' + n % 26);
        n /= 26;
      } while (n);
      w += "ing";
      if (i % 50 == 0) w += "'s";
      out << w << "\n";
    }
    return p;
  }();
  return path;
}

void BM_PlainLineRead(benchmark::State& state) {
  for (auto _ : state) {
    std::ifstream in(WordFile());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_PlainLineRead)->Unit(benchmark::kMillisecond);

void BM_DictionaryLoad(benchmark::State& state) {
  for (auto _ : state) {
    TDictionary d(WordFile());
    benchmark::DoNotOptimize(d.Count());
  }
}
BENCHMARK(BM_DictionaryLoad)->Unit(benchmark::kMillisecond);

void BM_SoundBurst50(benchmark::State& state) {
  TBenchForm b;  // the program's folder is the current one: the build folder with wave/
  for (auto _ : state) {
    for (int i = 0; i < 49; ++i) PlaySoundFile("wave\\letter.wav");
    PlaySoundFile("wave\\detonatebomb.wav");
    state.PauseTiming();
    // Let the players finish before the next burst.
    for (int i = 0; i < 400; ++i) b.platform->ProcessMessages(), b.platform->Advance(10);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SoundBurst50)->Unit(benchmark::kMillisecond)->Iterations(20);
}  // namespace
