// The table's order rules and name entry, without a screen.
#include <gtest/gtest.h>

#include "HiScoreTestSupport.h"
#include "platform/Platform.h"

namespace {

using hstest::FillDefaults;
using hstest::Names;
using hstest::Scores;

class HiScoreTable : public hstest::ScratchFolder {
 protected:
  void SetUp() override {
    ScratchFolder::SetUp();
    FillDefaults(list);
  }
  void Type(std::initializer_list<uint16_t> keys) {
    for (uint16_t k : keys) list.NameEntryKey(k);
  }
  THiScoreList list;
};

// A score takes the first row it reaches, ahead of an equal one, and the last
// row drops out; the lowest score still enters, one below it does not.
TEST_F(HiScoreTable, NewScoreTakesItsRowAndTheTableKeepsItsLength) {
  list[5]->Name = "OLD5";
  list[9]->Name = "OLD9";
  EXPECT_EQ(list.InsertScore(450, "--------"), 6);
  EXPECT_EQ(Scores(list), "1000 900 800 700 600 500 450 400 300 200");
  EXPECT_EQ(list.InsertScore(500, "NEW"), 5);
  EXPECT_EQ(Names(list), "|||||NEW|OLD5|--------||");
  EXPECT_EQ(list.InsertScore(300, "LOW"), 9);
  const std::string before = Scores(list) + Names(list);
  EXPECT_EQ(list.InsertScore(299, "X"), -1);
  // No form exists here: a qualifying score would open the screen and crash.
  list.CheckNewScore(299);
  EXPECT_EQ(Scores(list) + Names(list), before);
  EXPECT_EQ(list.EntryRow, -1);

  THiScoreList three;
  for (int score : {300, 200, 100}) three.AddObject(new THiScore(score, ""));
  EXPECT_EQ(three.InsertScore(250, "N"), 1);
  EXPECT_EQ(Scores(three), "300 250 200");
  EXPECT_EQ(three.InsertScore(50, "N"), -1);
}

TEST_F(HiScoreTable, TypingFillsEightPlacesAndBackspaceFreesThem) {
  list.InsertScore(450, HiScoreEmptyName);
  list.EntryRow = 6;
  Type({'A', 'B', '1'});
  EXPECT_EQ(list[6]->Name, "AB1-----");
  Type({vk::Back});
  EXPECT_EQ(list[6]->Name, "AB------");
  Type({vk::Delete, vk::Delete, vk::Back});
  EXPECT_EQ(list[6]->Name, "--------");
  // Keys that are not letters or main-block digits change nothing; 97 and up
  // are the number pad and function keys, not lower-case letters.
  Type({vk::Space, vk::Left, 97, 'Z' + 1, '0' - 1, 0x141});
  EXPECT_EQ(list[6]->Name, "--------");
  Type({'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J'});
  EXPECT_EQ(list[6]->Name, "ABCDEFGH");
  EXPECT_EQ(list.EntryRow, 6);
  EXPECT_FALSE(Exists());
  const std::string names = Names(list);
  list.EntryRow = list.Count();
  Type({'A'});
  EXPECT_EQ(Names(list), names);
}

// Enter, Escape and the screen's end (a click, the window closing) all keep
// the typed part as the name and write the file; later keys rename nothing.
TEST_F(HiScoreTable, EveryWayOfEndingTheEntryStoresTheNameAndWritesTheFile) {
  for (const uint16_t end : {vk::Return, vk::Escape, uint16_t(0)}) {
    SCOPED_TRACE(end);
    list.InsertScore(450, HiScoreEmptyName);
    list.EntryRow = 6;
    Type({'A', 'B', '1', vk::Back});
    if (end)
      Type({end});
    else
      list.CommitEntry();
    EXPECT_EQ(list[6]->Name, "AB");
    EXPECT_EQ(list.EntryRow, -1);
    EXPECT_NE(Read().find("<RANK7><NAME>AB</NAME><SCORE>450</SCORE></RANK7>"), std::string::npos) << Read();
    Type({'Q', 'Q'});
    EXPECT_EQ(list[6]->Name, "AB");
  }
  list.InsertScore(450, HiScoreEmptyName);
  list.EntryRow = 6;
  Type({vk::Return});
  EXPECT_EQ(list[6]->Name, "");
  EXPECT_NE(Read().find("<RANK7><NAME/><SCORE>450</SCORE>"), std::string::npos) << Read();
}

// Rows are 40 pixels apart from y 120; only a row with a kept game answers.
TEST_F(HiScoreTable, OnlyARowWithAKeptGameAnswersAClick) {
  list[0]->Replay = "a.gfr";
  list[9]->Replay = "b.gfr";
  EXPECT_EQ(list.ReplayRowAt(100), -1);  // the title, above the first row
  EXPECT_EQ(list.ReplayRowAt(125), 0);
  EXPECT_EQ(list.ReplayRowAt(165), -1);
  EXPECT_EQ(list.ReplayRowAt(120 + 40 * 9 + 39), 9);
  EXPECT_EQ(list.ReplayRowAt(120 + 40 * 10), -1);  // below the table
  list.Delete(9);
  EXPECT_EQ(list.ReplayRowAt(120 + 40 * 9 + 5), -1);
}

TEST(HiScoreText, ScoresParseStrictlyWithin32Bits) {
  const std::pair<const char*, int32_t> good[] = {
      {"450", 450}, {" +12\n", 12}, {"-2147483648", INT32_MIN}, {"2147483647", INT32_MAX}};
  for (const auto& [text, value] : good) {
    int32_t v = 7;
    EXPECT_TRUE(ParseScore(text, v) && v == value) << text;
  }
  int32_t v = 7;
  for (const char* bad : {"", " ", "-", "+", "2147483648", "-2147483649", "99999999999999999999", "12a", "1 2", "0x10",
                          "$10", "1e3", "1.0", "--1", "abc"})
    EXPECT_FALSE(ParseScore(bad, v)) << bad;
  EXPECT_EQ(v, 7);
}

TEST(HiScoreText, NamesFromTheFileStayShortPrintableAscii) {
  EXPECT_EQ(CleanName("  BOB \n"), "BOB");
  EXPECT_EQ(CleanName("ABCDEFGHIJKL"), "ABCDEFGH");
  EXPECT_EQ(CleanName("Jos\xC3\xA9!"), "Jos?!");
  EXPECT_EQ(CleanName("A\x01"
                      "B\x7F~"),
            "A?B?~");
  EXPECT_EQ(CleanName(""), "");
}

TEST(HiScoreText, OnlyLetterAndDigitKeysName) {
  for (uint16_t key : std::initializer_list<uint16_t>{'A', 'M', 'Z', '0', '5', '9'}) EXPECT_TRUE(IsNameKey(key)) << key;
  // Neighbours of the two ranges, lower-case codes, keys that only look like
  // letters, and codes whose low byte is a letter.
  for (uint16_t key : std::initializer_list<uint16_t>{'@', '[', '/', ':', 'a', 'z', ' ', '-', '_', 0, 8, 13, 27, 0xC4,
                                                      0xE9, 0x141, 0x3A0, 0xFF41, 0xFFFF})
    EXPECT_FALSE(IsNameKey(key)) << key;
}

}  // namespace
