// The high-score file loader over arbitrary file contents.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "hiscores/HiScoreUnit.h"
#include "hiscores/XMLUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("glyphfall-fuzz-hiscores-" + std::to_string(::getpid()));
  static bool ready = [] {
    std::filesystem::create_directories(folder);
    HiScoreFolder = folder.string();
    DefaultXMLFolder.clear();
    return true;
  }();
  (void)ready;
  std::string path = HiScoreFilePath();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  THiScoreList list;
  list.LoadHiScores();
  if (list.Count() > HiScoreRows) __builtin_trap();
  for (int i = 0; i < list.Count(); ++i)
    if (list.Items(i)->Name.size() > static_cast<size_t>(HiScoreNameLength)) __builtin_trap();
  return 0;
}
