// Times the composition of the busy wave's frame and prints the median
// milliseconds per frame. The same program runs natively and in the browser,
// so the two figures compare like with like.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "BenchForm.h"
#include "BusyScene.h"

int main(int argc, char** argv) {
  // The form reads the word list from the current folder: the program's.
  std::error_code ignored;
  if (argc > 1) std::filesystem::current_path(argv[1], ignored);
  constexpr int Batches = 7;
  constexpr int FramesPerBatch = 200;
  TBenchForm b;
  TGlyphfallForm& f = *b.form;
  BuildBusyWave(f);
  for (int i = 0; i < FramesPerBatch; ++i) Compose(f);  // warm caches and the JIT
  std::vector<double> ms;
  for (int batch = 0; batch < Batches; ++batch) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < FramesPerBatch; ++i) Compose(f);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    ms.push_back(took.count() / FramesPerBatch);
  }
  std::nth_element(ms.begin(), ms.begin() + Batches / 2, ms.end());
  std::printf("compose_ms %.4f\n", ms[Batches / 2]);
  return 0;
}
