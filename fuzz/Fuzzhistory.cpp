// The history reader over arbitrary file contents: whatever glyphfall.db
// holds, opening it and reading the progress never crashes, and what comes
// back stays within its bounds.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Application.h"
#include "platform/headless/HeadlessPlatform.h"
#include "record/History.h"

namespace {
const std::filesystem::path& Folder() {
  static const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("glyphfall-fuzz-history-" + std::to_string(::getpid()));
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
    return true;
  }();
  (void)ready;
  // Each input starts alone: no file set aside or log left by the one before.
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(Folder(), ec)) std::filesystem::remove(entry, ec);
  const std::string path = (Folder() / HistoryFileName).string();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  THeadlessPlatform platform;
  platform.QuietErrors = true;
  TApplication application(platform);
  THistory history(path);
  TProgress p = history.LoadProgress();
  if (p.Recent.size() > static_cast<size_t>(THistory::RecentGames)) __builtin_trap();
  if (p.Weakest.size() > static_cast<size_t>(THistory::WeakKeysShown)) __builtin_trap();
  for (const auto& k : p.Weakest)
    if (k.Letter < 'A' || k.Letter > 'Z') __builtin_trap();
  return 0;
}
