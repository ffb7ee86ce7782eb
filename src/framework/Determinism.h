// Everything play draws from that is not input or the clock: the random
// generator and the numbers words are given. Both live in one object, which
// a game starts from its seed; a replay starts it from the recorded seed, so
// the watched game draws the same numbers and numbers its words the same.
#pragma once
#include <cstdint>

class TDeterminism {
 public:
  // A game begins: the generator takes the seed and word numbers count
  // from 1 again.
  void Start(uint32_t seed) {
    state_ = seed;
    lastSerial_ = 0;
  }
  // The generator alone (a run's first seed, the stars behind the menu).
  void Seed(uint32_t seed) { state_ = seed; }
  uint32_t SeedValue() const { return state_; }
  // Uniform in 0 .. n-1; 0 when n <= 0 (a number is drawn all the same).
  int32_t Random(int32_t n);
  // A word's own number; 0 stays free to mean "no word".
  uint64_t NextSerial() { return ++lastSerial_; }

 private:
  uint32_t state_ = 1;
  uint64_t lastSerial_ = 0;
};

// The game's one instance, which Random(), RandSeed() and the words use.
TDeterminism& GameDeterminism();
