// The game-event seam: the form and the word lists announce what happens in
// play; observers (the simulator's statistics, the typing record, replays)
// watch it. An observer only watches: it gets copies and views of values,
// valid during the call, and never steers the game. With no observer
// registered raising an event is a test of an empty list, nothing more.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// How a word left play.
enum class TWordEnd {
  Typed,    // its last letter was typed
  Crashed,  // it lost its last letter against the castle
  Burst,    // a bomb, a flashing word or the stage key burst it
  Missed,   // a falling bonus word reached the ground
  Through   // it got past the castle's line (at castle height that ends the game)
};

// How a game ended.
enum class TGameEnd {
  Lost,    // a word got through at castle height; the game-over sequence ran
  Quit,    // Escape during play
  Closed,  // the window closed during play
};

// A word as observers see it.
struct TWordRef {
  uint64_t Serial = 0;    // the word's own number, unique in a game
  std::string_view Text;  // its full text, the letters typed included
  std::string_view Kind;  // its class name, e.g. "TCannonWord"
  uint8_t Tier = 0;       // speed tier 0 .. 5 at the moment of the event
};

// One word a key reached. Letters is 1 when the key took a letter off it and
// 0 when it only knocked a shield off.
struct TKeyHit {
  TWordRef Word;
  int Letters = 0;
};

struct TGameStart {
  uint32_t Time = 0;
  std::string_view Rules;  // "Classic" or "Typist"
  uint32_t Seed = 0;       // state of the random generator as the game began
  int32_t Wave = 1;
  std::string_view WordList;   // "English" for the bundled one
  int32_t SpeedPercent = 100;  // the words' pace; 100 is the game as built
  bool AccentsExact = false;   // only the accented key hits an accented letter
};

// A key the player typed at play: a letter (or any key but the space bar) at
// the words, or the space bar at the bombs. Repeats of a held key are not
// typed and raise nothing.
struct TKeyTyped {
  uint32_t Time = 0;
  // The key code; for a list in another language, whose letters arrive as
  // text, the letter's capital (its Unicode code, É = 0xC9).
  uint16_t Key = 0;
  // A word took the key; for the space bar, a bomb went off.
  bool Hit = false;
  std::span<const TKeyHit> Hits;  // empty for the space bar
};

struct TWordFinished {
  uint32_t Time = 0;
  TWordRef Word;
  uint8_t StartTier = 0;      // the tier it was made with (typing slows a word)
  uint32_t TimeOnScreen = 0;  // ms of game time since the word was made
  TWordEnd How = TWordEnd::Typed;
};

struct TBrickLost {
  uint32_t Time = 0;
  int Column = 0;
  int Row = 0;
};

struct TBombUsed {
  uint32_t Time = 0;
  int32_t BombsLeft = 0;
};

struct TWaveEvent {
  uint32_t Time = 0;
  int32_t Wave = 1;
  bool Looped = false;  // play has gone past the last wave and begun again
};

// Whether a word is on screen with letters left to type: raised when that
// changes during play (and not after the game is lost).
struct TTypable {
  uint32_t Time = 0;
  bool Any = false;
};

struct TGameOver {
  uint32_t Time = 0;
  int32_t Score = 0;
  int32_t Wave = 1;
};

struct TGameEnded {
  uint32_t Time = 0;
  int32_t Score = 0;
  TGameEnd How = TGameEnd::Quit;
};

class TGameObserver {
 public:
  virtual ~TGameObserver() = default;
  virtual void GameStarted(const TGameStart&) {}
  virtual void KeyTyped(const TKeyTyped&) {}
  virtual void WordFinished(const TWordFinished&) {}
  virtual void BrickLost(const TBrickLost&) {}
  virtual void BombUsed(const TBombUsed&) {}
  virtual void WaveStarted(const TWaveEvent&) {}
  virtual void WaveCompleted(const TWaveEvent&) {}
  virtual void TypableChanged(const TTypable&) {}
  // The game is lost; the game-over sequence begins (GameEnded follows).
  virtual void GameOver(const TGameOver&) {}
  virtual void GameEnded(const TGameEnded&) {}
};

// The observers of one form, and the raising of each event to them in the
// order they were added.
class TGameEvents {
 public:
  // The observer must outlive its registration (Remove it before it goes).
  // Both are for between events, never from inside one.
  void Add(TGameObserver& observer);
  void Remove(TGameObserver& observer);
  bool Listening() const { return !observers_.empty(); }

  void GameStarted(const TGameStart& e) {
    typable_ = false;
    Raise(&TGameObserver::GameStarted, e);
  }
  void WordFinished(const TWordFinished& e) { Raise(&TGameObserver::WordFinished, e); }
  void BrickLost(const TBrickLost& e) { Raise(&TGameObserver::BrickLost, e); }
  void BombUsed(const TBombUsed& e) { Raise(&TGameObserver::BombUsed, e); }
  void WaveStarted(const TWaveEvent& e) { Raise(&TGameObserver::WaveStarted, e); }
  void WaveCompleted(const TWaveEvent& e) { Raise(&TGameObserver::WaveCompleted, e); }
  void GameOver(const TGameOver& e) { Raise(&TGameObserver::GameOver, e); }
  void GameEnded(const TGameEnded& e) { Raise(&TGameObserver::GameEnded, e); }
  // Told every frame of play; observers hear only of a change.
  void Typable(uint32_t time, bool any) {
    if (any == typable_) return;
    typable_ = any;
    Raise(&TGameObserver::TypableChanged, TTypable{time, any});
  }

  // A typed key is gathered while the words take it: BeginKey, a NoteHit for
  // each word it reaches, then EndKey raises KeyTyped with them all.
  void BeginKey() { hits_.clear(); }
  void NoteHit(const TKeyHit& hit) {
    if (Listening()) hits_.push_back(hit);
  }
  void EndKey(uint32_t time, uint16_t key);
  // The space bar: no words, a hit when a bomb went off.
  void BombKey(uint32_t time, uint16_t key, bool detonated);

 private:
  template <class E>
  void Raise(void (TGameObserver::*handler)(const E&), const E& e) {
    for (TGameObserver* o : observers_) (o->*handler)(e);
  }

  std::vector<TGameObserver*> observers_;
  std::vector<TKeyHit> hits_;  // kept between keys, so its room is reused
  bool typable_ = false;
};
