// Replays: a game kept as its header (what play depended on), every frame's
// game-clock step with the input delivered in that frame, and a trailer with
// the result. Given the same header, steps and input the game plays the same
// again, so a replay can be watched and can check the game itself.
// The file format is described in docs/replay-format.md.
#pragma once
#include <cstdint>
#include <ctime>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "framework/GameEvents.h"
#include "play/Input.h"
#include "replay/RulesRevision.h"

// The first eight bytes of every replay file.
inline constexpr char ReplayMagic[] = "GLYFREPL";
inline constexpr size_t ReplayMagicSize = sizeof(ReplayMagic) - 1;
// Raised whenever the meaning of the bytes changes. Version 1 lacks the rules
// revision and Accents: its games were played under revision 1 with Accents
// "either", the only ones there were. Newer versions are refused.
inline constexpr uint32_t ReplayFormatVersion = 2;
// A replay of an 18-hour game is still far below this; anything bigger is
// refused before it is read.
inline constexpr size_t MaxReplayFileSize = 16u << 20;
// Texts in the header (version, rules, list name) are short.
inline constexpr size_t MaxReplayText = 64;
// What a recording may grow to; a longer game is not kept.
inline constexpr size_t MaxReplayFrames = 4000000;
inline constexpr size_t MaxReplayEvents = 4000000;
// The star field behind play has 200.
inline constexpr size_t MaxReplayStars = 1000;
// Positions (stars, the pointer) in playfield pixels: a window of any size
// maps to far less than this, and play's arithmetic on them cannot overflow.
inline constexpr int32_t MaxReplayCoordinate = 1 << 16;
// A frame that stalled longer than a day is no frame a game had; longer
// steps are kept as this.
inline constexpr uint32_t MaxReplayStep = 24u * 60 * 60 * 1000;
inline constexpr char ReplayExtension[] = ".gfr";

// A replay that cannot be read or used; the message says why, in a sentence.
class EReplayError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TReplayFrame {
  uint32_t Step = 0;    // game-clock milliseconds this frame moved on by
  uint32_t Events = 0;  // how many of the replay's events came in this frame
  bool operator==(const TReplayFrame&) const = default;
};

// A star of the field behind play as the game began: the stars draw random
// numbers as they fade and wrap, so the game's numbers depend on them.
struct TReplayStar {
  int32_t X = 0, Y = 0;
  uint32_t StepStamp = 0;
  int32_t FadeSpeed = 0;
  uint32_t Colour = 0, TargetColour = 0;
  bool operator==(const TReplayStar&) const = default;
};

struct TReplayHeader {
  std::string GameVersion;
  std::string Rules = "Classic";
  int32_t StartWave = 1;
  int32_t SpeedPercent = 100;
  std::string WordList = "English";
  uint64_t WordsHash = 0;  // of the accepted words, in order (TWordsHash)
  uint32_t Seed = 0;       // the random generator's state as the game began
  uint32_t StartTime = 0;  // the game clock as the game began
  uint32_t StarScroll = 0;  // the star field's scroll stamp
  std::vector<TReplayStar> Stars;
  int32_t Revision = RulesRevision;  // of play's rules (RulesRevision.h)
  bool AccentsExact = false;  // only the accented key hit an accented letter
  bool operator==(const TReplayHeader&) const = default;
};

struct TReplayTrailer {
  int32_t Score = 0;
  uint32_t WavesCompleted = 0;
  uint32_t BricksLost = 0;
  TGameEnd How = TGameEnd::Quit;
  bool operator==(const TReplayTrailer&) const = default;
};

struct TReplay {
  TReplayHeader Header;
  std::vector<TReplayFrame> Frames;
  std::vector<TReplayEvent> Events;  // in order; each frame takes its share
  TReplayTrailer Trailer;
  bool operator==(const TReplay&) const = default;
};

std::string EncodeReplay(const TReplay& replay);
// EReplayError for anything but a whole, well-formed replay of a format
// version this game reads. Sizes are checked against the bytes left before anything is made,
// and every value against what a game can produce (rules, wave, speed, star
// fields, steps, positions, letters).
TReplay DecodeReplay(std::string_view bytes);
// Reads a replay file: EReplayError naming the file and what is wrong.
TReplay LoadReplay(const std::string& path);

// FNV-1a over the accepted words of a list, each ended by a line feed: two
// lists that deal the same words from the same random numbers hash the same.
class TWordsHash {
 public:
  void Add(std::string_view word);
  uint64_t Value() const { return value_; }

 private:
  uint64_t value_ = 0xCBF29CE484222325ull;
};

// Records the game being played. The form hands it every input its handlers
// receive and every frame's clock step; the game events give it the header
// and the result.
class TReplayRecorder : public TGameObserver {
 public:
  // What the game-start event does not carry (version, word hash, stars),
  // set before each game.
  TReplayHeader Start;

  // Between the start of a game and its end.
  bool Recording() const { return recording_; }
  // A whole game is recorded and not yet taken.
  bool Finished() const { return finished_; }
  // The game was longer than a replay may be; it is not kept.
  bool Overflowed() const { return overflowed_; }
  const TReplay& Replay() const { return replay_; }
  void Taken() { finished_ = false; }

  void Input(const TReplayEvent& event);
  void FrameStep(uint32_t step);

  void GameStarted(const TGameStart& e) override;
  void BrickLost(const TBrickLost&) override { ++replay_.Trailer.BricksLost; }
  void WaveCompleted(const TWaveEvent&) override { ++replay_.Trailer.WavesCompleted; }
  void GameEnded(const TGameEnded& e) override;

 private:
  TReplay replay_;
  uint32_t pending_ = 0;  // events of the frame under way
  bool recording_ = false;
  bool finished_ = false;
  bool overflowed_ = false;
};

// Hands out a replay frame by frame.
class TReplayPlayer {
 public:
  explicit TReplayPlayer(const TReplay& replay) : replay_(replay) {}
  const TReplay& Replay() const { return replay_; }
  bool AtEnd() const { return frame_ >= replay_.Frames.size(); }
  // The next frame: deliver gets each of its events in order; returns its step.
  template <class F>
  uint32_t NextFrame(F&& deliver) {
    const TReplayFrame& f = replay_.Frames[frame_++];
    for (uint32_t i = 0; i < f.Events && event_ < replay_.Events.size(); ++i) deliver(replay_.Events[event_++]);
    return f.Step;
  }

 private:
  const TReplay& replay_;
  size_t frame_ = 0;
  size_t event_ = 0;
};

// ---- The folder of kept games ----

// Writes the replay into folder (made when missing) under a new name from
// now, the local time (yyyymmdd-hhmmss-nn.gfr, nn counting the games of one
// second), through the atomic save; returns the name.
// EFileError (or a filesystem error) when it cannot.
std::string SaveReplay(const std::string& folder, const TReplay& replay, std::time_t now);
// A name SaveReplay could have made: no path, nothing that leads elsewhere.
bool IsReplayName(std::string_view name);
// Removes the replays of folder beyond the keep newest, except the pinned
// ones (the games of the high-score rows). Files of other names are left.
void PruneReplays(const std::string& folder, size_t keep, const std::set<std::string>& pinned);
// The replays of folder, newest first.
std::vector<std::string> ListReplays(const std::string& folder);

// A kept game as the list of recent games shows it.
struct TKeptGame {
  std::string Name;  // in the folder; its stamp is when the game ended
  TReplayHeader Header;
  TReplayTrailer Trailer;
};
// The newest games of folder that read back whole, at most max of them;
// a damaged file is left out, as it could not be watched.
std::vector<TKeptGame> ListKeptGames(const std::string& folder, size_t max);
