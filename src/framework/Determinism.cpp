#include "framework/Determinism.h"

#include "framework/Utils.h"

// A small linear congruential generator with 32-bit state, the kind the
// classic runtime used: cheap, deterministic across platforms and compilers.
int32_t TDeterminism::Random(int32_t n) {
  state_ = state_ * 134775813u + 1u;
  if (n <= 0) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(state_) * static_cast<uint32_t>(n)) >> 32);
}

TDeterminism& GameDeterminism() {
  static TDeterminism determinism;
  return determinism;
}

void RandSeed(uint32_t seed) { GameDeterminism().Seed(seed); }
uint32_t RandSeedValue() { return GameDeterminism().SeedValue(); }
int32_t Random(int32_t n) { return GameDeterminism().Random(n); }
