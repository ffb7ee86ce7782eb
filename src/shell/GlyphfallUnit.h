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
#include "play/Input.h"
#include "play/Screen.h"
#include "play/Session.h"
#include "play/Settings.h"
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

// Menu ids are fixed values, not positions.
constexpr uint8_t MenuStart = 0;
constexpr uint8_t MenuHighScores = 2;
constexpr uint8_t MenuQuit = 4;

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

// The off-screen image every frame is composed on, playfield-sized.
std::unique_ptr<TBitmap> MakePlayfieldImage();

class TMenuList : public TCustomObjectList<TMenuItem> {
 public:
  uint8_t Selected = 0;
  int32_t NextY = 80;

  void AddItem(uint8_t id, const std::string& caption);
  int SelectedIndex() const;
  void SelectPrevious();
  void SelectNext();
};

// The form's game clock, made before any member that refers to it.
struct TFormClock {
  TGameClock clock_;
};

class TGlyphfallForm : public TInputSink, private TFormClock {
 public:
  // Form creation (its create handler). Loads the word list and the scores.
  explicit TGlyphfallForm(TPlatform& platform);
  ~TGlyphfallForm() override;

  TPlatform& Platform;

  // ---- Game clock (GameTime and PausedTime read as the form's own) ----
  uint32_t& GameTime = clock_.GameTime;
  uint32_t& PausedTime = clock_.PausedTime;
  uint32_t MsSince(uint32_t stamp) const { return clock_.MsSince(stamp); }
  bool HasElapsed(uint32_t stamp, uint32_t interval) const { return clock_.HasElapsed(stamp, interval); }
  bool TickEvery(uint32_t& stamp, uint32_t interval) const { return clock_.TickEvery(stamp, interval); }

  // ---- Pictures (shared, never owned by sprites) ----
  std::unique_ptr<TBitmap> OffscreenImage = MakePlayfieldImage();
  std::unique_ptr<TBitmap> BrickImage, BrickArchImage, Damaged1Image, Damaged2Image, GroundImage, BombImage,
      GoldBrickImage, ClockImage, CannonImage, BackImage, ShieldImage, RotateImage, OffscreenRotateImage;
  TCanvas& Canvas() { return OffscreenImage->Canvas(); }
  // What the sprite lists are updated and drawn with: the clock, this image.
  TStage Stage;

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

  // ---- Beside the game as first built ----
  // Everything added to it (rules, typing record, replays, languages, added
  // screens); none plays the game as first built.
  TSessionHooks* Session = nullptr;
  // The added screens, run between the frames of the form's loops.
  TScreenStack Screens;

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

  // ---- Text drawing ----
  void DrawText(int x, int y, std::string_view text, TColor colour, int shadow);
  void DrawRightText(int xRight, int y, std::string_view text, TColor colour);
  TSize LetterExtent(int size);

 private:
  // How every screen but play begins a frame: the stars move, then the
  // background and the HUD are drawn under the screen's own drawing.
  void BeginScreenFrame();
  void LoadPictures();
  // What a key-down does; the handler records the key first.
  void TypeKey(uint16_t key);
  void RecordInput(TReplayInput kind, uint16_t key, TShiftState shift, int x = 0, int y = 0, uint8_t button = 0);
  // Letters typed as text reach the words through the session.
  void TextInput(char32_t c) override;
};

// The single form; set while a TGlyphfallForm exists.
extern TGlyphfallForm* GlyphfallForm;
