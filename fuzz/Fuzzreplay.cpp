// The replay reader over arbitrary file contents, and the game playing what
// it read: a file that reads must also watch without fault.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/DictionaryUnit.h"
#include "framework/Utils.h"
#include "hiscores/HiScoreUnit.h"
#include "platform/Application.h"
#include "platform/headless/HeadlessPlatform.h"
#include "Game.h"
#include "play/Rules.h"
#include "replay/ReplayUnit.h"
#include "screens/WatchScreen.h"

namespace {
// Enough for the first wave's words to fall and be typed at, and quick.
constexpr size_t FramesPlayed = 300;

struct TFuzzGame {
  THeadlessPlatform Platform{std::vector<std::string>{}};
  TApplication Application{Platform};
  TGame Whole{Platform};
  TGlyphfallForm& Form = Whole.Form;
  TSession& Session = Whole.Session;
  uint64_t WordsHash = 0;
};
TFuzzGame* Game = nullptr;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char*** argv) {
  // The game is made in the program's folder, where its bundled word list
  // lies; the fuzzer's own folders are relative to where it was started.
  const std::filesystem::path started = std::filesystem::current_path();
  std::filesystem::current_path(std::filesystem::absolute((*argv)[0]).parent_path());
  // The score tables go to a scratch folder that is never the player's.
  std::string scratch = (std::filesystem::temp_directory_path() / "glyphfall-fuzz-XXXXXX").string();
  if (!mkdtemp(scratch.data())) std::abort();
  HiScoreFolder = scratch;
  Game = new TFuzzGame;
  Game->Platform.QuietErrors = true;
  Game->Platform.ShowWindow();
  Game->Form.BuildMenu();
  TWordsHash hash;
  for (int i = 0; i < Game->Form.Dictionary->Count(); ++i) hash.Add(Game->Form.Dictionary->Items(i)->Text);
  Game->WordsHash = hash.Value();
  std::filesystem::current_path(started);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TReplay replay;
  try {
    replay = DecodeReplay(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const EReplayError&) {
    return 0;
  }
  // What was read is what was there: written again, it reads back the same.
  if (DecodeReplay(EncodeReplay(replay)) != replay) __builtin_trap();
  if (replay.Frames.size() > size || replay.Events.size() > size) __builtin_trap();

  // Played with this game's words and rules revision, whatever it names, so
  // that every file that reads gets played; the first frames only.
  replay.Header.WordList = Game->Session.WordListName();
  if (!FindRulesSet(replay.Header.Rules)) replay.Header.Rules = ClassicRules;
  replay.Header.WordsHash = Game->WordsHash;
  replay.Header.Revision = RulesRevision;  // another revision is refused, rightly
  if (replay.Frames.size() > FramesPlayed) replay.Frames.resize(FramesPlayed);
  TGlyphfallForm& form = Game->Form;
  TSession& session = Game->Session;
  if (!session.ReplayRefusal(replay).empty()) __builtin_trap();
  const TSettings settings = session.Settings();
  form.Screens.Run(session.Host(), std::make_unique<TWatchScreen>(session, std::make_unique<TReplay>(replay), false));
  // Watching leaves the program open and the player's options as they were.
  if (form.Closed || !Game->Platform.IsWindowVisible() || !(session.Settings() == settings)) __builtin_trap();
  return 0;
}
