// What play draws from: a started game draws the same numbers and numbers
// its words the same, whatever was drawn before.
#include <gtest/gtest.h>

#include <vector>

#include "framework/Determinism.h"
#include "framework/Utils.h"
#include "words/WordUnit.h"

namespace {

// Numbers and serials drawn in turn, as play draws them.
std::vector<uint64_t> Draw(TDeterminism& d) {
  std::vector<uint64_t> drawn;
  for (int i = 0; i < 50; ++i) {
    drawn.push_back(static_cast<uint64_t>(d.Random(1000)));
    if (i % 7 == 0) drawn.push_back(d.NextSerial());
  }
  return drawn;
}

TEST(Determinism, StartRestartsNumbersAndSerialsAlike) {
  TDeterminism d;
  d.Start(20260101);
  const std::vector<uint64_t> first = Draw(d);
  EXPECT_EQ(first[1], 1u);  // serials count from 1; 0 means "no word"
  d.Seed(5);  // the menu's stars drawing in between
  for (int i = 0; i < 100; ++i) d.NextSerial();
  d.Start(20260101);
  EXPECT_EQ(Draw(d), first);
  d.Start(20260102);
  EXPECT_NE(Draw(d), first);
}

// The free functions and the words reach the game's one instance: a game
// started from a seed deals the numbers and serials a separate one does.
TEST(Determinism, RandomAndWordsDrawFromTheGamesInstance) {
  TDeterminism mine;
  mine.Start(77);
  GameDeterminism().Start(77);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(Random(50), mine.Random(50));
  EXPECT_EQ(RandSeedValue(), mine.SeedValue());
  TSpriteWord a, b;
  EXPECT_EQ(a.Serial, 1u);
  EXPECT_EQ(b.Serial, 2u);
  RandSeed(77);  // seeding alone leaves the serials counting on
  TSpriteWord c;
  EXPECT_EQ(c.Serial, 3u);
  mine.Seed(77);
  EXPECT_EQ(Random(50), mine.Random(50));
}

}  // namespace
