// Loading a 100 000-line word file against reading its lines, and a burst of
// fifty sound effects in one frame.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "BenchForm.h"
#include "dictionary/DictionaryUnit.h"
#include "sound/SoundEffects.h"
#include "sound/WaveUtils.h"

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

// The yardstick: every line of the file into a vector of strings.
void ReadLines(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    std::ifstream in(path);
    if (!in) return state.SkipWithError("cannot read the word file (for the German one: install wngerman)");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    benchmark::DoNotOptimize(lines.data());
  }
}

void BM_PlainLineRead(benchmark::State& state) { ReadLines(state, WordFile()); }
BENCHMARK(BM_PlainLineRead)->Unit(benchmark::kMillisecond);

void BM_DictionaryLoad(benchmark::State& state) {
  for (auto _ : state) {
    TDictionary d(WordFile());
    benchmark::DoNotOptimize(d.Count());
  }
}
BENCHMARK(BM_DictionaryLoad)->Unit(benchmark::kMillisecond);

// Debian's German list (package wngerman): sampled, filtered and capitalised
// against reading the same file's lines.
constexpr const char* GermanList = "/usr/share/dict/ngerman";

void BM_PlainLineReadGerman(benchmark::State& state) { ReadLines(state, GermanList); }
BENCHMARK(BM_PlainLineReadGerman)->Unit(benchmark::kMillisecond);

void BM_DictionaryLoadGerman(benchmark::State& state) {
  for (auto _ : state) {
    try {
      TDictionary d(GermanList, TListKind::OtherWithNouns);
      benchmark::DoNotOptimize(d.Count());
    } catch (const EFOpenError&) {
      return state.SkipWithError("install wngerman");
    }
  }
}
BENCHMARK(BM_DictionaryLoadGerman)->Unit(benchmark::kMillisecond);

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

// Reading a sound file's header from disk: a normal file against one crafted
// with 100 000 empty chunks before its format (800 KB of chunk headers).
std::string WaveFileOnDisk(int emptyChunks) {
  std::string path =
      "/tmp/glyphfall-bench-wave-" + std::to_string(::getpid()) + "-" + std::to_string(emptyChunks) + ".wav";
  std::string body = "WAVE";
  auto add32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) body += static_cast<char>(v >> (8 * i));
  };
  for (int i = 0; i < emptyChunks; ++i) body += "junk", add32(0);
  body += "fmt ", add32(16);
  add32(1 | 1 << 16), add32(22050), add32(44100), add32(2 | 16 << 16);  // PCM mono 16-bit
  body += "data", add32(44100), body += std::string(44100, '\0');
  std::ofstream out(path, std::ios::binary);
  out << "RIFF";
  for (int i = 0; i < 4; ++i) out << static_cast<char>(body.size() >> (8 * i));
  out << body;
  return path;
}

void ReadHeaders(benchmark::State& state, int emptyChunks) {
  const std::string path = WaveFileOnDisk(emptyChunks);
  for (auto _ : state) {
    TFileStream stream(path);
    TRiffReader reader(stream);
    std::vector<uint8_t> format;
    uint32_t size = 0, offset = 0;
    benchmark::DoNotOptimize(ReadWaveHeader(reader, format, size, offset));
  }
  std::remove(path.c_str());
}
void BM_WaveHeaderNormal(benchmark::State& state) { ReadHeaders(state, 0); }
void BM_WaveHeaderCrafted(benchmark::State& state) { ReadHeaders(state, 100000); }
BENCHMARK(BM_WaveHeaderNormal)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WaveHeaderCrafted)->Unit(benchmark::kMicrosecond);
}  // namespace
