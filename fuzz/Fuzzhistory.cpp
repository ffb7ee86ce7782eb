// The history reader over arbitrary file contents: whatever glyphfall.db
// holds, opening it and reading the progress never crashes, and what comes
// back stays within its bounds.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/Letters.h"
#include "platform/Application.h"
#include "platform/headless/HeadlessPlatform.h"
#include "record/History.h"

namespace {
// The folder of this process's inputs, removed when the process ends.
struct TScratch {
  std::filesystem::path Folder =
      std::filesystem::temp_directory_path() / ("glyphfall-fuzz-history-" + std::to_string(::getpid()));
  TScratch() { std::filesystem::create_directories(Folder); }
  ~TScratch() {
    std::error_code ec;
    std::filesystem::remove_all(Folder, ec);
  }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TScratch scratch;
  // Each input starts alone: no file set aside or log left by the one before.
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(scratch.Folder, ec)) std::filesystem::remove(entry, ec);
  const std::string path = (scratch.Folder / HistoryFileName).string();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  THeadlessPlatform platform;
  platform.QuietErrors = true;
  TApplication application(platform);
  THistory history(path);
  TProgress p = history.LoadProgress();
  if (p.Recent.size() > static_cast<size_t>(THistory::RecentGames)) __builtin_trap();
  if (p.Weakest.size() > static_cast<size_t>(THistory::WeakKeysShown)) __builtin_trap();
  for (const auto& k : p.Weakest)
    if (!IsLetterChar(k.Letter) || UpperLetter(k.Letter) != k.Letter) __builtin_trap();
  return 0;
}
