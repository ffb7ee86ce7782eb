#include <gtest/gtest.h>

#include <algorithm>

#include "framework/Letters.h"
#include "framework/ObjectList.h"
#include "framework/Utils.h"

TEST(Switches, SlashAndAnyLetterCase) {
  std::vector<std::string> args = {"  /RuN ", "other"};
  EXPECT_TRUE(HasSwitch(args, "run"));
  EXPECT_TRUE(HasSwitch(args, "/run"));
  EXPECT_FALSE(HasSwitch(args, "vbnmq"));
  // Without the slash the argument is not a switch.
  EXPECT_FALSE(HasSwitch({"run"}, "run"));
}

TEST(ZeroPad, PadsToSixAndKeepsLongerNumbers) {
  EXPECT_EQ(ZeroPad(0, 6), "000000");
  EXPECT_EQ(ZeroPad(120, 6), "000120");
  EXPECT_EQ(ZeroPad(1234567, 6), "1234567");
  EXPECT_EQ(ZeroPad(-5, 3), "-005");
}

// Repeatability: DeterminismTest.
TEST(Random, StaysInItsBounds) {
  RandSeed(7);
  std::vector<int> seen(10, 0);
  for (int i = 0; i < 1000; ++i) {
    const int r = Random(10);
    ASSERT_TRUE(r >= 0 && r < 10) << r;
    ++seen[r];
  }
  EXPECT_EQ(std::count(seen.begin(), seen.end(), 0), 0);  // every value drawn
  EXPECT_EQ(Random(0), 0);
}

TEST(ObjectList, OwnsAndDestroysOnRemove) {
  struct Counted {
    explicit Counted(int* c) : count(c) { ++*count; }
    ~Counted() { --*count; }
    int* count;
  };
  int alive = 0;
  {
    TCustomObjectList<Counted> list;
    list.AddObject(new Counted(&alive));
    Counted* second = list.AddObject(new Counted(&alive));
    list.AddObject(new Counted(&alive));
    EXPECT_EQ(alive, 3);
    EXPECT_EQ(list.LastIndex(), 2);
    EXPECT_EQ(list.Remove(second), 1);
    EXPECT_EQ(alive, 2);
    list.Delete(0);
    EXPECT_EQ(alive, 1);
  }
  EXPECT_EQ(alive, 0);
  const TCustomObjectList<Counted>* none = nullptr;
  EXPECT_EQ(LastIndexOf(none), -1);
}

// Capitals follow each alphabet; signs that sit among the letters (÷, ×)
// are neither letters nor changed, and ß has no single capital.
TEST(Letters, CapitalsOfEachAlphabetAndTheSignsAmongThem) {
  EXPECT_EQ(UpperCaseText("abcéÿß÷ёжσς"), "ABCÉŸß÷ЁЖΣΣ");
  for (char32_t sign : {0xD7, 0xF7}) {
    EXPECT_FALSE(IsLetterChar(sign));
    EXPECT_FALSE(IsSmallLetter(sign));
  }
  EXPECT_TRUE(IsLetterChar(0xDF));
  EXPECT_TRUE(IsSmallLetter(0xDF));
  EXPECT_TRUE(BaseLetter(0xC9) == U'E');  // É
  EXPECT_TRUE(BaseLetter(0xC6) == 0xC6);  // Æ is a letter of its own
}
