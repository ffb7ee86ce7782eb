// The high-score file loader over arbitrary file contents.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "hiscores/HiScoreUnit.h"
#include "hiscores/XMLUnit.h"
#include "platform/Application.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {
const std::filesystem::path& Folder() {
  static const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("glyphfall-fuzz-hiscores-" + std::to_string(::getpid()));
  return folder;
}
void RemoveFolder() {
  std::error_code ec;
  std::filesystem::remove_all(Folder(), ec);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = [] {
    std::filesystem::create_directories(Folder());
    std::atexit(RemoveFolder);
    HiScoreFolder = Folder().string();
    DefaultXMLFolder.clear();
    return true;
  }();
  (void)ready;
  std::string path = HiScoreFilePath();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  // Most inputs are damaged files, each reported: the reports go to a quiet
  // platform that lives for this one input, not to the log.
  THeadlessPlatform platform;
  platform.QuietErrors = true;
  TApplication application(platform);
  THiScoreList list;
  list.LoadHiScores();
  if (list.Count() > HiScoreRows) __builtin_trap();
  for (int i = 0; i < list.Count(); ++i)
    if (list.Items(i)->Name.size() > static_cast<size_t>(HiScoreNameLength)) __builtin_trap();
  return 0;
}
