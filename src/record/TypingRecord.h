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
// A gap between two letter keys counts up to this much typing time: waiting
// for the next word must not lower the speed.
constexpr uint32_t MaxKeyGap = 2000;
// Typing sites count a word as five characters.
constexpr double CharsPerWord = 5.0;

// Words per minute of hits letter keys over typingMs; 0 when no time passed.
double WordsPerMinute(int64_t hits, int64_t typingMs);
// Share of letter keys that hit a word; 1 when none were typed.
double AccuracyOf(int64_t hits, int64_t misses);

struct TKeyFigures {
  int32_t Presses = 0;  // every press of the key, the misses included
  int32_t Misses = 0;   // presses that hit nothing
  int64_t GapMs = 0;    // sum of the (capped) times from the previous letter key
  int32_t Gaps = 0;     // presses that had a previous letter key
  double MeanGapMs() const { return Gaps > 0 ? static_cast<double>(GapMs) / Gaps : 0; }
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
  int32_t StartWave = 1;
  int32_t Score = 0;
  int32_t WavesCompleted = 0;
  int32_t Hits = 0, Misses = 0, Words = 0, Letters = 0;
  int64_t TypingMs = 0, PlayMs = 0;
  std::vector<TWaveFigures> Waves;
  std::array<TKeyFigures, LetterKeys> Keys{};

  double Wpm() const { return WordsPerMinute(Hits, TypingMs); }
  double Accuracy() const { return AccuracyOf(Hits, Misses); }
  double BestWaveWpm() const;
  // A game with no letter typed says nothing about typing: neither shown nor stored.
  bool Typed() const { return Hits + Misses > 0; }
};

class TTypingRecord : public TGameObserver {
 public:
  // The game under way, or the last one once it has ended.
  const TGameFigures& Game() const { return game_; }
  // The speed so far, the gap since the last key (capped) included.
  double CurrentWpm(uint32_t gameTime) const;

  void GameStarted(const TGameStart& e) override;
  void KeyTyped(const TKeyTyped& e) override;
  void WordFinished(const TWordFinished& e) override;
  void BrickLost(const TBrickLost& e) override;
  void WaveStarted(const TWaveEvent& e) override;
  void WaveCompleted(const TWaveEvent& e) override;
  void GameEnded(const TGameEnded& e) override;

 private:
  void CloseWave(uint32_t time);

  TGameFigures game_;
  uint32_t startTime_ = 0, waveStart_ = 0, lastKey_ = 0;
  bool anyKey_ = false, waveOpen_ = false;
};
