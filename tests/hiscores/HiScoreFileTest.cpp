// HISCORE.XML: what is written, what is accepted, and what a damaged file or a
// failed save does to the table and to the file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "HiScoreTestSupport.h"
#include "support/FifoWatchdog.h"

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
  void SetUp() override {
    ScratchFolder::SetUp();
    FillDefaults(named);
    for (int i = 0; i < named.Count(); ++i) named[i]->Name = std::string(8, static_cast<char>('A' + i));
  }
  THiScoreList named;  // a full table, its names AAAAAAAA to JJJJJJJJ
  // Whatever a save left in the folder besides the table, its lock and a
  // damaged file kept aside.
  std::string Litter() const {
    std::string found;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      const std::string name = entry.path().filename().string();
      if (name != "HISCORE.XML" && name != "HISCORE.XML.lock" && name != "HISCORE.XML.bad") found += name + " ";
    }
    return found;
  }
};

std::string Row(int n, const std::string& name, const std::string& score) {
  std::string tag = "RANK" + std::to_string(n);
  return "<" + tag + ">" + (name.empty() ? "<NAME/>" : "<NAME>" + name + "</NAME>") + "<SCORE>" + score + "</SCORE></" +
         tag + ">";
}

// A full table another copy of the game might have written.
std::string TenRows(const std::string& name) {
  std::string text = "<root>";
  for (int i = 1; i <= 10; ++i) text += Row(i, name, std::to_string(5000 - 100 * i));
  return text + "</root>";
}

TEST_F(HiScoreFile, SavedTableIsWrittenInOrderAndReadsBack) {
  THiScoreList saved;
  FillDefaults(saved);
  saved[0]->Name = "ZED";
  saved[3]->Name = "Q1";
  EXPECT_EQ(Save(saved), "");
  EXPECT_EQ(saved.HighScore, 1000);
  std::string expected = "<root>";
  for (int i = 0; i < 10; ++i) expected += Row(i + 1, saved[i]->Name, std::to_string(saved[i]->Score));
  expected += "</root>";
  EXPECT_EQ(Read(), expected);
  EXPECT_EQ(Litter(), "");

  THiScoreList loaded;
  EXPECT_EQ(Load(loaded), "");
  EXPECT_EQ(Scores(loaded), Scores(saved));
  EXPECT_EQ(Names(loaded), Names(saved));
}

// A FIFO in place of the file once hung the program before its window opened.
TEST_F(HiScoreFile, SpecialFileIsReportedAtOnceAndNeverReplaced) {
  ASSERT_EQ(mkfifo(Path().c_str(), 0600), 0);
  TFifoWatchdog watchdog(Path());
  THiScoreList list;
  const std::string report = Load(list);
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_NE(report.find("not a regular file"), std::string::npos) << report;
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(Exists("HISCORE.XML.bad"));

  FillDefaults(list);
  list.InsertScore(2000, "ME");
  const std::string saveReport = Save(list);
  EXPECT_NE(saveReport.find("is unchanged"), std::string::npos) << saveReport;
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_EQ(std::filesystem::symlink_status(Path()).type(), std::filesystem::file_type::fifo);
}

TEST_F(HiScoreFile, HandWrittenFileKeepsItsRowsOrderAndNumber) {
  // Declaration, indentation, any root and row names, SCORE before NAME, a
  // row without a NAME, and rows that are not in descending order.
  Write(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<scores>\n"
      "  stray text\n  <first><NAME>LOW</NAME><SCORE>100</SCORE></first>\n"
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

// No file, an empty root, rows past the tenth, names longer than eight or with
// characters a name cannot have: each reads as far as it goes and saves back.
TEST_F(HiScoreFile, AcceptedFilesGiveTheRowsTheyHold) {
  THiScoreList none;
  EXPECT_EQ(Load(none), "");
  EXPECT_EQ(none.Count(), 0);
  EXPECT_FALSE(Exists());  // reading never writes

  std::string fourteen = "<root>", firstTen;
  for (int i = 1; i <= 14; ++i) fourteen += Row(i, "R" + std::to_string(i), std::to_string(20 - i));
  for (int i = 1; i <= 10; ++i) firstTen += (i > 1 ? "|R" : "R") + std::to_string(i);
  const std::pair<std::string, std::string> cases[] = {
      {"<root></root>", ""},
      {fourteen + "</root>", firstTen},
      {"<root>" + Row(1, "AVERYLONGNAME&#1;", "5") + Row(2, "a&lt;b", "4") + "</root>", "AVERYLON|a<b"}};
  for (const auto& [text, names] : cases) {
    Write(text);
    THiScoreList list, again;
    EXPECT_EQ(Load(list), "");
    EXPECT_EQ(Names(list), names) << text;
    Save(list);
    EXPECT_EQ(Load(again), "");
    EXPECT_EQ(Names(again), names) << text;
  }
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

  // Damaged after start (by someone else): kept aside at the save as well.
  Write("<root>");
  list.InsertScore(6000, "V");
  EXPECT_NE(Save(list).find("damaged"), std::string::npos);
  EXPECT_EQ(Read("HISCORE.XML.bad"), "<root>");
  THiScoreList last;
  EXPECT_EQ(Load(last), "");
  EXPECT_EQ(Names(last).substr(0, 4), "V|W|");

  Write("<root>");
  std::filesystem::remove(Path("HISCORE.XML.bad"));
  std::filesystem::create_directories(Path("HISCORE.XML.bad/full"));
  EXPECT_NE(Save(list).find("Could not save the high scores"), std::string::npos);
  EXPECT_EQ(Read(), "<root>");
}

// The save once wrote through a fixed temporary name. In a folder other users
// can write to, a link planted there aimed the save at any file of the
// player's (and became HISCORE.XML itself), and a FIFO froze the game.
TEST_F(HiScoreFile, NothingPlantedAtATemporaryNameIsFollowedOrInTheWay) {
  const std::string privateFile = Path("private");
  Write("mine alone", "private");
  std::filesystem::permissions(privateFile, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  std::filesystem::create_symlink(privateFile, Path("HISCORE.XML.tmp"));
  EXPECT_EQ(Save(named), "");
  EXPECT_EQ(Read("private"), "mine alone");
  EXPECT_FALSE(std::filesystem::is_symlink(Path()));
  EXPECT_NE(Read().find("AAAAAAAA"), std::string::npos);

  std::filesystem::remove(Path("HISCORE.XML.tmp"));
  ASSERT_EQ(mkfifo(Path("HISCORE.XML.tmp").c_str(), 0600), 0);
  TFifoWatchdog watchdog(Path("HISCORE.XML.tmp"));  // an old build would wait here for a reader
  named.InsertScore(4000, "NEW");
  EXPECT_EQ(Save(named), "");
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_NE(Read().find("NEW"), std::string::npos);
}

// A folder in the file's place is left as it was; a first save that fails
// has no previous file to claim; a read-only folder keeps the old file.
TEST_F(HiScoreFile, SaveThatCannotWriteThePathReportsAndLeavesNoLitter) {
  std::filesystem::create_directories(Path("HISCORE.XML/inside"));
  std::string report = Save(named);
  EXPECT_NE(report.find("Could not save the high scores"), std::string::npos) << report;
  EXPECT_NE(report.find("is unchanged"), std::string::npos) << report;
  EXPECT_TRUE(std::filesystem::is_directory(Path("HISCORE.XML/inside")));
  EXPECT_EQ(Litter(), "");

  Write("not a folder", "plain");
  HiScoreFolder = Path("plain");
  report = Save(named);
  EXPECT_NE(report.find("Could not save the high scores"), std::string::npos) << report;
  EXPECT_EQ(report.find("previous"), std::string::npos) << report;

  if (geteuid() == 0) return;  // root writes into read-only folders
  HiScoreFolder = folder_;
  std::filesystem::remove_all(Path("HISCORE.XML"));
  const std::string old = TenRows("KEEP");
  Write(old);
  std::filesystem::permissions(folder_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_NE(Save(named).find("Could not save the high scores"), std::string::npos);
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

// A write that fails part of the way, or a writer killed there, leaves the
// old file byte for byte, and the half-written temporary file does not get in
// the way of the next save.
TEST_F(HiScoreFile, WriteFailingOrKilledMidwayLeavesTheOldFile) {
  const std::string old = TenRows("KEEP");
  Write(old);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  std::string report;
  {
    FileSizeLimit limit(300);
    report = Save(named);
  }
  signal(SIGXFSZ, oldHandler);
  EXPECT_NE(report.find("Could not save the high scores"), std::string::npos) << report;
  EXPECT_EQ(Read(), old);
  EXPECT_EQ(Litter(), "");
  EXPECT_EQ(named[0]->Name, "AAAAAAAA");  // the table in memory is as it was

  // Forked, not started afresh: the writer must be this test's own table and
  // scratch folder (a fresh start would make a folder of its own, write
  // there, and leave it behind when killed).
  GTEST_FLAG_SET(death_test_style, "fast");
  auto saveUntilKilled = [this] {
    rlimit noCore{};
    setrlimit(RLIMIT_CORE, &noCore);
    signal(SIGXFSZ, SIG_DFL);  // the kernel kills the writer mid-file
    FileSizeLimit limit(300);
    named.SaveHiScores();
    _exit(0);
  };
  EXPECT_EXIT(saveUntilKilled(), testing::KilledBySignal(SIGXFSZ), "");
  EXPECT_EQ(Read(), old);
  named.InsertScore(9000, "NEW");
  EXPECT_EQ(Save(named), "");
  THiScoreList again;
  EXPECT_EQ(Load(again), "");
  EXPECT_EQ(again[0]->Name, "NEW");
  EXPECT_EQ(Names(again), Names(named));
}

// Two copies of the game, each saving a new best score again and again while
// the other does the same. Saving whole tables read at start, each copy wiped
// out the other's scores, and the two writers shared one temporary file.
TEST_F(HiScoreFile, TwoCopiesSavingAtOnceLoseNoScoreAndNeverShowAHalfFile) {
  constexpr int Saves = 100;
  constexpr int32_t Base = 10000;
  auto copy = [](int parity) {
    // As the game does: the table is read at start, and saved after each name.
    THiScoreList list;
    list.LoadHiScores();
    if (list.Count() == 0) FillDefaults(list);
    for (int i = 0; i < Saves; ++i) {
      list.InsertScore(Base + 2 * i + parity, parity ? "ODD" : "EVEN");
      list.SaveHiScores();
    }
    _exit(0);
  };
  pid_t copies[2];
  for (int parity = 0; parity < 2; ++parity) {
    copies[parity] = fork();
    ASSERT_GE(copies[parity], 0);
    if (copies[parity] == 0) copy(parity);
  }

  // Meanwhile every read of the file finds a whole table (or no file yet).
  int reads = 0, broken = 0, running = 2;
  while (running > 0) {
    TXmlDocument doc(nullptr);
    try {
      doc.LoadFromFile(Path());
      ++reads;
    } catch (const EXmlParseError& e) {
      ++broken;
      ADD_FAILURE() << e.what();
    } catch (const EXmlError&) {
    }
    for (pid_t& pid : copies) {
      int status = 0;
      if (pid > 0 && waitpid(pid, &status, WNOHANG) == pid) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        pid = 0;
        --running;
      }
    }
  }
  EXPECT_EQ(broken, 0) << "of " << reads + broken << " reads";

  // The best ten of all 200 scores, whichever copy saved them.
  THiScoreList final;
  EXPECT_EQ(Load(final), "");
  std::string best;
  for (int i = 0; i < 10; ++i) best += (i ? " " : "") + std::to_string(Base + 2 * Saves - 1 - i);
  EXPECT_EQ(Scores(final), best);
  EXPECT_EQ(Litter(), "");
}

}  // namespace
