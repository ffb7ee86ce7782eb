// Everything added beside the game as first built, and the glue that hands it
// the game: the settings and rules, the typing record and its history,
// replays, word lists in other languages and the added screens. The form
// calls it through its hooks; the additions see the game only through the
// narrow interfaces the session hands them.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "play/Play.h"
#include "play/Rules.h"
#include "play/Services.h"
#include "play/Session.h"
#include "play/Settings.h"

class TGlyphfallForm;
class THiScoreList;
class THistory;
class TTypingRecord;
class TReplayRecorder;
struct TReplayHeader;

// Menu ids of the added screens; fixed values, not positions.
constexpr uint8_t MenuStats = 5;
constexpr uint8_t MenuOptions = 6;

// The file named after --words on the command line, or empty.
std::string WordListArgument(const std::vector<std::string>& args);
// Keys whose typing reaches a list in another language as text instead.
bool TypesText(uint16_t key);

class TSession : public TSessionHooks, public TSessionView {
 public:
  using TScreenMaker = std::function<std::unique_ptr<TScreen>(TSessionView&)>;
  using TWatchMaker = std::function<std::unique_ptr<TScreen>(TSessionView&, std::unique_ptr<TReplay>, bool paced)>;

  // Loads the settings, the other rules' score tables, the history; plays
  // the list --words names.
  explicit TSession(TGlyphfallForm& form);
  ~TSession() override;

  // ---- What the game is assembled with ----
  // A menu item that opens a screen; one line per screen.
  void AddMenuScreen(TMenuEntry entry, TScreenMaker make);
  void SetResultsScreen(TScreenMaker make) { makeResults_ = std::move(make); }
  void SetWatchScreen(TWatchMaker make) { makeWatch_ = std::move(make); }

  // ---- The game as the additions see it ----
  TPlay& Play();

  // ---- Rules, pace, practice ----
  // The rules object of the game being played; null for the Classic rules.
  TRules* Rules() const { return rules_.get(); }
  // The game started past the first wave, at another pace or with a word
  // list other than the bundled one: no score table.
  bool Practice() const { return practice_; }

  // ---- Typing record ----
  TTypingRecord& Record() { return *record_; }

  // ---- Word lists in other languages ----
  // The file of the list in play; empty for the bundled English one.
  const std::string& WordListPath() const { return wordListPath_; }
  // Its name as the options screen shows it ("English", "Deutsch", ...).
  const std::string& WordListName() const { return wordListName_; }
  // Accents "exact": only the accented key hits an accented letter.
  bool AccentsExact() const { return accentsExact_; }
  // Plays the list at path from the next word on (empty: the bundled list).
  // A list that cannot be played gets one message and the bundled list.
  // name is what the options screen calls it (by default the file's name).
  void UseWordList(const std::string& path, const std::string& name = "");
  // The list and accents the settings choose, unless --words named a list.
  void ApplyWordList();
  // Other lists take their letters as text, not as A-Z keys.
  bool LettersAsText() const;

  // ---- Replays ----
  // Every game from now on is kept in folder when it ends.
  void KeepReplaysIn(const std::string& folder);
  // A replay to watch instead of the menu (--replay); the program then ends.
  std::string ReplayToWatch;
  // Name of the replay of the game just ended; empty when it was not kept.
  const std::string& LastReplay() const { return lastReplay_; }
  // Loads, checks and watches a file; a bad one is reported, and false.
  bool WatchFile(const std::string& path, bool paced);
  // A watched game is being played.
  bool Watching() const { return watching_ != nullptr; }

  // ---- TSessionHooks ----
  void Begin() override;
  std::vector<TMenuEntry> MenuEntries() const override;
  void MenuChosen(uint8_t id) override;
  void GameStarting() override;
  bool GameFinished(bool showResults, std::string& replay) override;
  void ScoreChecked() override;
  void TableClicked(int y) override;
  bool WatchClickedRow() override;
  bool Ranked() const override { return !practice_; }
  bool KeyAtWords(uint16_t key) override;
  void TextAtWords(char32_t c) override;
  void DrawOverWords(TCanvas& canvas) override;
  THudNotes HudNotes() override;
  void Input(const TReplayEvent& event) override;
  void FramePresented(uint32_t step) override;
  bool PresentsFrame() override;

  // ---- TSessionView ----
  TScreenHost& Host() override;
  TSettings& Settings() override { return settings_; }
  void ApplySettings() override;
  const TGameFigures& LastGame() override;
  THistory& History() override { return *history_; }
  const std::string& ReplayFolder() override { return replayFolder_; }
  std::string ReplayRefusal(const TReplay& replay) override;
  std::unique_ptr<TReplay> LoadForWatching(const std::string& path) override;
  void PlayReplay(const TReplay& replay, TReplayPresenter& presenter, TInputSink& window) override;

 private:
  class TFormAdapter;
  struct TMenuScreen {
    TMenuEntry Entry;
    TScreenMaker Make;
  };
  void BeginGameRecord();
  void KeepReplay();
  uint64_t WordsHash();

  TGlyphfallForm& form_;
  std::unique_ptr<TFormAdapter> adapter_;
  TSettings settings_;
  std::unique_ptr<TRules> rules_;
  // The score tables of the rules not chosen (the form's HiScores is the
  // chosen one's).
  std::vector<std::unique_ptr<THiScoreList>> otherTables_;
  bool practice_ = false;
  std::unique_ptr<TTypingRecord> record_;
  std::unique_ptr<THistory> history_;
  std::vector<TMenuScreen> menuScreens_;
  TScreenMaker makeResults_;
  TWatchMaker makeWatch_;

  std::string wordListPath_;
  std::string wordListName_ = DefaultWordList;
  bool accentsExact_ = false;

  std::string replayFolder_;
  std::string lastReplay_;
  std::unique_ptr<TReplayRecorder> recorder_;
  TReplayPresenter* watching_ = nullptr;
  const TReplayHeader* watchedStart_ = nullptr;
  int32_t watchRow_ = -1;
  bool replayFailureShown_ = false;
  uint64_t wordsHash_ = 0;
  const void* wordsHashedFor_ = nullptr;  // the list the hash is of
};
