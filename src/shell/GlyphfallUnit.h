// The game form: owner of every long-lived object, the screen loops, the game
// clock, input routing, the castle, the head-up display and the menu.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "Product.h"
#include "framework/ObjectList.h"
#include "platform/Canvas.h"
#include "platform/Platform.h"
#include "platform/Types.h"

class TExplodeLetterList;
class TScoreList;
class TZoomList;
class TStarField;
class TDictionary;
class TWordList;
class TSpriteWord;
class TWave;
class THiScoreList;

// Menu ids are fixed values, not positions.
constexpr uint8_t MenuStart = 0;
constexpr uint8_t MenuHighScores = 2;
constexpr uint8_t MenuQuit = 4;

constexpr int PlayfieldWidth = 800;
constexpr int PlayfieldHeight = 600;
constexpr int CastleColumns = 6;
constexpr int CastleRows = 29;
constexpr int TitleDuration = 3000;
constexpr int GameOverDuration = 4000;
constexpr int MessageDuration = 2000;
constexpr int MessageFlashInterval = 110;
constexpr int BombScoreStep = 10000;
constexpr int MaxBombs = 4;

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

struct BrickCell {
  TBitmap* Picture = nullptr;  // the form's picture for state 1
  uint8_t State = 0;           // 0 empty, 1 brick, 2 arch, 3/4 damaged, 5 destroyed
};

class TGlyphfallForm : public TInputSink {
 public:
  // Form creation (its create handler). Loads the word list and the scores.
  explicit TGlyphfallForm(TPlatform& platform);
  ~TGlyphfallForm() override;

  TPlatform& Platform;

  // ---- Pictures (shared, never owned by sprites) ----
  std::unique_ptr<TBitmap> OffscreenImage;
  std::unique_ptr<TBitmap> BrickImage, BrickArchImage, Damaged1Image, Damaged2Image, GroundImage, BombImage,
      GoldBrickImage, ClockImage, CannonImage, BackImage, ShieldImage, RotateImage, OffscreenRotateImage;
  TCanvas& Canvas() { return OffscreenImage->Canvas(); }

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

  // ---- Game state ----
  int32_t WaveNumber = 1;
  int32_t Score = 0;
  int32_t NextBombScore = BombScoreStep;
  int32_t Bombs = 0;
  std::array<std::array<BrickCell, CastleRows>, CastleColumns> Castle{};  // [column][row]
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
  uint32_t GameTime = 0;
  uint32_t PausedTime = 0;
  std::string VersionText = GameVersion;
  bool WavesLooped = false;

  // ---- Game clock ----
  uint32_t MsSince(uint32_t stamp) const;
  bool HasElapsed(uint32_t stamp, uint32_t interval) const;
  bool TickEvery(uint32_t& stamp, uint32_t interval) const;

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

  // ---- Castle ----
  void BuildCastle();
  void BuildCastleRow(int row, const std::array<uint8_t, 5>& values);
  void DrawCastle();
  int32_t CastleTop() const;
  int32_t BrickRowAt(int32_t y) const;
  TPoint BrickCellAt(int32_t x, int32_t y) const;
  void HitBrick(TPoint cell);
  bool IsBrickDamaged(int column, int row) const;
  bool AnyBrickDamaged() const;
  TPoint RepairBricks(bool all);
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

  // ---- Text drawing ----
  void DrawText(int x, int y, std::string_view text, TColor colour, int shadow);
  void DrawRightText(int xRight, int y, std::string_view text, TColor colour);
  void UseSmoothFont(TCanvas& canvas);
  TSize TextExtentAt(TCanvas& canvas, int size, std::string_view text);
  TSize LetterExtent(int size);

  // ---- Statistics for the simulator and tests (never read by the game) ----
  struct TStats {
    int64_t Frames = 0;
    int64_t WordsTyped = 0;
    int64_t LettersTyped = 0;
    int64_t BombsUsed = 0;
    int64_t BricksLost = 0;
    int64_t WavesCompleted = 0;
    int64_t GamesPlayed = 0;
  } Stats;
  // Which screen loop is running; for the simulator's report.
  enum class TScreen { Title, Menu, Play, HiScores, Ended } Screen = TScreen::Title;

 private:
  void LoadPictures();
};

// The single form; set while a TGlyphfallForm exists.
extern TGlyphfallForm* GlyphfallForm;
