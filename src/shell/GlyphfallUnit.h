// The game form: owner of every long-lived object, the screen loops, the game
// clock, input routing, the castle, the head-up display and the menu.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Product.h"
#include "framework/GameClock.h"
#include "framework/GameEvents.h"
#include "framework/ObjectList.h"
#include "framework/Stage.h"
#include "framework/TextUtils.h"
#include "platform/Canvas.h"
#include "platform/Platform.h"
#include "platform/Types.h"
#include "rules/Settings.h"
#include "shell/Castle.h"

class TExplodeLetterList;
class TScoreList;
class TZoomList;
class TStarField;
class TDictionary;
class TWordList;
class TSpriteWord;
class TWave;
class THiScoreList;
class TTypingRecord;
class THistory;
class TReplayRecorder;
class TReplayWatch;
struct TReplay;
enum class TReplayInput : uint8_t;
class TRules;
class TOptionsScreen;

// Menu ids are fixed values, not positions.
constexpr uint8_t MenuStart = 0;
constexpr uint8_t MenuHighScores = 2;
constexpr uint8_t MenuQuit = 4;
constexpr uint8_t MenuStats = 5;
constexpr uint8_t MenuOptions = 6;

// The rules of the game as first built.
constexpr char ClassicRules[] = "Classic";

constexpr int PlayfieldWidth = 800;
constexpr int PlayfieldHeight = 600;
constexpr int TitleDuration = 3000;
constexpr int GameOverDuration = 4000;
constexpr int MessageDuration = 2000;
constexpr int MessageFlashInterval = 110;
constexpr int BombScoreStep = 10000;
constexpr int MaxBombs = 4;
// Pure blue on black is hard to read; this one has more than 4.5 : 1.
constexpr TColor HighContrastBlue = 0xFF6060;

struct TMenuItem {
  TPoint Position;
  std::string Caption;
  uint8_t Id = 0;
};

class TMenuList : public TCustomObjectList<TMenuItem> {
 public:
  uint8_t Selected = 0;
  int32_t NextY = 80;

  void AddItem(uint8_t id, const std::string& caption);
  int SelectedIndex() const;
  void SelectPrevious();
  void SelectNext();
};

class TGlyphfallForm : public TInputSink {
 public:
  // Form creation (its create handler). Loads the word list and the scores.
  explicit TGlyphfallForm(TPlatform& platform);
  ~TGlyphfallForm() override;

  TPlatform& Platform;

  // ---- Game clock (GameTime and PausedTime read as the form's own) ----
  TGameClock Clock;
  uint32_t& GameTime = Clock.GameTime;
  uint32_t& PausedTime = Clock.PausedTime;
  uint32_t MsSince(uint32_t stamp) const { return Clock.MsSince(stamp); }
  bool HasElapsed(uint32_t stamp, uint32_t interval) const { return Clock.HasElapsed(stamp, interval); }
  bool TickEvery(uint32_t& stamp, uint32_t interval) const { return Clock.TickEvery(stamp, interval); }

  // ---- Pictures (shared, never owned by sprites) ----
  std::unique_ptr<TBitmap> OffscreenImage = std::make_unique<TBitmap>(PlayfieldWidth, PlayfieldHeight);
  std::unique_ptr<TBitmap> BrickImage, BrickArchImage, Damaged1Image, Damaged2Image, GroundImage, BombImage,
      GoldBrickImage, ClockImage, CannonImage, BackImage, ShieldImage, RotateImage, OffscreenRotateImage;
  TCanvas& Canvas() { return OffscreenImage->Canvas(); }
  // What the sprite lists are updated and drawn with.
  TStage Stage{Clock, *OffscreenImage, TSize{}};

  // What happens in play, for whoever watches it.
  TGameEvents Events;

  // ---- Owned objects ----
  std::unique_ptr<TWordList> BonusWords;
  std::unique_ptr<TWordList> AttackWords;
  std::unique_ptr<TExplodeLetterList> ExplodeItems;
  std::unique_ptr<TScoreList> ScoreItems;
  std::unique_ptr<TZoomList> ZoomItems;
  std::unique_ptr<TStarField> StarField;
  std::unique_ptr<TDictionary> Dictionary;
  std::unique_ptr<TWave> CurrentWave;
  std::unique_ptr<TMenuList> Menu;
  std::unique_ptr<THiScoreList> HiScores;
  // The typing of the game under way, and of every finished game.
  std::unique_ptr<TTypingRecord> Record;
  std::unique_ptr<THistory> History;

  // ---- Game state ----
  int32_t WaveNumber = 1;
  int32_t Score = 0;
  int32_t NextBombScore = BombScoreStep;
  int32_t Bombs = 0;
  TCastle Castle;
  std::string MessageText;
  TColor MessageFlashColour = clRed, MessageColour = 0, MessageShownColour = 0;
  uint32_t MessageStamp = 0, MessageFlashStamp = 0;
  uint32_t GameOverStamp = 0;
  uint32_t BlinkStamp = 0;
  bool BlinkOn = false;
  int32_t PressSpaceHints = 0;
  bool MenuActive = false;
  bool Playing = false;
  uint16_t LastKey = 0;
  TPoint LastMousePos;
  std::string VersionText = GameVersion;
  bool WavesLooped = false;

  // ---- Settings, rules and difficulty ----
  TSettings Settings;
  // The rules of the game being played; null for the Classic rules.
  std::unique_ptr<TRules> Rules;
  // The score table of the rules not chosen (HiScores is the chosen one's).
  std::unique_ptr<THiScoreList> OtherHiScores;
  // The pace of the game being played, in percent of the game as built.
  int32_t SpeedPercent = NormalSpeed;
  // An interval of the words' clocks at the game's pace (unchanged at 100 %).
  uint32_t Paced(uint32_t ms) const;
  // The game started past the first wave, at another pace or with a word list
  // other than the bundled one: no score table.
  bool Practice = false;
  // The typist's current words a minute at a game time; empty shows nothing.
  std::function<double(uint32_t)> LiveWpm;
  // Set while the options screen runs; it takes the input then.
  TOptionsScreen* Options = nullptr;
  // Puts Settings into effect: the score table, volume, window and scaling.
  void ApplySettings();
  // A colour as drawn: pure blue is lightened in high contrast.
  TColor ShownColour(TColor colour) const;

  // ---- Screens and frames ----
  void Run();
  void ShowTitle();
  void RunMenu();
  void PlayGame();
  void NewGame();
  void StartWave();
  void UpdateSprites();
  void UpdateWave();
  void DrawFrame();
  void DrawBackground();
  // How every screen but play begins a frame: the stars move, then the
  // background and the HUD are drawn under the screen's own drawing.
  void BeginScreenFrame();
  void DrawSprites();
  void PresentFrame();
  bool GameOverDone() const;
  bool HasSwitch(std::string_view name) const;
  bool Visible() { return Platform.IsWindowVisible(); }
  // Set by the close handler: no further screen starts once the window is shut.
  bool Closed = false;

  // ---- Input handlers (TInputSink) ----
  void KeyDown(uint16_t key, TShiftState shift) override;
  void KeyUp(uint16_t key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void Close() override;

  // ---- Castle (what the game units call; the grid is Castle's) ----
  void BuildCastle() { Castle.Build(BrickImage.get()); }
  void DrawCastle() { Castle.Draw(Canvas()); }
  int32_t CastleTop() const { return Castle.Top; }
  int32_t BrickRowAt(int32_t y) const { return Castle.RowAt(y); }
  TPoint BrickCellAt(int32_t x, int32_t y) const { return Castle.CellAt(x, y); }
  void HitBrick(TPoint cell);
  bool AnyBrickDamaged() const { return Castle.AnyDamaged(); }
  TPoint RepairBricks(bool all) { return Castle.Repair(all); }
  void ExplodeCastle();

  // ---- Head-up display, messages, scoring, bombs ----
  int32_t HudValueY();
  void DrawHud();
  void SetCentreMessage(const std::string& text, TColor colour);
  void DrawCentreMessage();
  void DrawCentredLines(const std::string& text, TColor colour);
  void AwardScore(TPoint position, int32_t points, const std::string& text, TBitmap* picture);
  void DetonateBomb();
  void GameOver();
  int32_t ChooseSpawnRow(const TSpriteWord& word);
  TPoint SpawnPoint(const TSpriteWord& word);

  // ---- Menu ----
  void BuildMenu();
  void DrawMenu();

  // ---- Typing record: results after a game, progress from the menu ----
  // After a game: stores it, then shows its results when asked to.
  void FinishGame(bool showResults);
  void ShowResults();
  void ShowStats();
  // Keys and clicks on those screens: each ends it once its guard has passed.
  void PanelInput();
  uint32_t PanelStamp = 0, PanelGuard = 0;
  bool PanelDone = false;
  // The progress screen's second page lists the kept games to watch again.
  void StatsKey(uint16_t key);
  void StatsClick(int x, int y);
  void StatsHover(int y);
  bool StatsRecent = false;  // that page is on show
  int32_t StatsRows = 0, StatsChosen = 0;
  int32_t StatsWatch = -1;  // a row asked to be watched

  // ---- Text drawing ----
  void DrawText(int x, int y, std::string_view text, TColor colour, int shadow);
  void DrawRightText(int xRight, int y, std::string_view text, TColor colour);
  TSize LetterExtent(int size);

  // ---- Word lists in other languages ----
  // The file of the list in play; empty for the bundled English one.
  std::string WordListPath;
  // Its name as the options screen shows it ("English", "Deutsch", ...).
  std::string WordListName = "English";
  // Accents "exact": only the accented key hits an accented letter; otherwise
  // ("either") its plain letter does too.
  bool AccentsExact = false;
  // Plays the list at path from the next word on (empty: the bundled list).
  // A list that cannot be played gets one message and the bundled list.
  // name is what the options screen calls it (by default the file's name).
  void UseWordList(const std::string& path, const std::string& name = "");
  // The list and accents the settings choose, unless --words named a list.
  void ApplyWordList();
  // Other lists take their letters as text, not as A-Z keys.
  bool LettersAsText() const;
  void TextInput(char32_t c) override;

  // ---- Replays (Replay.cpp) ----
  // Every game from now on is kept in folder when it ends.
  void KeepReplaysIn(const std::string& folder);
  std::string ReplayFolder;
  // Name of the replay of the game just ended; empty when it was not kept.
  std::string LastReplay;
  // A replay to watch instead of the menu (--replay); the program then ends.
  std::string ReplayToWatch;
  // Why this copy of the game could not play the replay back the same, or "".
  std::string ReplayRefusal(const TReplay& replay);
  // Plays a recorded game again on this form. Paced: at the speed it was
  // played, times WatchSpeed; otherwise each frame as fast as it comes.
  void WatchReplay(const TReplay& replay, bool paced);
  // Loads, checks and watches a file; a bad one is reported, and false.
  bool WatchFile(const std::string& path, bool paced);
  // Watches a game of the replay folder from a screen of the menu.
  void WatchKept(const std::string& name);
  int WatchSpeed = 1;
  // A high-score row clicked to watch its game, or -1.
  int32_t WatchRow = -1;
  std::unique_ptr<TReplayRecorder> Recorder;
  TReplayWatch* Watching = nullptr;

  // Which screen loop is running; for the simulator's report.
  enum class TScreen { Title, Menu, Play, HiScores, Ended, Results, Stats, Options } Screen = TScreen::Title;

 private:
  void LoadPictures();
  // What a key-down does; the handler records the key first.
  void TypeKey(uint16_t key);
  void RecordInput(TReplayInput kind, uint16_t key, TShiftState shift, int x = 0, int y = 0, uint8_t button = 0);
  void RecordFrameStep(uint32_t step);
  void BeginGameRecord();
  void KeepReplay();
  void PruneKeptReplays();
  void WatchChosenRow();
  void PresentReplayFrame();
  uint64_t WordsHash();
  uint64_t wordsHash_ = 0;
  const void* wordsHashedFor_ = nullptr;  // the list the hash is of
  bool replayFailureShown_ = false;
};

// The file named after --words on the command line, or empty.
std::string WordListArgument(const std::vector<std::string>& args);
// Keys whose typing reaches a list in another language as text instead.
bool TypesText(uint16_t key);

// The single form; set while a TGlyphfallForm exists.
extern TGlyphfallForm* GlyphfallForm;
