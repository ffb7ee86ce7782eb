// The high-score screens in the running game: from the menu, after a game,
// name entry ended every way it can end, and what the screen draws.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "HiScoreTestSupport.h"
#include "support/GameFixture.h"

namespace {

// GameFixture keeps the high-score file in a scratch folder of its own.
class HiScoreScreen : public GameFixture {
 protected:
  static std::string File() {
    std::ifstream in(HiScoreFilePath());
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Runs the program; step is called once per frame and returns false when
  // the script is done, after which a key leaves the table and Escape the
  // menu and the program.
  void RunScript(std::function<bool()> step) {
    bool done = false;
    platform->StopAt = Now() + 120000;  // a script that goes wrong still ends
    platform->OnFrame = [&] {
      if (!done && !step()) done = true;
      if (done && ShowingScreen(*form) == "hiscores") platform->PressKey(vk::Space);
      if (done && ShowingScreen(*form) == "menu") platform->PressKey(vk::Escape);
    };
    form->Run();
    platform->OnFrame = nullptr;
    EXPECT_TRUE(done) << "the script did not finish";
  }

  // A game started from the menu that ends (by Escape) with the given score.
  // Returns true until the name entry has opened.
  bool PlayToScore(int32_t score) {
    if (ShowingScreen(*form) == "menu" && !startPressed_) {
      platform->PressKey(vk::Return);  // START is selected
      startPressed_ = true;
    } else if (ShowingScreen(*form) == "play" && form->Playing && !gameEnded_) {
      form->Score = score;
      platform->PressKey(vk::Escape);
      gameEnded_ = true;
    }
    if (Entering()) entryOpened_ = true;
    return !entryOpened_;
  }
  bool Entering() const { return ShowingScreen(*form) == "hiscores" && form->HiScores->EntryRow >= 0; }
  void Type(const std::string& keys) {
    for (char c : keys) platform->PressKey(static_cast<uint16_t>(c));
  }

  bool startPressed_ = false, gameEnded_ = false, entryOpened_ = false;
};

// A damaged file once stopped the start-up; showing the table never writes.
TEST_F(HiScoreScreen, DamagedFileGivesTheDefaultsThatTheMenuShowsUntilAnyKey) {
  std::ofstream(HiScoreFilePath()) << "<root><RANK1><NAME>A</NAME><SCORE>lots</SCORE></RANK1></root>";
  MakeForm({});
  ASSERT_EQ(form->HiScores->Count(), 10);
  EXPECT_EQ(form->HiScores->HighScore, 1000);
  EXPECT_EQ(form->HiScores->Items(9)->Score, 100);
  EXPECT_EQ(platform->Errors().size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(HiScoreFilePath() + ".bad"));

  int stage = 0;
  bool sawTable = false;
  RunScript([&] {
    const auto screen = ShowingScreen(*form);
    if (stage == 0 && screen == "menu" && !platform->Notices().Empty()) {
      platform->PressKey(vk::Space);  // the report waits on the menu for a key
    } else if (stage == 0 && screen == "menu") {
      platform->PressKey(vk::Down);
      platform->PressKey(vk::Return);
      stage = 1;
    } else if (stage == 1 && screen == "hiscores") {
      sawTable = form->HiScores->EntryRow == -1 && !form->MenuActive;
      platform->PressKey('A');
      stage = 2;
    } else if (stage == 2 && screen == "menu") {
      EXPECT_EQ(form->Menu->Selected, MenuHighScores);
      return false;
    }
    return true;
  });
  EXPECT_TRUE(sawTable);
  EXPECT_FALSE(std::filesystem::exists(HiScoreFilePath()));
}

// The arrows can select HIGH SCORES during play; a click then sets MenuActive,
// which used to end the next name entry before the player could type.
TEST_F(HiScoreScreen, QualifyingGameAsksForANameThatSurvivesAStrayClickAndARestart) {
  int stage = 0;
  bool strayDone = false;
  RunScript([&] {
    if (ShowingScreen(*form) == "play" && form->Playing && !strayDone) {
      platform->PressKey(vk::Down);
      platform->ClickAt(Now(), 400, 300);
      strayDone = true;
      return true;
    }
    if (stage == 0) {
      if (PlayToScore(4500)) return true;
      EXPECT_EQ(form->HiScores->EntryRow, 0);
      EXPECT_EQ(form->HiScores->Items(0)->Name, "--------");
      Type("AB1");
      platform->PressKey(vk::Back);
      Type("Z");
      platform->PressKey(vk::Return);
      stage = 1;
      return true;
    }
    if (stage == 1) {
      if (Entering()) return true;
      // Named and saved; the table stays up until the next key.
      EXPECT_EQ(ShowingScreen(*form), "hiscores");
      platform->PressKey(vk::Space);
      stage = 2;
      return true;
    }
    return ShowingScreen(*form) != "menu";
  });
  EXPECT_EQ(form->HiScores->Items(0)->Name, "ABZ");
  EXPECT_NE(File().find("<RANK1><NAME>ABZ</NAME><SCORE>4500</SCORE></RANK1>"), std::string::npos) << File();

  MakeForm({});
  EXPECT_EQ(form->HiScores->Items(0)->Name, "ABZ");
  EXPECT_EQ(form->HiScores->HighScore, 4500);
  EXPECT_EQ(form->HiScores->Count(), 10);
}

// A click or the window closing used to end the entry unsaved, with the
// dashes in the name and the row still open to later keys.
TEST_F(HiScoreScreen, ClickOrClosingTheWindowDuringNameEntrySavesTheNameSoFar) {
  for (const bool close : {false, true}) {
    SCOPED_TRACE(close ? "close" : "click");
    MakeForm({});
    startPressed_ = gameEnded_ = entryOpened_ = false;
    const std::string name = close ? "EF" : "CD";
    bool ended = false;
    RunScript([&] {
      if (PlayToScore(650)) return true;
      if (ended) return ShowingScreen(*form) != "menu";
      Type(name);
      close ? platform->Schedule({Now(), THeadlessPlatform::TEventKind::Close}) : platform->ClickAt(Now(), 400, 300);
      ended = true;
      return !close;  // the program ends with the window
    });
    EXPECT_EQ(form->HiScores->EntryRow, -1);
    EXPECT_EQ(form->HiScores->Items(4)->Name, name);
    EXPECT_NE(File().find("<RANK5><NAME>" + name + "</NAME><SCORE>650</SCORE></RANK5>"), std::string::npos) << File();
  }
}

// ---- Drawing ----

class HiScoreDrawing : public GameFixture {
 protected:
  // Pixels of exactly this colour in the band of rows [top, top + height).
  int Count(TColor colour, int top, int height = 30, int left = 0, int right = PlayfieldWidth) {
    int n = 0;
    for (int y = top; y < top + height; ++y)
      for (int x = left; x < right; ++x) n += form->Canvas().GetPixel(x, y) == colour;
    return n;
  }
  void Draw() {
    form->Canvas().Brush.Color = clBlack;
    form->Canvas().FillRect(Rect(0, 0, PlayfieldWidth, PlayfieldHeight));
    form->HiScores->DrawHiScores();
  }
};

TEST_F(HiScoreDrawing, EntryRowIsWhiteAndTheRestKeepTheirColours) {
  THiScoreList& table = *form->HiScores;
  table.InsertScore(450, HiScoreEmptyName);
  table.EntryRow = 6;
  Draw();
  EXPECT_GT(Count(0x0047FF, 60), 0);  // title
  EXPECT_GT(Count(clWhite, 360), 0);  // row 6, being named
  EXPECT_EQ(Count(0xF70097, 360), 0);
  EXPECT_GT(Count(0xF70097, 400), 0);                               // row 7
  EXPECT_GT(Count(0x00FFFF, 120), 0);                               // row 0
  EXPECT_GT(Count(0xF7DE00, 240), 0);                               // row 3
  EXPECT_GT(Count(0xF7DE00, 560), 0);                               // credit line
  EXPECT_EQ(Count(clWhite, 0, 360) + Count(clWhite, 400, 200), 0);  // no other row is white
  // Labels end at x 240 and scores start at 310: nothing lies between.
  for (int row = 0; row < 10; ++row) EXPECT_EQ(Count(0, 120 + 40 * row, 30, 242, 308), 66 * 30) << row;
  EXPECT_EQ(table.Items(0)->Name, HiScoreEmptyName);  // empty names are shown, and kept, as dashes

  table.EntryRow = -1;
  Draw();
  EXPECT_EQ(Count(clWhite, 0, PlayfieldHeight), 0);
  EXPECT_GT(Count(0xF70097, 360), 0);
}

}  // namespace
