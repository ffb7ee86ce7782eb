#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "dictionary/DictionaryUnit.h"
#include "framework/Utils.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/GlyphfallUnit.h"
#include "support/FifoWatchdog.h"
#include "support/InFolder.h"

namespace fs = std::filesystem;

namespace {

class DictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("glyphfall-dict-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // The entries of a dictionary loaded from bytes, the 26 letters left out
  // when all of them were appended.
  std::vector<std::string> Load(const std::string& bytes) {
    std::string path = (dir_ / "wordsenglish.txt").string();
    std::ofstream(path, std::ios::binary) << bytes;
    TDictionary d(path);
    std::vector<std::string> r;
    for (int i = 0; i < d.Count(); ++i) r.push_back(d.Items(i)->Text);
    if (r.size() >= 26 && r[r.size() - 26] == "A" && r.back() == "Z") r.resize(r.size() - 26);
    return r;
  }
  // What opening path throws, or nothing.
  static std::string OpenError(const std::string& path) {
    try {
      TDictionary d(path);
    } catch (const EFOpenError& e) {
      return e.what();
    }
    return "";
  }
  using Words = std::vector<std::string>;
  fs::path dir_;
};

// Lines end at CR, LF or both; a NUL ends the text; an absurd line must not
// become a word that takes the screen to draw, nor pile up while it is read.
TEST_F(DictionaryTest, AcceptsLettersOnlyAndKeepsTheFirstWrittenForm) {
  EXPECT_EQ(Load(" dog\ndog's\ndog \nd-og\ndo9\nd\xC3\xB6g\ndog\n"), (Words{"dog"}));
  EXPECT_EQ(Load(""), Words{});
  // A one-letter line stands for its letter: 25 letters follow, not 26.
  EXPECT_EQ(Load("a\n"), (Words{"a", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"}));
  EXPECT_EQ(Load("cat\nCat\nCAT\n"), (Words{"cat"}));
  TDictionary d((dir_ / "wordsenglish.txt").string());
  EXPECT_TRUE(d.Contains(" \tcAt\r "));  // trimmed and case-folded on both sides
  EXPECT_FALSE(d.AddWord("CAT"));

  EXPECT_EQ(Load("one\rtwo\nthree\r\nfour\n\n\r\rfive"), (Words{"one", "two", "three", "four", "five"}));
  EXPECT_EQ(Load(std::string("cat\nfi\0sh\nbird\n", 15)), (Words{"cat", "fi"}));
  const std::string longest(TDictionary::MaxWordLength, 'x'), tooLong(TDictionary::MaxWordLength + 1, 'y');
  EXPECT_EQ(Load(longest + "\n" + tooLong + "\n" + std::string(3 << 20, 'z') + "\nafter"), (Words{longest, "after"}));
}

TEST_F(DictionaryTest, AnUnreadableFileIsAnErrorNamingTheFileAndTheReason) {
  const std::string missing = (dir_ / "nowhere" / "wordsenglish.txt").string();
  EXPECT_NE(OpenError(missing).find(missing + ": No such file or directory"), std::string::npos) << OpenError(missing);
  EXPECT_NE(OpenError(dir_.string()), "");  // a folder is not an empty list

  // A FIFO once hung the program before its window opened.
  const std::string fifo = (dir_ / "fifo.txt").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  TFifoWatchdog watchdog(fifo);
  EXPECT_NE(OpenError(fifo).find("not a regular file"), std::string::npos) << OpenError(fifo);
  EXPECT_FALSE(watchdog.Fired());
}

// The game cannot start without its words: the form's creation stops with the
// error and leaves nothing half-made behind.
TEST_F(DictionaryTest, TheFormWillNotStartWithoutTheWordList) {
  InFolder(dir_, [] {
    THeadlessPlatform platform;
    EXPECT_THROW(TGlyphfallForm form(platform), EFOpenError);
    EXPECT_EQ(GlyphfallForm, nullptr);
    EXPECT_EQ(platform.InputSink(), nullptr);
    EXPECT_FALSE(platform.IsWindowVisible());
  });
}

// Words past the cap are ignored, whichever way their lines were read.
TEST_F(DictionaryTest, NoMoreThanTheCapOfWordsIsKept) {
  auto word = [](int n) {  // distinct, and never a single letter
    std::string w = "q";
    for (++n; n; n /= 26) w += static_cast<char>('a' + n % 26);
    return w;
  };
  std::string text;
  for (int i = 0; i < TDictionary::MaxFileWords + 50; ++i) text += word(i) + "\n";
  const Words w = Load(text);
  ASSERT_EQ(w.size(), size_t(TDictionary::MaxFileWords));
  EXPECT_EQ(w.back(), word(TDictionary::MaxFileWords - 1));
}

// The file is read in blocks of 64 KiB: a line cut by a block's end must
// come out exactly as an uncut one.
TEST_F(DictionaryTest, LinesCutByTheReadBlockAreWhole) {
  constexpr size_t Block = 1 << 16;
  // n bytes of short lines: "ab", then "cc", "ccc" or empty lines to make up
  // the length (never a single letter, which would keep its capital out).
  auto pad = [](size_t n) {
    std::string s;
    while (n - s.size() > 4) s += "ab\n";
    size_t rest = n - s.size();
    return s + (rest == 2 ? std::string("\n\n") : std::string(rest - 1, 'c') + "\n");
  };
  auto has = [](const Words& w, const std::string& x) { return std::find(w.begin(), w.end(), x) != w.end(); };
  const std::string longest(TDictionary::MaxWordLength, 'x');
  const std::string tooLong = std::string(40, 'y') + std::string(TDictionary::MaxWordLength - 39, 'z');

  Words w = Load(pad(Block - 30) + longest + "\nend\n");
  EXPECT_TRUE(has(w, longest));
  EXPECT_TRUE(has(w, "end"));
  w = Load(pad(Block - 40) + tooLong + "\nend\n");  // each piece alone would fit
  EXPECT_EQ(w.back(), "end");
  EXPECT_FALSE(has(w, tooLong));
  EXPECT_FALSE(has(w, tooLong.substr(0, 40)));
  w = Load(pad(Block - 5) + "cat\r\ndog\n");  // CR ends one block, LF starts the next
  ASSERT_GE(w.size(), 2u);
  EXPECT_EQ(w[w.size() - 2], "cat");
  EXPECT_EQ(w.back(), "dog");
}

TEST_F(DictionaryTest, ALargeFileLoadsWithTheSameResultAsAPlainScan) {
  RandSeed(7);
  std::string text;
  Words expected;
  std::set<std::string> seen;
  for (int i = 0; i < 100000; ++i) {
    std::string w;
    for (int k = 1 + Random(7); k > 0; --k) w.push_back(static_cast<char>((Random(2) ? 'a' : 'A') + Random(6)));
    bool junk = Random(20) == 0;
    if (junk) w += "'s";
    text += w + (i % 3 == 0 ? "\r\n" : "\n");
    if (!junk && seen.insert(LowerCaseAscii(w)).second) expected.push_back(w);
  }
  Words got = Load(text);
  // Single letters A..F all occur in the file, so G..Z follow it.
  for (char c = 'G'; c <= 'Z'; ++c) expected.push_back(std::string(1, c));
  EXPECT_EQ(got, expected);
}

}  // namespace
