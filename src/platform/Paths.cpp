#include "platform/Paths.h"

#include <unistd.h>

namespace fs = std::filesystem;

namespace {
constexpr const char* MarkerFile = "wordsenglish.txt";
}

fs::path ResolveProgramFolder(const fs::path& exeFolder) {
  std::error_code ec;
  if (fs::exists(exeFolder / MarkerFile, ec)) return exeFolder;
  fs::path installed = exeFolder / ".." / "share" / "glyphfall";
  if (fs::exists(installed / MarkerFile, ec)) {
    fs::path canonical = fs::weakly_canonical(installed, ec);
    return ec ? installed : canonical;
  }
  return exeFolder;
}

bool FolderIsWritable(const fs::path& folder) { return ::access(folder.c_str(), W_OK | X_OK) == 0; }

fs::path ResolveScoreFolder(const fs::path& programFolder, bool programFolderWritable, const std::string& xdgDataHome,
                            const std::string& home) {
  if (programFolderWritable) return programFolder;
  // Relative XDG paths are invalid by the XDG rules and are ignored.
  if (!xdgDataHome.empty() && fs::path(xdgDataHome).is_absolute()) return fs::path(xdgDataHome) / "glyphfall";
  if (!home.empty()) return fs::path(home) / ".local" / "share" / "glyphfall";
  return programFolder;
}
