// What a word needs from the running wave, with the values that hold when
// there is none (between games, and in tests that build words by hand).
#pragma once
#include <cstdint>

#include "shell/GlyphfallUnit.h"
#include "waves/WaveUnit.h"

namespace wordwave {

constexpr int32_t DefaultWordStep = 1;
constexpr int32_t DefaultSpeedUpInterval = 10000;

inline TWave* Current() { return GlyphfallForm ? GlyphfallForm->CurrentWave.get() : nullptr; }

inline int32_t WordStep() {
  TWave* w = Current();
  return w ? w->WordStep : DefaultWordStep;
}

inline uint32_t SpeedUpInterval() {
  TWave* w = Current();
  int32_t ms = w ? w->SpeedUpInterval : DefaultSpeedUpInterval;
  // The words' own clocks keep the game's pace too.
  if (GlyphfallForm && ms > 0) ms = static_cast<int32_t>(GlyphfallForm->Stage.Paced(static_cast<uint32_t>(ms)));
  return ms > 0 ? static_cast<uint32_t>(ms) : 0;
}

inline bool SalvoRunning() {
  TWave* w = Current();
  return w && w->SalvoRunning();
}

inline uint8_t ChooseTier() {
  TWave* w = Current();
  return w ? w->ChooseTier() : 0;
}

// A word the wave released has gone.
inline void CountOff() {
  if (TWave* w = Current()) w->WordsLeft -= 1;
}

}  // namespace wordwave
