// HISCORE.XML: what is written, what is accepted, and what a damaged file or a
// failed save does to the table and to the file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

#include "HiScoreTestSupport.h"

namespace {

using hstest::FillDefaults;
using hstest::Names;
using hstest::Scores;

class HiScoreFile : public hstest::ScratchFolder {
 protected:
  // Loads into a fresh table and returns what was reported on stderr.
  std::string Load(THiScoreList& list) {
    testing::internal::CaptureStderr();
    list.LoadHiScores();
    return testing::internal::GetCapturedStderr();
  }
  std::string Save(THiScoreList& list) {
    testing::internal::CaptureStderr();
    list.SaveHiScores();
    return testing::internal::GetCapturedStderr();
  }
  static void FillNamed(THiScoreList& list) {
    FillDefaults(list);
    for (int i = 0; i < list.Count(); ++i) list[i]->Name = std::string(8, static_cast<char>('A' + i));
  }
};

std::string Row(int n, const std::string& name, const std::string& score) {
  std::string tag = "RANK" + std::to_string(n);
  return "<" + tag + "><NAME>" + name + "</NAME><SCORE>" + score + "</SCORE></" + tag + ">";
}

TEST_F(HiScoreFile, SavedTableIsWrittenInOrderAndReadsBack) {
  THiScoreList saved;
  FillDefaults(saved);
  saved[0]->Name = "ZED";
  saved[3]->Name = "Q1";
  EXPECT_EQ(Save(saved), "");
  std::string expected = "<root>";
  for (int i = 0; i < 10; ++i) {
    std::string name = saved[i]->Name;
    std::string rank = "RANK" + std::to_string(i + 1);
    expected += "<" + rank + ">" + (name.empty() ? "<NAME/>" : "<NAME>" + name + "</NAME>") + "<SCORE>" +
                std::to_string(saved[i]->Score) + "</SCORE></" + rank + ">";
  }
  expected += "</root>";
  EXPECT_EQ(Read(), expected);
  EXPECT_FALSE(Exists("HISCORE.XML.tmp"));

  THiScoreList loaded;
  EXPECT_EQ(Load(loaded), "");
  EXPECT_EQ(Scores(loaded), Scores(saved));
  EXPECT_EQ(Names(loaded), Names(saved));
}

TEST_F(HiScoreFile, NoFileOrAnEmptyRootGivesNoRows) {
  THiScoreList list;
  EXPECT_EQ(Load(list), "");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(Exists());  // reading never writes

  Write("<root></root>");
  EXPECT_EQ(Load(list), "");
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(HiScoreFile, HandWrittenFileKeepsItsRowsOrderAndNumber) {
  // Declaration, indentation, any root and row names, SCORE before NAME, a
  // row without a NAME, and rows that are not in descending order.
  Write(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<scores>\n"
      "  <first><NAME>LOW</NAME><SCORE>100</SCORE></first>\n"
      "  <RANK9>\n    <SCORE> 500 </SCORE>\n    <NAME>\n      HIGH\n    </NAME>\n  </RANK9>\n"
      "  <RANK1><SCORE>300</SCORE></RANK1>\n"
      "</scores>\n");
  THiScoreList list;
  EXPECT_EQ(Load(list), "");
  EXPECT_EQ(Scores(list), "100 500 300");
  EXPECT_EQ(Names(list), "LOW|HIGH|");

  // The first row at or below the new score is the first row here.
  EXPECT_EQ(list.InsertScore(50, "NONE"), -1);
  EXPECT_EQ(list.InsertScore(200, "NEW"), 0);
  EXPECT_EQ(Scores(list), "200 100 500");
  Save(list);
  EXPECT_EQ(Read(), "<root>" + Row(1, "NEW", "200") + Row(2, "LOW", "100") + Row(3, "HIGH", "500") + "</root>");
}

TEST_F(HiScoreFile, RowsPastTheTenthAreIgnored) {
  std::string text = "<root>";
  for (int i = 1; i <= 14; ++i) text += Row(i, "R" + std::to_string(i), std::to_string(2000 - i));
  Write(text + "</root>");
  THiScoreList list;
  EXPECT_EQ(Load(list), "");
  EXPECT_EQ(list.Count(), 10);
  EXPECT_EQ(list[9]->Name, "R10");
}

TEST_F(HiScoreFile, NamesAreCutToEightPrintableCharacters) {
  Write("<root>" + Row(1, "AVERYLONGNAME&#1;", "5") + Row(2, "a&lt;b", "4") + "</root>");
  THiScoreList list;
  Load(list);
  EXPECT_EQ(Names(list), "AVERYLON|a<b");
  Save(list);
  THiScoreList again;
  EXPECT_EQ(Load(again), "");
  EXPECT_EQ(Names(again), "AVERYLON|a<b");
}

// Each of these once stopped the form's start-up and left an empty table that
// never took a score. Now the file is kept aside and the defaults come back.
TEST_F(HiScoreFile, DamagedFileIsKeptAsBadAndReportedOnce) {
  const std::string good = Row(1, "OK", "900");
  const std::vector<std::string> damaged = {
      "<root>" + good + "<RANK2><NAME>X</NAME></RANK2></root>",          // no SCORE
      "<root>" + good + "<RANK2><NAME>X</NAME><SCORE/></RANK2></root>",  // empty SCORE
      "<root>" + good + Row(2, "X", "12abc") + "</root>",                // not a number
      "<root>" + good + Row(2, "X", "4294967296") + "</root>",           // beyond 32 bits
      "<root>" + good + "<RANK2><NAME>X</NAME><SCORE>1</SCORE>",         // cut off
      "<root>" + good + "</root><root/>",                                // two roots
      "",                                                                // empty file
      "<root>" + good + std::string(70000, ' ') + "</root>",             // far too big
  };
  Write("older", "HISCORE.XML.bad");
  for (const std::string& text : damaged) {
    Write(text);
    THiScoreList list;
    const std::string report = Load(list);
    EXPECT_EQ(list.Count(), 0) << text.substr(0, 80);
    EXPECT_FALSE(Exists()) << text.substr(0, 80);
    EXPECT_EQ(Read("HISCORE.XML.bad"), text);
    EXPECT_NE(report.find("damaged"), std::string::npos) << report;
    EXPECT_NE(report.find("HISCORE.XML.bad"), std::string::npos) << report;
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
  }
}

TEST_F(HiScoreFile, DamagedTableIsReplacedByTheNextSave) {
  Write("<root>" + Row(1, "A", "x") + "</root>");
  THiScoreList list;
  Load(list);
  FillDefaults(list);  // what the form does with an empty table
  list.EntryRow = 0;
  list.InsertScore(5000, HiScoreEmptyName);
  list.NameEntryKey('W');
  list.NameEntryKey(13);
  THiScoreList again;
  EXPECT_EQ(Load(again), "");
  EXPECT_EQ(again.Count(), 10);
  EXPECT_EQ(again[0]->Name, "W");
  EXPECT_EQ(Read("HISCORE.XML.bad"), "<root>" + Row(1, "A", "x") + "</root>");
}

// The old save deleted the file first, so any failure lost every score.
TEST_F(HiScoreFile, SaveThatCannotCreateItsFileLeavesTheOldOne) {
  const std::string old = "<root>" + Row(1, "KEEP", "777") + "</root>";
  Write(old);
  std::filesystem::create_directory(Path("HISCORE.XML.tmp"));  // blocks the new file
  THiScoreList list;
  FillNamed(list);
  const std::string report = Save(list);
  EXPECT_NE(report.find("Could not save the high scores"), std::string::npos) << report;
  EXPECT_EQ(Read(), old);
  EXPECT_EQ(list.Count(), 10);
}

TEST_F(HiScoreFile, SaveThatCannotReplaceThePathReportsAndLeavesNoLitter) {
  std::filesystem::create_directories(Path("HISCORE.XML/inside"));
  THiScoreList list;
  FillNamed(list);
  const std::string report = Save(list);
  EXPECT_NE(report.find("Could not save the high scores"), std::string::npos) << report;
  EXPECT_TRUE(std::filesystem::is_directory(Path("HISCORE.XML/inside")));
  EXPECT_FALSE(Exists("HISCORE.XML.tmp"));
}

TEST_F(HiScoreFile, SaveIntoReadOnlyFolderLeavesTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const std::string old = "<root>" + Row(1, "KEEP", "777") + "</root>";
  Write(old);
  std::filesystem::permissions(folder_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  THiScoreList list;
  FillNamed(list);
  const std::string report = Save(list);
  EXPECT_NE(report.find("Could not save the high scores"), std::string::npos) << report;
  EXPECT_EQ(Read(), old);
}

// A file-size limit makes the write fail part of the way through, as a full
// disk would. 300 bytes hold the error message but not the table.
struct FileSizeLimit {
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
  rlimit saved{};
};

TEST_F(HiScoreFile, WriteFailingMidwayLeavesTheOldFileByteForByte) {
  const std::string old = "<root>" + Row(1, "KEEP", "777") + "</root>";
  Write(old);
  THiScoreList list;
  FillNamed(list);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  std::string report;
  {
    FileSizeLimit limit(300);
    report = Save(list);
  }
  signal(SIGXFSZ, oldHandler);
  EXPECT_NE(report.find("Could not save the high scores"), std::string::npos) << report;
  EXPECT_EQ(Read(), old);
  EXPECT_FALSE(Exists("HISCORE.XML.tmp"));
  EXPECT_EQ(list[0]->Name, "AAAAAAAA");
}

TEST_F(HiScoreFile, KilledWhileWritingStillLeavesAValidFile) {
  // Forked, not started afresh: the writer must be this test's own table and
  // scratch folder (a fresh start would make a folder of its own, write
  // there, and leave it behind when killed).
  GTEST_FLAG_SET(death_test_style, "fast");
  const std::string old = "<root>" + Row(1, "KEEP", "777") + "</root>";
  Write(old);
  THiScoreList list;
  FillNamed(list);
  auto saveUntilKilled = [&list] {
    rlimit noCore{};
    setrlimit(RLIMIT_CORE, &noCore);
    signal(SIGXFSZ, SIG_DFL);  // the kernel kills the writer mid-file
    FileSizeLimit limit(300);
    list.SaveHiScores();
    _exit(0);
  };
  EXPECT_EXIT(saveUntilKilled(), testing::KilledBySignal(SIGXFSZ), "");
  EXPECT_EQ(Read(), old);
  THiScoreList loaded;
  EXPECT_EQ(Load(loaded), "");
  EXPECT_EQ(Names(loaded), "KEEP");
  // The half-written temporary file does not get in the way of the next save.
  EXPECT_EQ(Save(list), "");
  THiScoreList again;
  Load(again);
  EXPECT_EQ(Names(again), Names(list));
}

}  // namespace
