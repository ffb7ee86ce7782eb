// Program entry in the browser: the page has preloaded the word list and the
// sounds into the program's folder and mounted the browser's storage for the
// player's files; build the platform and the form, run. The screen loops
// yield to the browser at every frame.
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <system_error>
#include <string>
#include <vector>

#include "Game.h"
#include "hiscores/HiScoreUnit.h"
#include "platform/Application.h"
#include "platform/Paths.h"
#include "platform/web/WebPlatform.h"

// What the page's test reads of the running game: the score and the screen
// (0 title, 1 menu, 2 play, 3 high scores, 4 ended, 5 results, 6 stats,
// 7 options; -1 before the form).
extern "C" {
__attribute__((used, visibility("default"))) int glyphfall_score() { return GlyphfallForm ? GlyphfallForm->Score : 0; }
__attribute__((used, visibility("default"))) int glyphfall_screen() {
  if (!GlyphfallForm) return -1;
  const std::string_view shown = ShowingScreen(*GlyphfallForm);
  const char* const names[] = {"title", "menu", "play", "hiscores", "ended", "results", "stats", "options"};
  for (int i = 0; i < 8; ++i)
    if (shown == names[i]) return i;
  return -1;
}
}

int main() {
  // The player's files go where they would for an installed game, inside
  // the browser's storage: the program's own folder is rebuilt at each load.
  ::setenv("HOME", WebStorageFolder, 1);
  ::setenv("XDG_DATA_HOME", WebStorageFolder, 1);
  std::error_code ignored;
  std::filesystem::current_path(WebProgramFolder, ignored);
  HiScoreFolder = ResolveScoreFolder(WebProgramFolder, false, WebStorageFolder, WebStorageFolder).string();

  const std::string exe = std::string(WebProgramFolder) + "/glyphfall";
  TWebPlatform platform({}, exe);
  TApplication application(platform);
  try {
    TGame game(platform);
    // Kept games live beside the scores, in the browser's storage too.
    game.Session.KeepReplaysIn((std::filesystem::path(HiScoreFolder) / "replays").string());
    game.Run();
    platform.ShowEnded();
  } catch (const std::exception& e) {
    application.ShowError(e.what());
    return 1;
  }
  return 0;
}
