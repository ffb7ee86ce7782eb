#include "framework/GameClock.h"

void TGameClock::Reset(uint32_t ticks) {
  GameTime = ticks;
  PausedTime = 0;
}

void TGameClock::Advance(uint32_t ticks, uint32_t pausedFor) {
  PausedTime += pausedFor;
  GameTime = ticks - PausedTime;
}

uint32_t TGameClock::MsSince(uint32_t stamp) const {
  if (stamp == 0) return 0;
  if (stamp > GameTime) return (UINT32_MAX - stamp) + GameTime;  // the counter has wrapped
  return GameTime - stamp;
}

bool TGameClock::HasElapsed(uint32_t stamp, uint32_t interval) const {
  return stamp == 0 || MsSince(stamp) >= interval;
}

bool TGameClock::TickEvery(uint32_t& stamp, uint32_t interval) const {
  if (!HasElapsed(stamp, interval)) return false;
  stamp = GameTime;
  return true;
}
