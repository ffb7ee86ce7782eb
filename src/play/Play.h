// The game as its additions see it: the rules, the typing record, replays,
// the coach and online play get this, handed to them, and never the form.
#pragma once
#include <cstdint>

class TWordList;
class TGameClock;
class TGameEvents;

class TPlay {
 public:
  virtual ~TPlay() = default;
  // The words on screen: those attacking the castle and the bonus words.
  virtual TWordList& AttackWords() = 0;
  virtual TWordList& BonusWords() = 0;
  virtual const TGameClock& Clock() const = 0;
  // What happens in play, for whoever watches it.
  virtual TGameEvents& Events() = 0;
  virtual int32_t Score() const = 0;
  virtual int32_t WaveNumber() const = 0;
  virtual bool Playing() const = 0;
  // The x of the castle's front, where the attack words strike.
  virtual int32_t CastleFront() const = 0;
  // A sound effect, fire and forget.
  virtual void PlaySound(const char* file) = 0;
};
