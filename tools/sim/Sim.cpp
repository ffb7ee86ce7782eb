// glyphfall-sim: runs the real game on the headless platform, optionally with
// a typing bot, writes screenshots at chosen times and prints one JSON line.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "Bots.h"
#include "Game.h"
#include "PlayStats.h"
#include "framework/Utils.h"
#include "hiscores/HiScoreUnit.h"
#include "platform/Application.h"
#include "platform/headless/HeadlessPlatform.h"
#include "record/TypingRecord.h"
#include "play/Rules.h"
#include "play/Settings.h"
#include "png/Png.h"
#include "replay/ReplayUnit.h"
#include "shell/GlyphfallUnit.h"

namespace {

void Usage() {
  std::fprintf(stderr,
               "usage: glyphfall-sim [options] [the game's own switches, e.g. /run /vbnmq]\n"
               "  --seed N              seed of the game's random generator (default 1)\n"
               "  --frame-ms N          virtual milliseconds per frame (default 10)\n"
               "  --until T             stop at virtual time T ms after start (default 10000)\n"
               "  --stop-after-waves N  stop once N waves have been completed\n"
               "  --games N             stop once N games have ended\n"
               "  --key T:CODE          key-down, then key-up, of virtual-key CODE at time T\n"
               "  --click T:X:Y         mouse click at playfield pixel (X, Y) at time T\n"
               "  --shot T:FILE.png     write the frame presented at time T\n"
               "  --home DIR            use DIR as the program's folder\n"
               "  --bot NAME            typing bot: none, perfect, human:CPS:ERR, random, sweep:CPS\n"
               "  --wpm N               the human bot types N words (of five letters) a minute\n"
               "  --waves               print each wave's typing figures of the last game, a JSON line before the summary\n"
               "  --layout NAME         keyboard layout the platform reports: qwerty, azerty, qwertz or dvorak\n"
               "  --settings FILE       read (and save from the options screen) this settings file\n"
               "  --rules R             classic or typist, over the settings\n"
               "  --start-wave N        the wave games start at (1-14), over the settings\n"
               "  --speed P             word speed in percent (75, 100, 125), over the settings\n"
               "  --name NAME           type NAME and Enter whenever the name-entry screen opens\n"
               "  --words FILE          play the words of FILE (typed as text, like a keyboard in any language)\n"
               "  --record DIR          keep every game played as a replay in DIR\n"
               "  --replay FILE         play a kept game again instead of running the menu\n"
               "  --verify              with --replay: exit 1 when score, waves or bricks lost differ from the file's\n");
}

// Frame times for the percentiles. A soak runs for millions of frames, so
// past a point a uniform sample of them is kept (reservoir sampling) instead
// of every one: memory stays bounded and the percentiles stay true.
class TFrameTimes {
 public:
  static constexpr size_t Kept = 100000;
  void Add(double ms) {
    ++seen_;
    if (kept_.size() < Kept) {
      kept_.push_back(ms);
      return;
    }
    uint64_t slot = std::uniform_int_distribution<uint64_t>(0, seen_ - 1)(rng_);
    if (slot < Kept) kept_[slot] = ms;
  }
  const std::vector<double>& Sample() const { return kept_; }

 private:
  std::vector<double> kept_;
  uint64_t seen_ = 0;
  std::mt19937_64 rng_{1};
};

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  size_t i = static_cast<size_t>(p / 100.0 * static_cast<double>(v.size() - 1) + 0.5);
  return v[std::min(i, v.size() - 1)];
}

std::string ExecutableFolder(const char* argv0) {
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) p = std::filesystem::absolute(argv0, ec);
  return p.parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
  const auto processStart = std::chrono::steady_clock::now();
  double startupMs = -1;
  uint32_t seed = 1;
  uint32_t frameMs = 10;
  uint32_t until = 10000;
  bool untilGiven = false;
  int64_t stopAfterWaves = -1;
  int64_t stopAfterGames = -1;
  std::vector<std::pair<uint32_t, uint16_t>> keys;
  std::vector<std::tuple<uint32_t, int, int>> clicks;
  std::multimap<uint32_t, std::string> shots;
  std::string home, botName, playerName, rulesName, recordDir, replayFile;
  int32_t startWave = 0, speed = 0;
  bool verify = false, printWaves = false;
  double wpm = 0;
  std::string layoutName;
  std::vector<std::string> switches;

  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto next = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "glyphfall-sim: %s needs a value\n", a.c_str());
        std::exit(2);
      }
      return argv[++i];
    };
    if (a == "--seed")
      seed = static_cast<uint32_t>(std::stoul(next()));
    else if (a == "--frame-ms")
      frameMs = static_cast<uint32_t>(std::max(1ul, std::stoul(next())));
    else if (a == "--until")
    {
      until = static_cast<uint32_t>(std::stoul(next()));
      untilGiven = true;
    }
    else if (a == "--stop-after-waves")
      stopAfterWaves = std::stoll(next());
    else if (a == "--games")
      stopAfterGames = std::stoll(next());
    else if (a == "--key") {
      std::string v = next();
      size_t c = v.find(':');
      if (c == std::string::npos) {
        Usage();
        return 2;
      }
      keys.emplace_back(static_cast<uint32_t>(std::stoul(v.substr(0, c))),
                        static_cast<uint16_t>(std::stoul(v.substr(c + 1))));
    } else if (a == "--click") {
      std::string v = next();
      size_t c1 = v.find(':'), c2 = v.find(':', c1 + 1);
      if (c1 == std::string::npos || c2 == std::string::npos) {
        Usage();
        return 2;
      }
      clicks.emplace_back(static_cast<uint32_t>(std::stoul(v.substr(0, c1))), std::stoi(v.substr(c1 + 1, c2 - c1 - 1)),
                          std::stoi(v.substr(c2 + 1)));
    } else if (a == "--shot") {
      std::string v = next();
      size_t c = v.find(':');
      if (c == std::string::npos) {
        Usage();
        return 2;
      }
      shots.emplace(static_cast<uint32_t>(std::stoul(v.substr(0, c))), v.substr(c + 1));
    } else if (a == "--home")
      home = next();
    else if (a == "--bot")
      botName = next();
    else if (a == "--name")
      playerName = next();
    else if (a == "--wpm")
      wpm = std::stod(next());
    else if (a == "--waves")
      printWaves = true;
    else if (a == "--layout")
      layoutName = next();
    else if (a == "--words") {
      switches.push_back(a);
      switches.push_back(std::filesystem::absolute(next()).string());
    } else if (a == "--record")
      recordDir = next();
    else if (a == "--replay")
      replayFile = next();
    else if (a == "--verify")
      verify = true;
    else if (a == "--settings")
      SettingsFile = std::filesystem::absolute(next()).string();
    else if (a == "--rules") {
      rulesName = next();
      if (!rulesName.empty()) rulesName[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(rulesName[0])));
      RegisterRulesSets();
      if (!FindRulesSet(rulesName)) {
        std::string known;
        for (const TRulesSet& set : RulesSets()) known += (known.empty() ? "" : ", ") + set.Name;
        std::fprintf(stderr, "glyphfall-sim: --rules is one of %s\n", known.c_str());
        return 2;
      }
    } else if (a == "--start-wave") {
      startWave = std::stoi(next());
      if (startWave < MinStartWave || startWave > MaxStartWave) {
        std::fprintf(stderr, "glyphfall-sim: --start-wave is 1 to 14\n");
        return 2;
      }
    } else if (a == "--speed") {
      speed = std::stoi(next());
      if (std::find(SpeedChoices.begin(), SpeedChoices.end(), speed) == SpeedChoices.end()) {
        std::fprintf(stderr, "glyphfall-sim: --speed is 75, 100 or 125\n");
        return 2;
      }
    }
    else if (a == "--help" || a == "-h") {
      Usage();
      return 0;
    } else if (!a.empty() && a[0] == '/')
      switches.push_back(a);
    else {
      std::fprintf(stderr, "glyphfall-sim: unknown option %s\n", a.c_str());
      Usage();
      return 2;
    }
  }

  // Screenshots are written relative to where the simulator was started.
  std::filesystem::path startDir = std::filesystem::current_path();
  for (auto& [t, file] : shots)
    if (std::filesystem::path(file).is_relative()) file = (startDir / file).string();
  for (std::string* path : {&recordDir, &replayFile})
    if (!path->empty()) *path = std::filesystem::absolute(*path).string();
  TReplay replay;
  if (!replayFile.empty()) {
    try {
      replay = LoadReplay(replayFile);
    } catch (const EReplayError& e) {
      std::fprintf(stderr, "glyphfall-sim: %s\n", e.what());
      return 2;
    }
  }

  std::string folder = home.empty() ? ExecutableFolder(argv[0]) : std::filesystem::absolute(home).string();
  std::error_code ec;
  std::filesystem::current_path(folder, ec);
  if (ec) {
    std::fprintf(stderr, "glyphfall-sim: cannot use %s as the program's folder: %s\n", folder.c_str(),
                 ec.message().c_str());
    return 2;
  }

  if (wpm > 0) {
    if (botName.rfind("human", 0) != 0) {
      std::fprintf(stderr, "glyphfall-sim: --wpm goes with --bot human\n");
      return 2;
    }
    // human[:CPS[:ERR]]: the rate replaced, the share of wrong keys kept.
    const size_t cps = botName.find(':');
    const size_t err = cps == std::string::npos ? cps : botName.find(':', cps + 1);
    botName = "human:" + std::to_string(wpm * CharsPerWord / 60.0) + (err == std::string::npos ? "" : botName.substr(err));
  }
  TKeyboardLayout layout = QwertyLayout();
  if (layoutName == "azerty")
    layout = MakeKeyboardLayout(U"azertyuiop^$", U"qsdfghjklm\u00F9", U"wxcvbn,;:!");
  else if (layoutName == "qwertz")
    layout = MakeKeyboardLayout(U"qwertzuiop\u00FC+", U"asdfghjkl\u00F6\u00E4", U"yxcvbnm,.-");
  else if (layoutName == "dvorak")
    layout = MakeKeyboardLayout(U"',.pyfgcrl/=", U"aoeuidhtns-", U";qjkxbmwvz");
  else if (!layoutName.empty() && layoutName != "qwerty") {
    std::fprintf(stderr, "glyphfall-sim: --layout is qwerty, azerty, qwertz or dvorak\n");
    return 2;
  }

  std::unique_ptr<TBot> bot;
  if (!botName.empty()) {
    bot = MakeBot(botName, seed);
    if (!bot) {
      std::fprintf(stderr, "glyphfall-sim: unknown bot %s\n", botName.c_str());
      return 2;
    }
  }

  THeadlessPlatform platform(switches);
  platform.FrameMs = frameMs;
  platform.SetKeyboardLayout(layout);
  platform.SetExeName((std::filesystem::path(folder) / "glyphfall").string());
  TApplication application(platform);

  int status = 0;
  TFrameTimes frameTimes;
  TPlayStats stats;
  try {
    TGame game(platform);
    TGlyphfallForm& form = game.Form;
    TSession& session = game.Session;
    if (!rulesName.empty()) session.Settings().Rules = rulesName;
    if (startWave != 0) session.Settings().StartWave = startWave;
    if (speed != 0) session.Settings().SpeedPercent = speed;
    form.Events.Add(stats);
    if (!recordDir.empty()) session.KeepReplaysIn(recordDir);
    RandSeed(seed);
    const uint32_t start = platform.GetTickCount();
    // A replay runs to its end unless told otherwise.
    if (replayFile.empty() || untilGiven) platform.StopAt = start + until;
    for (auto& [t, k] : keys) platform.KeyAt(start + t, k);
    for (auto& [t, x, y] : clicks) platform.ClickAt(start + t, x, y);

    auto last = std::chrono::steady_clock::now();
    bool nameTyped = false;
    platform.OnFrame = [&] {
      auto now = std::chrono::steady_clock::now();
      if (startupMs < 0) startupMs = std::chrono::duration<double, std::milli>(now - processStart).count();
      frameTimes.Add(std::chrono::duration<double, std::milli>(now - last).count());
      last = now;
      uint32_t t = platform.GetTickCount() - start;
      while (!shots.empty() && shots.begin()->first <= t) {
        if (platform.LastFrame() && !WritePng(*platform.LastFrame(), shots.begin()->second))
          std::fprintf(stderr, "glyphfall-sim: cannot write %s\n", shots.begin()->second.c_str());
        shots.erase(shots.begin());
      }
      const bool onTable = ShowingScreen(form) == "hiscores";
      const bool entering = onTable && form.HiScores->EntryRow >= 0;
      const bool moreGames = stopAfterGames < 0 || stats.GamesPlayed < stopAfterGames;
      // Without --name, a game still to come (--games) needs the entry ended too.
      if (entering && (!playerName.empty() || (stopAfterGames >= 0 && moreGames)) && !nameTyped) {
        for (char c : playerName)
          platform.PressKey(static_cast<uint16_t>(static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c)));
        platform.PressKey(vk::Return);
        nameTyped = true;
      } else if (onTable && !entering && nameTyped && moreGames) {
        // The named table stays up until a key; no bot presses one there.
        platform.PressKey(vk::Return);
        nameTyped = false;
      }
      if (!onTable) nameTyped = false;
      // The results screen takes a key once its guard has passed.
      const bool onResults = ShowingScreen(form) == "results";
      if (onResults && (moreGames || !playerName.empty())) platform.PressKey(vk::Return);
      if (bot && !(entering && !playerName.empty())) bot->OnFrame(game, platform);
      if (stopAfterWaves >= 0 && stats.WavesCompleted >= stopAfterWaves) platform.CloseWindow();
      // After the last game, wait for its name to be typed (with --name).
      bool afterGames = ShowingScreen(form) == "menu" || (onResults && playerName.empty()) ||
                        (onTable && (playerName.empty() || (!entering && nameTyped)));
      if (!moreGames && afterGames) platform.CloseWindow();
    };
    if (replayFile.empty()) {
      form.Run();
    } else {
      platform.ShowWindow();
      // As the game watches one: with the list it names, found as the options
      // screen finds lists; a replay that cannot be played says why.
      if (!session.WatchFile(replayFile, false)) return 2;
    }
    platform.OnFrame = nullptr;
    form.Events.Remove(stats);
    // A watched game leaves the player's own score on the form.
    const int32_t score = replayFile.empty() ? form.Score : stats.LastScore;

    const TPlayStats& s = stats;
    if (printWaves) {
      const TGameFigures& g = session.Record().Game();
      std::printf("{\"waves\":[");
      for (size_t i = 0; i < g.Waves.size(); ++i) {
        const TWaveFigures& w = g.Waves[i];
        std::printf("%s{\"wave\":%d,\"hits\":%d,\"misses\":%d,\"typing_ms\":%lld,\"wpm\":%.1f}", i ? "," : "", w.Wave,
                    w.Hits, w.Misses, static_cast<long long>(w.TypingMs), w.Wpm());
      }
      std::printf("]}\n");
    }
    std::printf(
        "{\"screen\":\"%s\",\"frames\":%lld,\"game_time\":%u,\"score\":%d,\"high_score\":%d,\"wave\":%d,"
        "\"waves_completed\":%lld,\"looped\":%s,\"game_over\":%s,\"bricks_lost\":%lld,\"words_typed\":%lld,"
        "\"letters_typed\":%lld,\"keys\":%lld,\"bombs_used\":%lld,\"frame_ms_p50\":%.3f,\"frame_ms_p99\":%.3f,"
        "\"startup_ms\":%.1f,\"wpm\":%.1f,\"accuracy\":%.3f,\"misses\":%d,\"bonus_attempts\":%lld,"
        "\"bonus_locked\":%lld}\n",
        std::string(ShowingScreen(form)).c_str(), static_cast<long long>(platform.FramesPresented()), platform.GetTickCount() - start,
        score, form.HiScores->HighScore, form.WaveNumber, static_cast<long long>(s.WavesCompleted),
        form.WavesLooped ? "true" : "false", s.SawGameOver ? "true" : "false", static_cast<long long>(s.BricksLost),
        static_cast<long long>(s.WordsTyped), static_cast<long long>(s.LettersTyped), static_cast<long long>(s.Keys),
        static_cast<long long>(s.BombsUsed), Percentile(frameTimes.Sample(), 50), Percentile(frameTimes.Sample(), 99),
        startupMs, session.Record().Game().Wpm(), session.Record().Game().Accuracy(), session.Record().Game().Misses,
        static_cast<long long>(bot ? bot->BonusAttempts : 0), static_cast<long long>(bot ? bot->BonusLocked : 0));
    const TReplayTrailer& want = replay.Trailer;
    if (verify && (score != want.Score || s.WavesCompleted != want.WavesCompleted ||
                   s.BricksLost != want.BricksLost)) {
      std::fprintf(stderr,
                   "glyphfall-sim: the replay differs from its record: score %d (recorded %d), waves %lld (%u), "
                   "bricks lost %lld (%u)\n",
                   score, want.Score, static_cast<long long>(s.WavesCompleted), want.WavesCompleted,
                   static_cast<long long>(s.BricksLost), want.BricksLost);
      status = 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "glyphfall-sim: %s\n", e.what());
    status = 1;
  }
  return status;
}
