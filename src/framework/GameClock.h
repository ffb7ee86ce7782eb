// The game clock: milliseconds of play that stand still while the game is
// paused or its window inactive. Every timer of the game is a stamp tested
// against it; it changes once per frame, so every test within a frame sees
// the same time.
#pragma once
#include <cstdint>

class TGameClock {
 public:
  uint32_t GameTime = 0;
  // Time spent paused since the last Reset.
  uint32_t PausedTime = 0;

  // Starts counting from the platform's tick count.
  void Reset(uint32_t ticks);
  // Once per frame: pausedFor more milliseconds were spent paused, and the
  // platform's tick count is now ticks.
  void Advance(uint32_t ticks, uint32_t pausedFor);

  // 0 for a stamp of 0; across a wrap of the counter, the time up to the top
  // of the range and on from 0.
  uint32_t MsSince(uint32_t stamp) const;
  // A stamp of 0 is due at once.
  bool HasElapsed(uint32_t stamp, uint32_t interval) const;
  // HasElapsed, and then the stamp moves to now.
  bool TickEvery(uint32_t& stamp, uint32_t interval) const;
};
