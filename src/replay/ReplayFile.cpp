// The replay file: varints throughout, so a frame of 16 ms with no input is
// one byte and a 20-minute game stays near 100 KiB.
#include <algorithm>
#include <cstring>

#include "platform/Files.h"
#include "replay/ReplayUnit.h"
#include "play/Settings.h"
#include "sprites/StarUnit.h"

namespace {

constexpr size_t MaxRulesName = 40;

// A frame's first varint: its step, shifted left, with bit 0 set when input
// came in that frame.
constexpr uint8_t ShiftBits = 0x7;
constexpr int ShiftAt = 4;
constexpr uint8_t KindBits = 0xF;

class TWriter {
 public:
  void Bytes(const void* p, size_t n) { out_.append(static_cast<const char*>(p), n); }
  void Byte(uint8_t b) { out_.push_back(static_cast<char>(b)); }
  void Varint(uint64_t v) {
    while (v >= 0x80) {
      Byte(static_cast<uint8_t>(v | 0x80));
      v >>= 7;
    }
    Byte(static_cast<uint8_t>(v));
  }
  void Signed(int32_t v) { Varint((static_cast<uint32_t>(v) << 1) ^ static_cast<uint32_t>(v >> 31)); }
  void Text(const std::string& s) {
    Varint(s.size());
    Bytes(s.data(), s.size());
  }
  std::string& Out() { return out_; }

 private:
  std::string out_;
};

class TReader {
 public:
  explicit TReader(std::string_view in) : in_(in) {}
  size_t Left() const { return in_.size() - at_; }
  uint8_t Byte() {
    if (Left() < 1) Fail("it ends too early");
    return static_cast<uint8_t>(in_[at_++]);
  }
  // At most 32 bits: a longer or larger number is damage, not a value.
  uint32_t Varint() {
    uint64_t v = 0;
    for (int shift = 0; shift < 35; shift += 7) {
      uint8_t b = Byte();
      v |= static_cast<uint64_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) {
        if (v > UINT32_MAX) break;
        return static_cast<uint32_t>(v);
      }
    }
    Fail("a number in it is out of range");
  }
  int32_t Signed() {
    uint32_t v = Varint();
    return static_cast<int32_t>((v >> 1) ^ (0u - (v & 1)));
  }
  // Values outside [low, high] are damage.
  int32_t Signed(int32_t low, int32_t high, const char* what) {
    int32_t v = Signed();
    if (v < low || v > high) Fail(std::string(what) + " in it is out of range");
    return v;
  }
  uint32_t Varint(uint32_t high, const char* what) {
    uint32_t v = Varint();
    if (v > high) Fail(std::string(what) + " in it is out of range");
    return v;
  }
  int32_t Coordinate(const char* what) { return Signed(-MaxReplayCoordinate, MaxReplayCoordinate, what); }
  std::string Text() {
    uint32_t n = Varint();
    if (n > MaxReplayText || n > Left()) Fail("a text in its header is too long");
    std::string s(in_.substr(at_, n));
    at_ += n;
    return s;
  }
  uint64_t Fixed64() {
    if (Left() < 8) Fail("it ends too early");
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(static_cast<uint8_t>(in_[at_++])) << (8 * i);
    return v;
  }
  [[noreturn]] static void Fail(const std::string& why) { throw EReplayError("the replay is damaged: " + why); }

 private:
  std::string_view in_;
  size_t at_ = 0;
};

void WriteEvent(TWriter& w, const TReplayEvent& e) {
  w.Byte(static_cast<uint8_t>(static_cast<uint8_t>(e.Kind) | (e.Shift & ShiftBits) << ShiftAt));
  switch (e.Kind) {
    case TReplayInput::KeyDown:
    case TReplayInput::KeyUp:
    case TReplayInput::Text: w.Varint(e.Key); break;
    case TReplayInput::MouseDown: w.Byte(e.Button); [[fallthrough]];
    case TReplayInput::MouseMove:
      w.Signed(e.X);
      w.Signed(e.Y);
      break;
    default: break;
  }
}

TReplayEvent ReadEvent(TReader& r) {
  TReplayEvent e;
  uint8_t b = r.Byte();
  if ((b & KindBits) >= ReplayInputKinds || (b & 0x80)) TReader::Fail("it holds an input of unknown kind");
  e.Kind = static_cast<TReplayInput>(b & KindBits);
  e.Shift = static_cast<uint8_t>((b >> ShiftAt) & ShiftBits);
  switch (e.Kind) {
    case TReplayInput::KeyDown:
    case TReplayInput::KeyUp:
    case TReplayInput::Text: {
      e.Key = static_cast<uint16_t>(r.Varint(UINT16_MAX, "a key code"));
      // Letters come from UTF-8 text: never half of a surrogate pair.
      if (e.Kind == TReplayInput::Text && e.Key >= 0xD800 && e.Key <= 0xDFFF)
        TReader::Fail("a letter in it is no character");
      break;
    }
    case TReplayInput::MouseDown:
      e.Button = r.Byte();
      if (e.Button > 2) TReader::Fail("a mouse button in it is unknown");
      [[fallthrough]];
    case TReplayInput::MouseMove:
      e.X = r.Coordinate("a pointer position");
      e.Y = r.Coordinate("a pointer position");
      break;
    default: break;
  }
  return e;
}

}  // namespace

std::string EncodeReplay(const TReplay& replay) {
  TWriter w;
  w.Bytes(ReplayMagic, ReplayMagicSize);
  w.Varint(ReplayFormatVersion);
  const TReplayHeader& h = replay.Header;
  w.Text(h.GameVersion.substr(0, MaxReplayText));
  w.Varint(static_cast<uint32_t>(h.Revision));
  w.Byte(h.AccentsExact ? 1 : 0);
  w.Text(h.Rules.substr(0, MaxReplayText));
  w.Signed(h.StartWave);
  w.Signed(h.SpeedPercent);
  w.Text(h.WordList.substr(0, MaxReplayText));
  for (int i = 0; i < 8; ++i) w.Byte(static_cast<uint8_t>(h.WordsHash >> (8 * i)));
  w.Varint(h.Seed);
  w.Varint(h.StartTime);
  w.Varint(h.StarScroll - h.StartTime);
  w.Varint(h.Stars.size());
  // Stamps as distances from the start: small numbers, exact across a wrap.
  for (const TReplayStar& s : h.Stars) {
    w.Signed(s.X);
    w.Signed(s.Y);
    w.Signed(static_cast<int32_t>(s.StepStamp - h.StartTime));
    w.Signed(s.FadeSpeed);
    w.Varint(s.Colour);
    w.Varint(s.TargetColour);
  }

  w.Varint(replay.Frames.size());
  size_t event = 0;
  for (const TReplayFrame& f : replay.Frames) {
    uint32_t count = static_cast<uint32_t>(std::min<size_t>(f.Events, replay.Events.size() - event));
    w.Varint(static_cast<uint64_t>(std::min(f.Step, MaxReplayStep)) << 1 | (count > 0));
    if (count == 0) continue;
    w.Varint(count);
    for (uint32_t i = 0; i < count; ++i) WriteEvent(w, replay.Events[event++]);
  }

  const TReplayTrailer& t = replay.Trailer;
  w.Signed(t.Score);
  w.Varint(t.WavesCompleted);
  w.Varint(t.BricksLost);
  w.Byte(static_cast<uint8_t>(t.How));
  return std::move(w.Out());
}

TReplay DecodeReplay(std::string_view bytes) {
  if (bytes.size() < ReplayMagicSize || std::memcmp(bytes.data(), ReplayMagic, ReplayMagicSize) != 0)
    throw EReplayError("it is not a Glyphfall replay");
  TReader r(bytes.substr(ReplayMagicSize));
  // The version comes first and is checked before anything else is read:
  // another version's bytes are never read as this one's.
  uint32_t version = r.Varint();
  if (version < 1 || version > ReplayFormatVersion)
    throw EReplayError("it was made in replay format " + std::to_string(version) + ", and this game reads formats 1 to " +
                       std::to_string(ReplayFormatVersion) + " only");
  TReplay replay;
  TReplayHeader& h = replay.Header;
  h.GameVersion = r.Text();
  // Format 1 came before both: every game then was of revision 1, "either".
  h.Revision = 1;
  h.AccentsExact = false;
  if (version >= 2) {
    // Any revision reads (the game refuses to play another); 0 none had.
    h.Revision = static_cast<int32_t>(r.Varint(INT32_MAX, "its rules revision"));
    if (h.Revision == 0) TReader::Fail("its rules revision is out of range");
    const uint8_t accents = r.Byte();
    if (accents > 1) TReader::Fail("its Accents setting is unknown");
    h.AccentsExact = accents == 1;
  }
  h.Rules = r.Text();
  // Whether this game has those rules is the watcher's question; a name no
  // game would give its rules is damage.
  if (h.Rules.empty() || h.Rules.size() > MaxRulesName ||
      !std::all_of(h.Rules.begin(), h.Rules.end(), [](char c) { return c > ' ' && c < 127; }))
    throw EReplayError("its rules are not named as rules are");
  h.StartWave = r.Signed(MinStartWave, MaxStartWave, "its starting wave");
  h.SpeedPercent = r.Signed();
  if (std::find(SpeedChoices.begin(), SpeedChoices.end(), h.SpeedPercent) == SpeedChoices.end())
    throw EReplayError("it was played at a speed this game does not offer");
  h.WordList = r.Text();
  h.WordsHash = r.Fixed64();
  h.Seed = r.Varint();
  h.StartTime = r.Varint();
  h.StarScroll = h.StartTime + r.Varint();
  uint32_t stars = r.Varint();
  if (stars > MaxReplayStars || stars > r.Left()) TReader::Fail("it counts more stars than it holds");
  h.Stars.resize(stars);
  // A star is made somewhere on the window and wraps before it leaves it;
  // it fades at a pace of its own towards a colour of 24 bits.
  for (TReplayStar& s : h.Stars) {
    s.X = r.Signed(0, MaxReplayCoordinate, "a star's position");
    s.Y = r.Signed(0, MaxReplayCoordinate, "a star's position");
    s.StepStamp = h.StartTime + static_cast<uint32_t>(r.Signed());
    s.FadeSpeed = r.Signed(-MaxStarFadeSpeed, MaxStarFadeSpeed, "a star's fade pace");
    s.Colour = r.Varint(MaxStarColour, "a star's colour");
    s.TargetColour = r.Varint(MaxStarColour, "a star's colour");
  }

  // Every frame takes at least a byte, every event too: counts beyond the
  // bytes left are damage, found before any room is made for them.
  uint32_t frames = r.Varint();
  if (frames > r.Left() || frames > MaxReplayFrames) TReader::Fail("it counts more frames than it holds");
  replay.Frames.reserve(frames);
  for (uint32_t i = 0; i < frames; ++i) {
    uint32_t first = r.Varint();
    TReplayFrame f{first >> 1, 0};
    if (f.Step > MaxReplayStep) TReader::Fail("a frame in it lasts longer than a day");
    if (first & 1) {
      f.Events = r.Varint();
      if (f.Events == 0 || f.Events > r.Left() || replay.Events.size() + f.Events > MaxReplayEvents)
        TReader::Fail("a frame counts more input than it holds");
      for (uint32_t k = 0; k < f.Events; ++k) replay.Events.push_back(ReadEvent(r));
    }
    replay.Frames.push_back(f);
  }

  TReplayTrailer& t = replay.Trailer;
  t.Score = r.Signed();
  t.WavesCompleted = r.Varint();
  t.BricksLost = r.Varint();
  uint8_t how = r.Byte();
  if (how > static_cast<uint8_t>(TGameEnd::Closed)) TReader::Fail("its ending is unknown");
  t.How = static_cast<TGameEnd>(how);
  if (r.Left() != 0) TReader::Fail("there is more after its end");
  return replay;
}

TReplay LoadReplay(const std::string& path) {
  std::string bytes;
  try {
    if (!ReadWholeFile(path, MaxReplayFileSize, bytes))
      throw EReplayError(path + ": it is too large to be a replay");
    return DecodeReplay(bytes);
  } catch (const EReplayError& e) {
    if (std::string_view(e.what()).rfind(path, 0) == 0) throw;
    throw EReplayError(path + ": " + e.what());
  } catch (const EFileError& e) {
    throw EReplayError(e.what());
  }
}

void TWordsHash::Add(std::string_view word) {
  constexpr uint64_t Prime = 0x100000001B3ull;
  for (char c : word) value_ = (value_ ^ static_cast<uint8_t>(c)) * Prime;
  value_ = (value_ ^ '\n') * Prime;
}
