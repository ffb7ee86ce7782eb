// Program entry: find the program's folder, make it current, build the
// platform and the form, run.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Game.h"
#include "Product.h"
#include "hiscores/HiScoreUnit.h"
#include "platform/Application.h"
#include "platform/Paths.h"
#include "platform/sdl/SdlPlatform.h"
#include "record/History.h"
#include "play/Settings.h"
#include "shell/GlyphfallUnit.h"

namespace {
std::string ExecutablePath(const char* argv0) {
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return p.string();
  return std::filesystem::absolute(argv0, ec).string();
}
}  // namespace

namespace {
// What the game keeps beside its scores; none of it may belong to another user.
std::vector<std::string> PlayerFileNames() {
  std::vector<std::string> names;
  RegisterRulesSets();
  for (const TRulesSet& set : RulesSets()) {
    names.push_back(set.HiScoreFile);
    names.push_back(set.HiScoreFile + HiScoreLockSuffix);
  }
  for (const char* side : {"", "-wal", "-shm", "-journal"}) names.push_back(std::string(HistoryFileName) + side);
  names.push_back("replays");
  return names;
}
}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string replay;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--replay") {
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "%s: --replay needs a file\n", GameCaption);
        return 2;
      }
      // Named from where the program was started, before it moves to its folder.
      std::error_code ignored;
      replay = std::filesystem::absolute(args[++i], ignored).string();
      continue;
    }
    if (a == "--version") {
      std::printf("%s %s\n", GameCaption, GameVersion);
      return 0;
    }
    if (a == "--help" || a == "-h") {
      std::printf(
          "Usage: glyphfall [/run] [/vbnmq] [--pixel-exact] [--settings FILE] [--words FILE]\n"
          "                 [--replay FILE]\n"
          "A typing arcade game: type the words before they reach your castle.\n\n"
          "  /run           start a game at once\n"
          "  /vbnmq         the key 2 ends the current stage of a wave (for testing)\n"
          "  --pixel-exact  scale the picture by whole numbers only\n"
          "  --settings FILE  read and save the options in FILE\n"
          "  --words FILE   play the words of FILE, one a line, in any language\n"
          "  --replay FILE  watch a kept game (Right/Left: faster/slower, Esc: end)\n"
          "  --help         show this text\n"
          "  --version      show the version\n");
      return 0;
    }
  }

  // The game changes into its own folder below: a word list named from
  // where it was started is found from there.
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    std::error_code ignored;
    if (args[i] == "--words") args[i + 1] = std::filesystem::absolute(args[i + 1], ignored).string();
  }
  // Named relative to where the program was started, before it moves.
  std::string settingsArg;
  for (size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == "--settings") {
      std::error_code bad;
      settingsArg = std::filesystem::absolute(args[i + 1], bad).string();
    }

  std::string exe = ExecutablePath(argc > 0 ? argv[0] : "glyphfall");
  // The game reads its files relative to its own folder: next to the
  // executable, or ../share/glyphfall when installed.
  std::filesystem::path folder = ResolveProgramFolder(std::filesystem::path(exe).parent_path());
  std::error_code ec;
  std::filesystem::current_path(folder, ec);
  // An installed game cannot write beside its data: its scores go to the
  // player's data folder instead.
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  // Nor does one beside its data where other users could plant or read the
  // player's files.
  const bool writable = FolderIsWritable(folder);
  const std::string shared = writable ? SharedFolderReason(folder, PlayerFileNames(), ::geteuid()) : "";
  std::filesystem::path scores =
      ResolveScoreFolder(folder, writable && shared.empty(), xdg ? xdg : "", home ? home : "");
  if (scores != folder) HiScoreFolder = scores.string();
  std::string folderNote;
  if (!shared.empty() && scores != folder)
    folderNote = "Your scores, history and replays are kept in " + scores.string() +
                 " instead of beside the game, because " + shared + ".";
  // The options: --settings FILE, or the player's configuration folder.
  const char* xdgConfig = std::getenv("XDG_CONFIG_HOME");
  SettingsFile = DefaultSettingsFile(xdgConfig ? xdgConfig : "", home ? home : "");
  if (!settingsArg.empty()) SettingsFile = settingsArg;

  try {
    TSdlPlatform platform(args, exe);
    TApplication application(platform);
    if (!folderNote.empty()) application.ShowError(folderNote);
    try {
      TGame game(platform);
      // Kept games live beside the scores.
      game.Session.KeepReplaysIn((scores / "replays").string());
      game.Session.ReplayToWatch = replay;
      game.Run();
    } catch (const std::exception& e) {
      application.ShowError(e.what());
      return 1;
    }
  } catch (const std::exception& e) {
    std::cerr << GameCaption << ": " << e.what() << std::endl;
    return 1;
  }
  return 0;
}
