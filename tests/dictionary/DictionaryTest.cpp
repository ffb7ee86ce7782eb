#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "dictionary/DictionaryUnit.h"
#include "framework/Utils.h"

namespace fs = std::filesystem;

namespace {

class DictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("glyphfall-dict-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& bytes) {
    std::string path = (dir_ / "wordsenglish.txt").string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  static std::vector<std::string> Texts(const TDictionary& d) {
    std::vector<std::string> r;
    for (int i = 0; i < d.Count(); ++i) r.push_back(d.Items(i)->Text);
    return r;
  }

  // The 26 letters, minus those given, as the loader appends them.
  static std::vector<std::string> Letters(const std::string& except = "") {
    std::vector<std::string> r;
    for (char c = 'A'; c <= 'Z'; ++c)
      if (except.find(c) == std::string::npos) r.push_back(std::string(1, c));
    return r;
  }

  static std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  }

  fs::path dir_;
};

TEST_F(DictionaryTest, EmptyFileHoldsJustTheLettersInOrder) {
  TDictionary d(Write(""));
  EXPECT_EQ(Texts(d), Letters());
}

TEST_F(DictionaryTest, FirstWrittenFormWinsOverCaseVariants) {
  TDictionary d(Write("cat\nCat\nCAT\n"));
  EXPECT_EQ(Texts(d), Join({"cat"}, Letters()));
  EXPECT_TRUE(d.Contains("CAT"));
  EXPECT_TRUE(d.Contains(" \tcAt\r "));  // both sides trimmed and case-folded
  EXPECT_FALSE(d.Contains("ca"));
}

TEST_F(DictionaryTest, LinesWithAnythingButLettersAreRejectedWhole) {
  TDictionary d(Write(" dog\ndog's\ndog \nd-og\ndo9\nd\xC3\xB6g\ndog\n"));
  EXPECT_EQ(Texts(d), Join({"dog"}, Letters()));
}

TEST_F(DictionaryTest, SingleLetterLinesAreKeptAndNotAddedAgain) {
  TDictionary d(Write("a\nQ\n"));
  EXPECT_EQ(Texts(d), Join({"a", "Q"}, Letters("AQ")));
  EXPECT_EQ(d.Count(), 26);
}

TEST_F(DictionaryTest, EveryLineEndCountsAndSoDoesAFinalLineWithoutOne) {
  TDictionary d(Write("one\rtwo\nthree\r\nfour\n\n\r\rfive"));
  EXPECT_EQ(Texts(d), Join({"one", "two", "three", "four", "five"}, Letters()));
}

TEST_F(DictionaryTest, NulEndsTheText) {
  EXPECT_EQ(Texts(TDictionary(Write(std::string("cat\nfi\0sh\nbird\n", 15)))), Join({"cat", "fi"}, Letters()));
  EXPECT_EQ(Texts(TDictionary(Write(std::string("\0cat", 4)))), Letters());
}

TEST_F(DictionaryTest, MissingFileRaisesAnErrorNamingTheFileAndTheReason) {
  std::string path = (dir_ / "nowhere" / "wordsenglish.txt").string();
  try {
    TDictionary d(path);
    FAIL() << "no error";
  } catch (const EFOpenError& e) {
    std::string msg = e.what();
    EXPECT_NE(msg.find(path), std::string::npos) << msg;
    EXPECT_NE(msg.find("No such file or directory"), std::string::npos) << msg;
  }
  // A folder where the file should be is reported the same way, not read as empty.
  EXPECT_THROW(TDictionary(dir_.string()), EFOpenError);
}

TEST_F(DictionaryTest, AddWordAppliesTheSameRule) {
  TDictionary d(Write(""));
  EXPECT_FALSE(d.AddWord(""));
  EXPECT_FALSE(d.AddWord("b"));  // "B" is already there
  EXPECT_FALSE(d.AddWord("two words"));
  EXPECT_TRUE(d.AddWord("Zebra"));
  EXPECT_FALSE(d.AddWord("zEBRA"));
  EXPECT_EQ(d.Items(d.LastIndex())->Text, "Zebra");
}

// Absurd lines must not become words that take the whole screen to draw, nor
// pile up in memory while they are read.
TEST_F(DictionaryTest, OverlongLinesAreDroppedAndReadingGoesOn) {
  std::string longest(TDictionary::MaxWordLength, 'x');
  std::string tooLong(TDictionary::MaxWordLength + 1, 'y');
  std::string huge(3 << 20, 'z');
  TDictionary d(Write(longest + "\n" + tooLong + "\n" + huge + "\nafter"));
  EXPECT_EQ(Texts(d), Join({longest, "after"}, Letters()));
}

TEST_F(DictionaryTest, LargeFileLoadsFastWithTheFirstFormsInFileOrder) {
  // 100 000 lines: words with case variants repeated, and junk between.
  RandSeed(7);
  std::string text;
  std::vector<std::string> lines;
  for (int i = 0; i < 100000; ++i) {
    std::string w;
    int len = 1 + Random(7);
    for (int k = 0; k < len; ++k) w.push_back(static_cast<char>((Random(2) ? 'a' : 'A') + Random(6)));
    if (Random(20) == 0) w += "'s";
    lines.push_back(w);
    text += w + (i % 3 == 0 ? "\r\n" : "\n");
  }
  // What a plain scan gives: each valid line unless its lower-case form came before.
  std::vector<std::string> expected;
  std::set<std::string> seen;
  for (const std::string& w : lines) {
    bool letters = w.find('\'') == std::string::npos;
    if (letters && seen.insert(LowerCaseAscii(w)).second) expected.push_back(w);
  }
  for (const std::string& l : Letters())
    if (seen.insert(LowerCaseAscii(l)).second) expected.push_back(l);

  std::string path = Write(text);
  auto t0 = std::chrono::steady_clock::now();
  TDictionary d(path);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_EQ(Texts(d), expected);
  EXPECT_LT(ms, 2000) << ms;  // milliseconds normally; generous for sanitizer builds
  RecordProperty("load_ms", static_cast<int>(ms));
}

TEST_F(DictionaryTest, RandomWordReachesEveryEntryEvenly) {
  TDictionary d(Write("alpha\nbeta\nc\n"));
  ASSERT_EQ(d.Count(), 28);
  RandSeed(12345);
  std::vector<int> hits(static_cast<size_t>(d.Count()));
  const int draws = 28000;
  for (int i = 0; i < draws; ++i) {
    const TWord& w = *d.RandomWord();
    int idx = -1;
    for (int k = 0; k < d.Count(); ++k)
      if (d.Items(k) == &w) idx = k;
    ASSERT_GE(idx, 0);
    hits[static_cast<size_t>(idx)]++;
  }
  for (int h : hits) {
    EXPECT_GT(h, 800);
    EXPECT_LT(h, 1200);
  }
}

}  // namespace

#include "platform/headless/HeadlessPlatform.h"
#include "shell/GlyphfallUnit.h"

namespace {

// Without its word list the game cannot start: the form's creation stops with
// the error and leaves nothing half-made behind.
TEST_F(DictionaryTest, TheFormWillNotStartWithoutTheWordList) {
  fs::path home = fs::current_path();
  fs::current_path(dir_);
  THeadlessPlatform platform;
  try {
    TGlyphfallForm form(platform);
    ADD_FAILURE() << "the form started";
  } catch (const EFOpenError& e) {
    EXPECT_NE(std::string(e.what()).find("wordsenglish.txt"), std::string::npos) << e.what();
  }
  EXPECT_EQ(GlyphfallForm, nullptr);
  EXPECT_EQ(platform.InputSink(), nullptr);
  EXPECT_FALSE(platform.IsWindowVisible());
  fs::current_path(home);
}

}  // namespace
