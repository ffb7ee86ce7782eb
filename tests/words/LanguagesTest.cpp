// Word lists in other languages: reading them, capitals, accented letters
// typed as text, and the way back to English when a list cannot be played.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "dictionary/DictionaryUnit.h"
#include "dictionary/WordLists.h"
#include "framework/Letters.h"
#include "platform/Canvas.h"
#include "screens/OptionsScreen.h"
#include "support/FifoWatchdog.h"
#include "words/WordFixture.h"

namespace fs = std::filesystem;

namespace {

// n distinct small-letter words of five letters: aaaaa, aaaab, ...
std::string Filler(int n, int from = 0) {
  std::string text;
  for (int i = from; i < from + n; ++i) {
    std::string w(5, 'a');
    for (int k = 4, v = i; k >= 0; --k, v /= 26) w[static_cast<size_t>(k)] = static_cast<char>('a' + v % 26);
    text += w + "\n";
  }
  return text;
}

// A folder of word lists the test writes.
class TListFolder {
 public:
  TListFolder() : dir_(fs::temp_directory_path() / ("glyphfall-lang-" + std::to_string(::getpid()))) {
    fs::create_directories(dir_);
  }
  ~TListFolder() { fs::remove_all(dir_); }
  std::string Write(const std::string& bytes, const std::string& name = "list.txt") {
    std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  fs::path dir_;
};

// Reading the lists: no game needed.
class ListsTest : public ::testing::Test, public TListFolder {};

// Playing them.
class LanguagesTest : public WordFixture, public TListFolder {
 protected:
  void SetUp() override {
    WordFixture::SetUp();
    platform->QuietErrors = true;
  }
};

TEST_F(ListsTest, CapitalsFollowEachAlphabetAndSharpSStaysAsItIs) {
  EXPECT_EQ(UpperCaseText("straße"), "STRAßE");
  EXPECT_EQ(UpperCaseText("élève ÿ łódź ţară ıi"), "ÉLÈVE Ÿ ŁÓDŹ ŢARĂ II");
  EXPECT_EQ(BaseLetter(U'É'), U'E');
  EXPECT_EQ(BaseLetter(U'Ł'), U'L');
  EXPECT_EQ(BaseLetter(U'Æ'), U'Æ');
  // A two-byte letter is measured as one glyph, not as two 8-bit ones.
  TBitmap b(10, 10);
  TCanvas& c = b.Canvas();
  EXPECT_EQ(c.TextWidth("É"), c.TextWidth("\xC9"));
  EXPECT_NE(c.TextWidth("É"), c.TextWidth("\xC3") + c.TextWidth("\x89"));
}

// Letters are counted, not bytes: ÜBERRASCHUNG is twelve letters in thirteen bytes, ÖL two in three.
TEST_F(ListsTest, OtherListsKeepDrawableLowerCaseWordsOfThreeToTwelveLettersInCapitals) {
  const std::string lines = "abc\nöde\nconstruction\nüberraschung\nab\nöl\nconstructions\nübersichtlich\n";
  for (TListKind kind : {TListKind::Other, TListKind::OtherWithNouns}) {
    TDictionary d(Write(lines + Filler(100)), kind);
    for (const char* kept : {"ABC", "ÖDE", "CONSTRUCTION", "ÜBERRASCHUNG"}) EXPECT_TRUE(d.Contains(kept)) << kept;
    for (const char* gone : {"AB", "ÖL", "CONSTRUCTIONS", "ÜBERSICHTLICH"}) EXPECT_FALSE(d.Contains(gone)) << gone;
  }
  TDictionary d(Write("straße\nBerlin\nab\nüberraschungen\nx-ray\ncafé\ncafÉ\nnaïve\n中文字\n\n" + Filler(100)),
                TListKind::Other);
  for (const char* kept : {"STRAßE", "NAÏVE", "CAFÉ"}) EXPECT_TRUE(d.Contains(kept)) << kept;
  for (const char* gone : {"BERLIN", "AB", "ÜBERRASCHUNGEN", "X-RAY", "中文字"}) EXPECT_FALSE(d.Contains(gone)) << gone;
  EXPECT_EQ(d.Count(), 3 + 100);  // cafÉ capitalises to CAFÉ and goes
  EXPECT_EQ(d.SkippedLines, 5);
  EXPECT_TRUE(d.Note.empty());
  // A list that is not UTF-8 is read as Latin-1, with one note.
  TDictionary latin1(Write("caf\xE9\nna\xEFve\n" + Filler(100)), TListKind::Other);
  EXPECT_TRUE(latin1.Contains("CAFÉ") && latin1.Contains("NAÏVE"));
  EXPECT_NE(latin1.Note.find("Latin-1"), std::string::npos);
}

// German lists once lost every noun; abbreviations still go, and elsewhere a capital marks a name.
TEST_F(ListsTest, AListInALanguageThatCapitalisesNounsKeepsThemButNotAbbreviations) {
  const std::string lines = "Haus\nÄrger\nStraße\nzweibändigem\nABC\nGmbH\nPKWs\nX\n" + Filler(100);
  TDictionary nouns(Write(lines, "ngerman"), CapitalisesNouns((dir_ / "ngerman").string()) ? TListKind::OtherWithNouns
                                                                                : TListKind::Other);
  for (const char* kept : {"HAUS", "ÄRGER", "STRAßE", "ZWEIBÄNDIGEM"}) EXPECT_TRUE(nouns.Contains(kept)) << kept;
  for (const char* gone : {"ABC", "GMBH", "PKWS"}) EXPECT_FALSE(nouns.Contains(gone)) << gone;
  EXPECT_FALSE(CapitalisesNouns((dir_ / "french").string()));
}

TEST_F(ListsTest, ALongListIsSampledOverTheWholeFile) {
  const int lines = TDictionary::MaxFileWords + TDictionary::MaxFileWords / 5;
  TDictionary d(Write(Filler(lines)), TListKind::Other);
  EXPECT_EQ(d.Count(), TDictionary::MaxFileWords);
  // Words come from the end of the file as well as from its start.
  std::string last = d.Items(d.Count() - 1)->Text;
  EXPECT_TRUE(last == UpperCaseText(Filler(1, lines - 1).substr(0, 5)) ||
              last == UpperCaseText(Filler(1, lines - 2).substr(0, 5)))
      << last;
  EXPECT_EQ("AAAAA", d.Items(0)->Text);
}

TEST_F(LanguagesTest, ListsThatCannotBePlayedFallBackToEnglishAndOnlyEnglishRanks) {
  std::string fifo = (dir_ / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  TFifoWatchdog watchdog(fifo);
  for (const std::string& path :
       {(dir_ / "missing.txt").string(), dir_.string(), fifo, Write(Filler(99), "short.txt")}) {
    size_t errors = platform->Errors().size();
    session->UseWordList(path);
    EXPECT_EQ(form->Dictionary->Kind(), TListKind::Bundled) << path;
    EXPECT_TRUE(session->WordListPath().empty());
    EXPECT_EQ(platform->Errors().size(), errors + 1) << path;
  }
  EXPECT_FALSE(watchdog.Fired());
  // A list the settings name that is no longer installed.
  size_t errors = platform->Errors().size();
  session->Settings().Words = "Klingon";
  session->ApplyWordList();
  EXPECT_EQ(session->Settings().Words, "English");
  EXPECT_EQ(platform->Errors().size(), errors + 1);

  // Any list of the player's (words typed with one key, say) once ranked in the table.
  const int32_t before = form->HiScores->HighScore;
  for (const std::string& list : {Write(Filler(100)), std::string()}) {
    session->UseWordList(list);
    StartGame();
    EXPECT_EQ(session->Practice(), !list.empty());
    form->AwardScore({100, 100}, before + (list.empty() ? 1000 : 2000), "", nullptr);
  }
  EXPECT_EQ(form->HiScores->HighScore, before + 1000);  // the bundled list's game alone
}

TEST_F(LanguagesTest, ThePlayersOwnListAndAccentsFromOptionsAreTypedAndDrawn) {
  fs::create_directories(dir_ / "glyphfall" / "words");
  Write(Filler(100), "glyphfall/words/mine.txt");
  const char* saved = std::getenv("XDG_DATA_HOME");
  std::string savedValue = saved ? saved : "";
  ::setenv("XDG_DATA_HOME", dir_.c_str(), 1);
  TOptionsScreen options(*session);
  for (TOptionRow& row : options.Rows) {
    if (row.Label == std::string("Words")) row.Change(session->Settings(), -1);  // wraps to the last list: the player's
    if (row.Label == std::string("Accents")) row.Change(session->Settings(), 1);
  }
  session->ApplySettings();
  EXPECT_EQ(session->WordListName(), "mine");
  EXPECT_TRUE(session->LettersAsText());
  EXPECT_TRUE(session->AccentsExact());
  EXPECT_EQ(SettingsFromXml(SettingsToXml(session->Settings())), session->Settings());

  // Typed text hits accented letters exactly, or through their plain letter.
  TSpriteWord* ete = AddWord("ÉTÉ", TPoint{300, CastleTop()});
  TSpriteWord* eel = AddWord("EEL", TPoint{400, CastleTop()});
  static_cast<TInputSink*>(form)->TextInput(U'e');  // hits EEL only
  EXPECT_EQ(ete->Text, "ÉTÉ");
  EXPECT_EQ(eel->Text, "EL");
  static_cast<TInputSink*>(form)->TextInput(U'é');  // as text; the A-Z key path plays no part
  EXPECT_EQ(ete->Text, "TÉ");
  form->KeyDown('T', {});
  EXPECT_EQ(ete->Text, "TÉ");
  session->Settings().AccentsExact = false;
  session->ApplyWordList();
  static_cast<TInputSink*>(form)->TextInput(U't');
  static_cast<TInputSink*>(form)->TextInput(U'E');  // either: the plain letter hits É, and EL's E
  EXPECT_TRUE(ete->Text.empty());
  EXPECT_EQ(eel->Text, "L");
  EXPECT_EQ(form->Score, 30);  // three letters, not five bytes
  saved ? ::setenv("XDG_DATA_HOME", savedValue.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");

  // Accents over capitals are drawn above the word's row.
  TCanvas& c = form->Canvas();
  auto inkAbove = [&](const std::string& text) {
    c.Brush.Style = TBrushStyle::Solid;
    c.Brush.Color = clBlack;
    c.FillRect(TRect{0, 0, PlayfieldWidth, PlayfieldHeight});
    TSpriteWord* w = AddWord(text, TPoint{300, 200});
    w->DrawLetters(c);
    int ink = 0;
    for (int y = 190; y < 200; ++y)
      for (int x = 300; x < 360; ++x) ink += c.GetPixel(x, y) != clBlack;
    return ink;
  };
  EXPECT_EQ(inkAbove("UBER"), 0);
  EXPECT_GT(inkAbove("ÜBER"), 0);
}

TEST_F(ListsTest, InstalledListsAreOfferedInTheirOwnLanguage) {
  fs::create_directories(dir_ / "dict");
  fs::create_directories(dir_ / "mine");
  for (const char* f : {"ngerman", "french", "words.pre-dictionaries-common", "american-english-large"})
    Write("x\n", std::string("dict/") + f);
  Write("x\n", "mine/keywords.txt");
  Write("x\n", "mine/notes.md");
  std::vector<std::string> names;
  for (const TWordListChoice& c : FindWordLists((dir_ / "dict").string(), (dir_ / "mine").string()))
    names.push_back(c.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"English", "Deutsch", "English (US), large", "Français", "keywords"}));
  EXPECT_EQ(InstalledWordLists().size(), 1u);  // the tests' own empty system folder: English alone
}

}  // namespace
