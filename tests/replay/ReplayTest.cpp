// Replays: the file reads back what was written and refuses damage; the
// folder keeps what it should; a recorded game plays again the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dictionary/DictionaryUnit.h"
#include "dictionary/WordLists.h"
#include "hiscores/HiScoreTestSupport.h"
#include "replay/ReplayUnit.h"
#include "screens/StatsPanel.h"
#include "screens/WatchScreen.h"
#include "sprites/StarUnit.h"
#include "support/GameFixture.h"
#include "words/WordUnit.h"

namespace {

using hstest::FillDefaults;

// What reading bytes says is wrong with them; empty when they read.
std::string Refusal(const std::string& bytes) {
  try {
    DecodeReplay(bytes);
    return std::string();
  } catch (const EReplayError& e) {
    return e.what();
  }
}

TReplay Sample() {
  TReplay r;
  r.Header = {"1.01", "Classic", 3, 100, "English", 0x0123456789ABCDEFull, 0xFFFFFFFFu, 1000000, 999990,
              {{0, 601, 0, -7, 0xFFFFFF, 1}, {5, 5, 1000040, 3, 0, 0}}};
  r.Events = {{TReplayInput::KeyDown, 65, 1, 0, 0, 0},       {TReplayInput::KeyUp, 65535, 7, 0, 0, 0},
              {TReplayInput::MouseDown, 0, 0, 2, -5, 700},   {TReplayInput::MouseMove, 0, 2, 0, 65536, -1},
              {TReplayInput::Pause, 0, 0, 0, 0, 0},          {TReplayInput::Resume, 0, 0, 0, 0, 0},
              {TReplayInput::FocusLost, 0, 0, 0, 0, 0},      {TReplayInput::FocusGained, 0, 0, 0, 0, 0},
              {TReplayInput::Close, 0, 0, 0, 0, 0}};
  r.Frames = {{16, 2}, {0, 0}, {100000, 6}, {17, 0}, {1, 1}};
  r.Trailer = {-42, 14, 7, TGameEnd::Closed};
  r.Header.Revision = 300;
  r.Header.AccentsExact = true;
  return r;
}

// An empty game's file whose frames are the given bytes.
std::string WithFrames(const std::string& frames) {
  const std::string bytes = EncodeReplay(TReplay{});
  return bytes.substr(0, bytes.size() - 5) + frames + std::string(4, '\0');
}

TEST(ReplayFile, ReadsBackWhatWasWrittenAndRefusesEveryDamagedFile) {
  const TReplay r = Sample();
  const std::string bytes = EncodeReplay(r);
  EXPECT_EQ(DecodeReplay(bytes), r);
  // A file cut anywhere, or with more after its end, is refused cleanly.
  for (size_t n = 0; n < bytes.size(); ++n)
    EXPECT_THROW(DecodeReplay(bytes.substr(0, n)), EReplayError) << "cut at " << n;
  EXPECT_THROW(DecodeReplay(bytes + '\0'), EReplayError);

  // Counts far beyond the bytes left are refused before room is made.
  const std::string huge = WithFrames("\xFF\xFF\xFF\xFF\x0F");  // four thousand million frames
  EXPECT_NE(Refusal(huge).find("more frames than it holds"), std::string::npos) << Refusal(huge);
  std::string later = bytes;
  later[ReplayMagicSize] = 3;
  EXPECT_EQ(Refusal(later), "it was made in replay format 3, and this game reads formats 1 to 2 only");
  EXPECT_NE(Refusal("<root></root>"), "");
}

// Every value is checked against what a game can produce as it is read: a
// crafted file (these once made the star field overflow) never gets to play.
TEST(ReplayFile, RefusesEveryValueNoGameProduces) {
  using F = void (*)(TReplay&);
  const std::pair<F, const char*> crafted[] = {
      {[](TReplay& r) { r.Header.Stars[0].X = INT32_MAX; }, "a star's position"},
      {[](TReplay& r) { r.Header.Stars[0].FadeSpeed = INT32_MIN; }, "a star's fade pace"},
      {[](TReplay& r) { r.Header.Stars[1].TargetColour = 0x1000000; }, "a star's colour"},
      {[](TReplay& r) { r.Events[2].Y = INT32_MIN; }, "a pointer position"},
      {[](TReplay& r) { r.Events[0] = {TReplayInput::Text, 0xDC00}; }, "no character"},
      {[](TReplay& r) { r.Header.StartWave = 15; }, "starting wave"},
      {[](TReplay& r) { r.Header.SpeedPercent = INT32_MIN; }, "speed"},
      {[](TReplay& r) { r.Header.Rules = "Mara\nthon"; }, "rules"},
      {[](TReplay& r) { r.Header.Revision = 0; }, "rules revision"},
  };
  for (const auto& [craft, why] : crafted) {
    TReplay r = Sample();
    craft(r);
    EXPECT_NE(Refusal(EncodeReplay(r)).find(why), std::string::npos) << why;
  }
  // Frames longer than a day are kept as a day; longer ones read are damage.
  TReplay r = Sample();
  r.Frames[0].Step = UINT32_MAX;
  EXPECT_EQ(DecodeReplay(EncodeReplay(r)).Frames[0].Step, MaxReplayStep);
  const std::string bytes = WithFrames("\x01\x82\xF0\xB2\x52");  // one frame of a day and a millisecond
  EXPECT_NE(Refusal(bytes).find("longer than a day"), std::string::npos) << Refusal(bytes);
}

// Files of format 1, made before the rules revision and Accents were kept,
// still read: they were all revision 1, Accents "either". An Accents byte
// other than 0 or 1 is damage.
TEST(ReplayFile, AFormatOneFileReadsAsRevisionOneWithAccentsEither) {
  const TReplay r = Sample();
  std::string bytes = EncodeReplay(r);
  const size_t at = ReplayMagicSize + 2 + r.Header.GameVersion.size();  // past version and game version
  ASSERT_EQ(bytes.substr(at, 3), "\xAC\x02\x01");  // revision 300, "exact"
  std::string damaged = bytes;
  damaged[at + 2] = 2;
  EXPECT_NE(Refusal(damaged).find("Accents"), std::string::npos) << Refusal(damaged);
  bytes.erase(at, 3);
  bytes[ReplayMagicSize] = 1;
  TReplay old = r;
  old.Header.Revision = 1;
  old.Header.AccentsExact = false;
  EXPECT_EQ(DecodeReplay(bytes), old);
}

class ReplayFolder : public hstest::ScratchFolder {};

TEST_F(ReplayFolder, KeepsTheNewestGamesAndThoseOfTheTableOnly) {
  const std::string folder = folder_ + "/replays";
  std::vector<std::string> names;
  for (int i = 0; i < 23; ++i) names.push_back(SaveReplay(folder, Sample(), 1700000000));
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
  // Named from the clock, not the newest name: a file dated far ahead once
  // made every later game "too many games in one second".
  std::ofstream(folder + "/99991231-235959-99.gfr") << "planted";
  const std::string later = SaveReplay(folder, Sample(), 1700000000);
  EXPECT_EQ(later, names[0].substr(0, 16) + "23.gfr");
  EXPECT_EQ(LoadReplay(folder + "/" + later), Sample());
  std::ofstream(folder + "/notes.txt") << "mine";

  PruneReplays(folder, 20, {names[0]});
  std::vector<std::string> kept = ListReplays(folder);
  ASSERT_EQ(kept.size(), 21u);
  EXPECT_EQ(kept[1], later);
  EXPECT_EQ(kept.back(), names[0]);
  EXPECT_TRUE(std::filesystem::exists(folder + "/notes.txt"));

  // Games in which no letter was typed crowded out the real ones; an older
  // version's may still be kept, but are not listed.
  TReplay idle = Sample(), typed = Sample();
  idle.Events = {{TReplayInput::KeyDown, vk::Space}, {TReplayInput::Text, ' '}};
  typed.Events = {{TReplayInput::Text, 0x00E9}};  // a letter of another alphabet
  const std::string other = folder_ + "/other", typedName = SaveReplay(other, typed, 1700000000);
  SaveReplay(other, idle, 1700000001);
  std::vector<TKeptGame> listed = ListKeptGames(other, 10);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].Name, typedName);
}

TEST_F(ReplayFolder, TableRowsKeepTheirReplayButNeverAPathElsewhere) {
  Write("<root><RANK1><NAME>A</NAME><SCORE>900</SCORE><REPLAY>20261209-101010-00.gfr</REPLAY></RANK1>"
        "<RANK2><NAME>B</NAME><SCORE>800</SCORE><REPLAY>../../x.gfr</REPLAY></RANK2></root>");
  THiScoreList list;
  list.LoadHiScores();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list[1]->Replay, "");
  // A new row carries its game into the file, beside the rows read there.
  list.InsertScore(1000, "C");
  list[0]->Unsaved = true;
  list[0]->Replay = "20261209-111111-00.gfr";
  list.SaveHiScores();
  THiScoreList again;
  again.LoadHiScores();
  ASSERT_GE(again.Count(), 2);
  EXPECT_EQ(again[0]->Replay, "20261209-111111-00.gfr");
  EXPECT_EQ(again[1]->Replay, "20261209-101010-00.gfr");
}

// Pruning once decided from this copy's tables in memory: a row another copy
// had saved since lost its game.
TEST_F(ReplayFolder, PruningSparesTheGamesOfRowsAnotherCopySavedMeanwhile) {
  const std::string folder = folder_ + "/replays";
  THiScoreList classic, typist;
  typist.FileName = HiScoreTypistFileName;
  classic.LoadHiScores();
  typist.LoadHiScores();
  FillDefaults(classic);
  classic[0]->Replay = SaveReplay(folder, Sample(), 1600000000);  // this copy's own row, not saved yet
  std::vector<std::string> names;
  for (int i = 0; i < 24; ++i) names.push_back(SaveReplay(folder, Sample(), 1700000000 + i));
  auto table = [](const std::string& replay) {
    return "<root><RANK1><NAME>OTHER</NAME><SCORE>9000</SCORE><REPLAY>" + replay + "</REPLAY></RANK1></root>";
  };
  Write(table(names[1]));
  Write(table(names[2]), HiScoreTypistFileName);
  EXPECT_TRUE(THiScoreList::PruneKeptReplays(folder, 20, {&classic, &typist}));
  std::vector<std::string> kept = ListReplays(folder);
  ASSERT_EQ(kept.size(), 23u);
  EXPECT_EQ(std::vector<std::string>(kept.begin() + 20, kept.end()),
            (std::vector<std::string>{names[2], names[1], classic[0]->Replay}));

  // A table that cannot be read might name any of them: none goes.
  Write("<root><RANK1>");
  SaveReplay(folder, Sample(), 1700000100);
  EXPECT_FALSE(THiScoreList::PruneKeptReplays(folder, 20, {&classic, &typist}));
  EXPECT_EQ(ListReplays(folder).size(), 24u);
}

class ReplayGame : public GameFixture {
 protected:
  // Watches the replay as the game does, each frame as fast as it comes.
  void WatchReplay(const TReplay& replay, bool paced) {
    form->Screens.Run(session->Host(), std::make_unique<TWatchScreen>(*session, std::make_unique<TReplay>(replay), paced));
  }
  // A quiet game of a second under the form's list, with the given input in
  // its last frame.
  TReplay QuietGame(std::vector<TReplayEvent> last) const {
    TReplay r;
    r.Header.WordList = session->WordListName();
    TWordsHash hash;
    for (int i = 0; i < form->Dictionary->Count(); ++i) hash.Add(form->Dictionary->Items(i)->Text);
    r.Header.WordsHash = hash.Value();
    r.Header.Seed = 99;
    r.Header.StartTime = 5000;
    r.Frames.assign(60, {16, 0});
    r.Frames.push_back({16, static_cast<uint32_t>(last.size())});
    r.Events = std::move(last);
    return r;
  }
  // Plays until Escape at `escapeAt`: the file kept, and `played` and `score` as the game ended.
  std::string PlayKept(uint32_t escapeAt) {
    platform->KeyAt(escapeAt, vk::Escape);
    PlayWholeGame();
    platform->OnFrame = nullptr;
    played = stats;
    score = form->Score;
    return session->LastReplay();
  }
  TPlayStats played;
  int32_t score = 0;
  // Every few frames, the next letter of the first attacking word.
  void TypeAtTheFirstWord(int everyFrames) {
    platform->OnFrame = [this, everyFrames, frame = 0]() mutable {
      if (++frame % everyFrames != 0 || form->AttackWords->Count() == 0) return;
      const TSpriteWord* w = form->AttackWords->Words(0);
      if (!w->Text.empty() && w->FullText.size() >= w->Text.size())
        platform->PressKey(static_cast<uint16_t>(toupper(w->FullText[w->FullText.size() - w->Text.size()])));
    };
  }
};

TEST_F(ReplayGame, AGameWithPausesClicksAndTheWheelPlaysAgainTheSameAndOneWithoutLettersIsNotKept) {
  const std::string folder = std::filesystem::path(HiScoreFolder) / "replays";
  session->KeepReplaysIn(folder);
  form->BuildMenu();
  // A game without a letter typed is not kept: nothing in it to watch.
  platform->KeyAt(Now() + 1500, vk::Space);
  platform->KeyAt(Now() + 3000, vk::Escape);
  PlayWholeGame();
  EXPECT_EQ(session->LastReplay(), "");
  // Stars that have drifted a while, as behind the menu.
  for (int i = 0; i < 500; ++i) {
    form->StarField->UpdateAll(form->Stage);
    form->PresentFrame();
  }
  Watch();
  // Typing at the first word, a focus loss, a pause, clicks and the wheel
  // (never kept: the file must still read), then Escape.
  const uint32_t t = Now();
  TypeAtTheFirstWord(8);
  platform->Schedule({t + 4000, THeadlessPlatform::TEventKind::Deactivate});
  platform->Schedule({t + 4500, THeadlessPlatform::TEventKind::Activate});
  platform->KeyAt(t + 6000, 19);  // Pause
  platform->KeyAt(t + 6500, 19);
  platform->ClickAt(t + 7000, 400, 300);
  platform->ClickAt(t + 7100, 400, 300, TMouseButton::Right);
  platform->ClickAt(t + 7200, 400, 300, TMouseButton::WheelDown);
  ASSERT_FALSE(PlayKept(t + 30000).empty());
  ASSERT_GT(played.WordsTyped, 10);

  TReplay replay = LoadReplay(folder + "/" + session->LastReplay());
  EXPECT_EQ(replay.Trailer.Score, score);
  EXPECT_EQ(replay.Trailer.How, TGameEnd::Quit);
  MakeForm({});
  stats = {};
  Watch();
  EXPECT_EQ(session->ReplayRefusal(replay), "");
  WatchReplay(replay, false);
  EXPECT_EQ(stats.LastScore, score);
  EXPECT_EQ(stats.LettersTyped, played.LettersTyped);
  EXPECT_EQ(stats.Keys, played.Keys);
  EXPECT_EQ(stats.BricksLost, played.BricksLost);
  EXPECT_FALSE(session->Watching());
  EXPECT_EQ(platform->InputSink(), form);

  replay.Header.WordsHash ^= 1;
  EXPECT_NE(session->ReplayRefusal(replay).find("another word list"), std::string::npos);
  replay.Header.Rules = "Marathon";
  EXPECT_NE(session->ReplayRefusal(replay).find("rules this game does not have"), std::string::npos);
}

// Accents were not kept in the file: a game played with "exact" was watched
// under the watcher's own setting, and with "either" its plain letters hit
// the accented ones they had missed.
TEST_F(ReplayGame, AGameWithExactAccentsPlaysAgainTheSameWhateverTheWatchersSetting) {
  const std::string list = (std::filesystem::path(HiScoreFolder) / "accents.txt").string();
  {
    std::ofstream out(list);
    for (char a = 'a'; a <= 'z'; ++a)
      for (char b = 'a'; b <= 'h'; ++b) out << "t\xC3\xA9" << a << b << "\nto" << a << b << "\n";
  }
  const std::string folder = std::filesystem::path(HiScoreFolder) / "replays";
  MakeForm({"--words", list});
  session->KeepReplaysIn(folder);
  session->Settings().AccentsExact = true;
  session->ApplyWordList();
  form->BuildMenu();
  Watch();
  // The plain letter of each next letter of the first word: E for its É.
  platform->OnFrame = [this, frame = 0]() mutable {
    if (++frame % 8 != 0 || form->AttackWords->Count() == 0) return;
    const std::string& next = form->AttackWords->Words(0)->Text;
    if (next.empty()) return;
    const unsigned char c = static_cast<unsigned char>(next[0]);
    platform->TypeText(c < 0x80 ? std::string(1, static_cast<char>(tolower(c))) : "e");
  };
  const std::string file = folder + "/" + PlayKept(Now() + 30000);
  ASSERT_FALSE(session->LastReplay().empty());
  ASSERT_GT(played.WordsTyped, 0);

  MakeForm({"--words", list});  // the watcher's own Accents: "either"
  form->BuildMenu();
  platform->ShowWindow();
  stats = {};
  Watch();
  EXPECT_TRUE(session->WatchFile(file, false));
  EXPECT_EQ(stats.LastScore, score);
  EXPECT_EQ(stats.WordsTyped, played.WordsTyped);
  EXPECT_EQ(stats.BricksLost, played.BricksLost);
  EXPECT_FALSE(session->Settings().AccentsExact);  // the watcher's own again
  EXPECT_FALSE(session->AccentsExact());
}

// The progress screen's second page lists the kept games, newest first and
// without a damaged file, and Enter on a row watches that game.
TEST_F(ReplayGame, ARecentGameIsChosenAndWatchedFromTheProgressScreen) {
  const std::string folder = std::filesystem::path(HiScoreFolder) / "replays";
  session->KeepReplaysIn(folder);
  form->BuildMenu();
  Watch();
  TypeAtTheFirstWord(10);
  ASSERT_FALSE(PlayKept(Now() + 8000).empty());
  ASSERT_GT(played.LettersTyped, 0);
  std::ofstream(folder + "/29991231-235959-00.gfr") << "GFR damaged";

  form->PresentFrame();  // the last frame's typing goes to the game, not the list
  platform->ShowWindow();
  form->Score = 4321;  // as if another game had been played since
  stats = {};
  const uint32_t t = Now();
  platform->KeyAt(t + 100, vk::Right);
  platform->KeyAt(t + 200, vk::Up);  // already the first row: stays
  platform->KeyAt(t + 300, vk::Return);
  platform->KeyAt(t + 30000, vk::Escape);  // on the list again, after the game
  form->Screens.Run(session->Host(), std::make_unique<TStatsScreen>(*session));
  EXPECT_EQ(stats.LettersTyped, played.LettersTyped);
  EXPECT_EQ(stats.GamesPlayed, 1);
  EXPECT_EQ(form->Score, 4321);  // the menu's score is the player's again
  EXPECT_FALSE(session->Watching());
}

// A game of other rules would play differently here: refused, and said why.
// Two Escapes in one frame end the watched game, not the program.
TEST_F(ReplayGame, AnotherRulesRevisionIsRefusedAndTwoEscapesEndOnlyTheWatchedGame) {
  TReplay replay = QuietGame({{TReplayInput::KeyDown, vk::Escape}, {TReplayInput::KeyDown, vk::Escape}});
  replay.Header.Revision = RulesRevision + 1;
  const std::string file = (std::filesystem::path(HiScoreFolder) / "later.gfr").string();
  std::ofstream(file, std::ios::binary) << EncodeReplay(replay);
  form->BuildMenu();
  platform->ShowWindow();
  platform->QuietErrors = true;
  Watch();
  EXPECT_FALSE(session->WatchFile(file, false));
  EXPECT_EQ(stats.GamesPlayed, 0);
  ASSERT_FALSE(platform->Errors().empty());
  const std::string want = "another version of the game's rules (revision " + std::to_string(RulesRevision + 1) +
                           "; this game plays revision " + std::to_string(RulesRevision) + ")";
  EXPECT_NE(platform->Errors().back().find(want), std::string::npos) << platform->Errors().back();
  replay.Header.Revision = RulesRevision;
  EXPECT_EQ(session->ReplayRefusal(replay), "");
  WatchReplay(replay, false);
  EXPECT_EQ(stats.GamesPlayed, 1);
  EXPECT_FALSE(form->Closed);
  EXPECT_TRUE(platform->IsWindowVisible());
}

// Watching once left the replay's list and options in place for OPTIONS to
// save; a replay whose list is not installed is refused by name.
TEST_F(ReplayGame, WatchingAGameOfAnotherListLeavesEveryOptionAsItWas) {
  // Debian lists in a folder of the test's own, found as the game finds /usr/share/dict.
  const std::filesystem::path dict = std::filesystem::path(HiScoreFolder) / "dict";
  std::filesystem::create_directories(dict);
  for (const auto& [file, stem] : {std::pair{"ngerman", "wort"}, {"french", "mot"}}) {
    std::ofstream out(dict / file);
    for (char a = 'a'; a <= 'z'; ++a)
      for (char b = 'a'; b <= 'e'; ++b) out << stem << a << b << "\n";
  }
  const std::string savedDict = std::getenv(SystemWordsVariable), savedSettings = SettingsFile;
  ::setenv(SystemWordsVariable, dict.c_str(), 1);
  SettingsFile = (std::filesystem::path(HiScoreFolder) / "settings.xml").string();
  auto read = [] { return (std::stringstream() << std::ifstream(SettingsFile).rdbuf()).str(); };

  // The watched game: Deutsch, Typist rules, from wave 3 at 125 per cent.
  session->Settings().Words = "Deutsch";
  session->ApplyWordList();
  TReplay replay = QuietGame({{TReplayInput::KeyDown, vk::Escape}});
  replay.Header.Rules = "Typist";
  replay.Header.StartWave = 3;
  replay.Header.SpeedPercent = 125;
  const std::string file = (std::filesystem::path(HiScoreFolder) / "deutsch.gfr").string();
  std::ofstream(file, std::ios::binary) << EncodeReplay(replay);
  // The player's own: Francais with exact accents, from wave 2.
  session->Settings().Words = "Français";
  session->Settings().AccentsExact = true;
  session->Settings().StartWave = 2;
  session->ApplyWordList();
  const TSettings mine = session->Settings();
  EXPECT_TRUE(SaveSettings(mine, SettingsFile));
  const std::string saved = read();
  form->BuildMenu();
  platform->ShowWindow();
  Watch();
  EXPECT_TRUE(session->WatchFile(file, false));
  EXPECT_EQ(stats.GamesPlayed, 1);
  EXPECT_EQ(session->Settings(), mine);
  EXPECT_EQ(read(), saved);
  StartGame();  // the player's, in French
  EXPECT_EQ(form->Dictionary->Items(0)->Text.substr(0, 3), "MOT");
  EXPECT_TRUE(session->AccentsExact());
  EXPECT_EQ(form->WaveNumber, 2);

  std::filesystem::remove(dict / "ngerman");
  form->Playing = false;
  platform->QuietErrors = true;
  EXPECT_FALSE(session->WatchFile(file, false));
  EXPECT_NE(platform->Errors().empty() ? std::string::npos : platform->Errors().back().find("Deutsch, which is not"),
            std::string::npos);
  EXPECT_EQ(session->Settings(), mine);
  ::setenv(SystemWordsVariable, savedDict.c_str(), 1);
  SettingsFile = savedSettings;
}

}  // namespace
