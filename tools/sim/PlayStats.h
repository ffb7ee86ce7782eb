// The simulator's statistics, gathered by watching the game's events.
#pragma once
#include <cstdint>

#include "framework/GameEvents.h"

class TPlayStats : public TGameObserver {
 public:
  int64_t WordsTyped = 0;
  int64_t LettersTyped = 0;
  // Keys typed in play: at the words, and the space bar at the bombs.
  int64_t Keys = 0;
  int64_t BombsUsed = 0;
  int64_t BricksLost = 0;
  int64_t WavesCompleted = 0;
  int64_t GamesPlayed = 0;
  bool SawGameOver = false;
  int32_t LastScore = 0;  // of the last game that ended

  void KeyTyped(const TKeyTyped& e) override {
    ++Keys;
    for (const TKeyHit& hit : e.Hits) LettersTyped += hit.Letters;
  }
  void WordFinished(const TWordFinished& e) override {
    if (e.How == TWordEnd::Typed) ++WordsTyped;
  }
  void BrickLost(const TBrickLost&) override { ++BricksLost; }
  void BombUsed(const TBombUsed&) override { ++BombsUsed; }
  void WaveCompleted(const TWaveEvent&) override { ++WavesCompleted; }
  void GameOver(const TGameOver&) override { SawGameOver = true; }
  void GameEnded(const TGameEnded& e) override {
    ++GamesPlayed;
    LastScore = e.Score;
  }
};
