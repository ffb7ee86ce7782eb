// Recording a game as it is played, and the folder the kept games live in.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/Files.h"
#include "replay/ReplayUnit.h"

void TReplayRecorder::GameStarted(const TGameStart& e) {
  replay_ = TReplay{};
  TReplayHeader& h = replay_.Header;
  h = Start;
  h.Rules = std::string(e.Rules);
  h.StartWave = e.Wave;
  h.SpeedPercent = e.SpeedPercent;
  h.WordList = std::string(e.WordList);
  h.Seed = e.Seed;
  h.Revision = RulesRevision;
  h.AccentsExact = e.AccentsExact;
  h.StartTime = e.Time;
  pending_ = 0;
  recording_ = true;
  finished_ = false;
  overflowed_ = false;
}

void TReplayRecorder::Input(const TReplayEvent& event) {
  if (!recording_ || overflowed_) return;
  if (replay_.Events.size() >= MaxReplayEvents) {
    overflowed_ = true;
    return;
  }
  replay_.Events.push_back(event);
  ++pending_;
}

void TReplayRecorder::FrameStep(uint32_t step) {
  if (!recording_ || overflowed_) return;
  if (replay_.Frames.size() >= MaxReplayFrames) {
    overflowed_ = true;
    return;
  }
  replay_.Frames.push_back({step, pending_});
  pending_ = 0;
}

void TReplayRecorder::GameEnded(const TGameEnded& e) {
  if (!recording_) return;
  // Input after the last frame changed nothing the replay could show.
  replay_.Events.resize(replay_.Events.size() - pending_);
  pending_ = 0;
  replay_.Trailer.Score = e.Score;
  replay_.Trailer.How = e.How;
  recording_ = false;
  finished_ = !overflowed_;
  if (overflowed_) replay_ = TReplay{};
}

// ---- The folder ----

namespace {
// yyyymmdd-hhmmss-nn.gfr: names sort in the order the games ended.
constexpr size_t StampLength = 15;
constexpr int MaxSameSecond = 100;
}  // namespace

bool IsReplayName(std::string_view name) {
  const std::string_view ext = ReplayExtension;
  if (name.size() != StampLength + 3 + ext.size() || name.substr(name.size() - ext.size()) != ext) return false;
  for (size_t i = 0; i < name.size() - ext.size(); ++i) {
    const bool dash = i == 8 || i == StampLength;
    if (dash ? name[i] != '-' : (name[i] < '0' || name[i] > '9')) return false;
  }
  return true;
}

std::string SaveReplay(const std::string& folder, const TReplay& replay, std::time_t now) {
  std::filesystem::create_directories(folder);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[StampLength + 1];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  // Named from the clock alone: a name already there, even one dated in the
  // future, only moves the count within this second on.
  const std::string bytes = EncodeReplay(replay);
  for (int n = 0; n < MaxSameSecond; ++n) {
    char name[StampLength + 8];
    std::snprintf(name, sizeof name, "%s-%02d%s", stamp, n, ReplayExtension);
    const std::string path = (std::filesystem::path(folder) / name).string();
    if (!CreateFileExclusively(path)) continue;
    try {
      WriteFileAtomically(path, bytes);
    } catch (...) {
      std::error_code ignored;
      std::filesystem::remove(path, ignored);
      throw;
    }
    return name;
  }
  throw EFileError("Could not name a replay in " + folder + ": too many games in one second");
}

std::vector<std::string> ListReplays(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (IsReplayName(name) && it->is_regular_file(ec)) names.push_back(name);
  }
  std::sort(names.rbegin(), names.rend());
  return names;
}

void PruneReplays(const std::string& folder, size_t keep, const std::set<std::string>& pinned) {
  std::vector<std::string> names = ListReplays(folder);
  for (size_t i = keep; i < names.size(); ++i) {
    if (pinned.count(names[i])) continue;
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(folder) / names[i], ec);
  }
}

namespace {
// A game in which no letter was typed is no game to list (older versions
// kept such games too).
bool AnyLetterTyped(const TReplay& replay) {
  for (const TReplayEvent& e : replay.Events) {
    const bool latin = e.Key >= 'A' && e.Key <= 'Z';
    if ((e.Kind == TReplayInput::KeyDown && latin) ||
        (e.Kind == TReplayInput::Text && (latin || (e.Key >= 'a' && e.Key <= 'z') || e.Key >= 0x80)))
      return true;
  }
  return false;
}
}  // namespace

std::vector<TKeptGame> ListKeptGames(const std::string& folder, size_t max) {
  std::vector<TKeptGame> games;
  for (const std::string& name : ListReplays(folder)) {
    if (games.size() >= max) break;
    try {
      TReplay replay = LoadReplay((std::filesystem::path(folder) / name).string());
      if (!AnyLetterTyped(replay)) continue;
      games.push_back({name, std::move(replay.Header), replay.Trailer});
    } catch (const EReplayError&) {
    }
  }
  return games;
}
