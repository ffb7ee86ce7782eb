// The typing record: what a game says about the player's typing (speed,
// accuracy, weak keys), gathered by watching the game's events. It only
// watches; the rules of play never see it.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/GameEvents.h"

constexpr int LetterKeys = 26;
// Typing time is the time with a word on screen to type, counted between
// letter keys (and from the start of the game to the first) up to this much
// per key: time with nothing to type, and a long pause over a word, must not
// lower the speed.
constexpr uint32_t MaxKeyGap = 2000;
// A game counts towards the best speed and the progress only with this many
// correct letters at this accuracy: a few keys, or mashing, say nothing.
constexpr int32_t MinCountedHits = 50;
constexpr double MinCountedAccuracy = 0.75;
// Typing sites count a word as five characters.
constexpr double CharsPerWord = 5.0;

// Words per minute of hits letter keys over typingMs; 0 when no time passed.
double WordsPerMinute(int64_t hits, int64_t typingMs);
// Share of letter keys that hit a word; 1 when none were typed.
double AccuracyOf(int64_t hits, int64_t misses);

struct TKeyFigures {
  int32_t Presses = 0;  // every press of the key, the misses included
  int32_t Misses = 0;   // presses that hit nothing
  int64_t GapMs = 0;    // typing time counted before its presses (see MaxKeyGap)
  int32_t Gaps = 0;     // presses that counted typing time
  double MeanGapMs() const { return Gaps > 0 ? static_cast<double>(GapMs) / Gaps : 0; }
};

// Whether a key code at the words is a letter, and which: A-Z, or the
// capital (its Unicode code) of a letter of a list in another language. 0 for
// anything else (digits, signs, the space bar).
char32_t TypedLetter(uint16_t key);

// The figures of every letter typed, by its capital. A-Z, the common case,
// sit in a fixed array; other letters in a short list kept in code order.
class TKeyTable {
 public:
  TKeyFigures& operator[](char32_t letter);
  // Figures of nothing for a letter never typed.
  const TKeyFigures& operator[](char32_t letter) const;
  // The letters pressed at least once, in code order.
  std::vector<std::pair<char32_t, TKeyFigures>> Used() const;

 private:
  std::array<TKeyFigures, LetterKeys> latin_{};
  std::vector<std::pair<char32_t, TKeyFigures>> others_;
};

struct TWaveFigures {
  int32_t Wave = 1;
  int32_t Hits = 0, Misses = 0, BricksLost = 0;
  int64_t TypingMs = 0, PlayMs = 0;
  double Wpm() const { return WordsPerMinute(Hits, TypingMs); }
  double Accuracy() const { return AccuracyOf(Hits, Misses); }
};

// One game's figures, as the results screen shows them and the history keeps them.
struct TGameFigures {
  int64_t Date = 0;  // seconds since 1970, set when the game is stored
  std::string Rules = "Classic";
  std::string WordList = "English";
  bool AccentsExact = false;  // only the accented key hit an accented letter
  int32_t StartWave = 1;
  int32_t Score = 0;
  int32_t WavesCompleted = 0;
  int32_t Hits = 0, Misses = 0, Words = 0, Letters = 0;
  int64_t TypingMs = 0, PlayMs = 0;
  std::vector<TWaveFigures> Waves;
  TKeyTable Keys;

  double Wpm() const { return WordsPerMinute(Hits, TypingMs); }
  double Accuracy() const { return AccuracyOf(Hits, Misses); }
  double BestWaveWpm() const;
  // A game with no letter typed says nothing about typing: neither shown nor stored.
  bool Typed() const { return Hits + Misses > 0; }
  // Enough correct letters, typed well enough, to count towards the best
  // speed and the progress; a game that does not is still shown.
  bool Counts() const { return Hits >= MinCountedHits && Accuracy() >= MinCountedAccuracy; }
};

class TTypingRecord : public TGameObserver {
 public:
  // The game under way, or the last one once it has ended.
  const TGameFigures& Game() const { return game_; }
  // The speed so far, the time to type since the last key (capped) included.
  double CurrentWpm(uint32_t gameTime) const;

  void GameStarted(const TGameStart& e) override;
  void KeyTyped(const TKeyTyped& e) override;
  void WordFinished(const TWordFinished& e) override;
  void BrickLost(const TBrickLost& e) override;
  void WaveStarted(const TWaveEvent& e) override;
  void WaveCompleted(const TWaveEvent& e) override;
  void GameEnded(const TGameEnded& e) override;
  void TypableChanged(const TTypable& e) override;

 private:
  void CloseWave(uint32_t time);
  // Time with something to type since the last letter key (or the start).
  int64_t Pending(uint32_t time) const;

  TGameFigures game_;
  uint32_t startTime_ = 0, waveStart_ = 0;
  bool waveOpen_ = false;
  bool typable_ = false;   // a word is on screen to type
  uint32_t since_ = 0;     // when the time now running in pending_ began
  int64_t pending_ = 0;    // time to type since the last letter key, up to since_
};
