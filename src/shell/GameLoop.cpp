// The form's life: creation, the screen loops, the frame and the game clock.
#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "dictionary/DictionaryUnit.h"
#include "framework/Determinism.h"
#include "framework/Utils.h"
#include "hiscores/HiScoreUnit.h"
#include "hiscores/XMLUnit.h"
#include "platform/Paths.h"
#include "shell/GlyphfallUnit.h"
#include "sound/SoundEffects.h"
#include "sprites/StarUnit.h"
#include "waves/WaveUnit.h"
#include "words/WordUnit.h"

TGlyphfallForm* GlyphfallForm = nullptr;

namespace {
// Room for the window frame and caption when centring on the work area.
constexpr int FrameAllowanceX = 8;
constexpr int FrameAllowanceY = 26;
constexpr uint32_t InactivePoll = 10;
constexpr int CreditY = 550;
constexpr int CreditSize = 16;
const char* const CreditText = "Type the words before they reach the castle  -  Glyphfall, free software";

uint8_t ShiftBits(TShiftState s) { return static_cast<uint8_t>((s.Shift ? 1 : 0) | (s.Ctrl ? 2 : 0) | (s.Alt ? 4 : 0)); }
}  // namespace

std::unique_ptr<TBitmap> MakePlayfieldImage() { return std::make_unique<TBitmap>(PlayfieldWidth, PlayfieldHeight); }

TGlyphfallForm::TGlyphfallForm(TPlatform& platform)
    : Platform(platform), Stage{clock_, *OffscreenImage, TSize{}} {
  GlyphfallForm = this;
  Platform.SetInputSink(this);
  // Reports from here on wait for the menu, start-up's included.
  Platform.Notices().GameShowsThem = true;
  try {
    RandSeed(Platform.GetTickCount());
    VersionText = GameVersion;
    DefaultXMLFolder.clear();

    LoadPictures();
    Castle.ArchPicture = BrickArchImage.get();
    Castle.Damaged1Picture = Damaged1Image.get();
    Castle.Damaged2Picture = Damaged2Image.get();
    Castle.Top = OffscreenImage->Height() - CastleRows * BrickImage->Height() - GroundImage->Height();
    Stage.OuterSize = Platform.OuterSize();
    TSize area = Platform.WorkAreaSize();
    Platform.SetWindowPos((area.cx - (PlayfieldWidth + FrameAllowanceX)) / 2,
                          (area.cy - (PlayfieldHeight + FrameAllowanceY)) / 2);
    Platform.SetCaption(GameCaption);

    ExplodeItems = std::make_unique<TExplodeLetterList>();
    ScoreItems = std::make_unique<TScoreList>();
    ZoomItems = std::make_unique<TZoomList>();
    StarField = std::make_unique<TStarField>();
    Dictionary = std::make_unique<TDictionary>();
    AttackWords = std::make_unique<TWordList>();
    BonusWords = std::make_unique<TWordList>();
    HiScores = std::make_unique<THiScoreList>();
    HiScores->LoadHiScores();
    if (HiScores->Count() == 0)
      for (int score = 1000; score >= 100; score -= 100) HiScores->Add(std::make_unique<THiScore>(score, ""));
    HiScores->HighScore = HiScores->Items(0)->Score;

    clock_.Reset(Platform.GetTickCount());
  } catch (...) {
    // A half-made form must not stay reachable.
    Platform.SetInputSink(nullptr);
    Platform.Notices().GameShowsThem = false;
    GlyphfallForm = nullptr;
    throw;
  }
}

TGlyphfallForm::~TGlyphfallForm() {
  Menu.reset();
  AttackWords.reset();
  BonusWords.reset();
  ExplodeItems.reset();
  ScoreItems.reset();
  CurrentWave.reset();
  ZoomItems.reset();
  StarField.reset();
  HiScores.reset();
  Dictionary.reset();
  if (Platform.InputSink() == this) Platform.SetInputSink(nullptr);
  if (GlyphfallForm == this) GlyphfallForm = nullptr;
  Platform.Notices().GameShowsThem = false;
}

bool TGlyphfallForm::HasSwitch(std::string_view name) const { return ::HasSwitch(Platform.Args(), name); }

// ---- Screens ----

void TGlyphfallForm::Run() {
  // The game's files are found in the program's folder, from wherever the
  // form was started.
  std::error_code ignored;
  std::filesystem::current_path(ResolveProgramFolder(std::filesystem::path(Platform.ExeName()).parent_path()), ignored);
  Platform.ShowWindow();
  // New stars are scattered over the window as it is shown.
  Stage.OuterSize = Platform.OuterSize();
  Platform.SetCaption(std::string(GameCaption) + " " + VersionText);
  BuildMenu();
  if (Session) Session->Begin();
  if (HasSwitch("run") && !Closed) {
    PlayGame();
    std::string replay;
    if (Session) Session->GameFinished(false, replay);
  }
  if (!Closed) ShowTitle();
  // The program ends when the window closes: by QUIT chosen on the menu, by
  // Escape there, or by the window's close button. A selection moved to QUIT
  // by the arrows on another screen (they work everywhere) is not a choice,
  // so the menu shows again rather than the program quitting unasked.
  while (!Closed) {
    RunMenu();
    if (Closed) break;
    switch (Menu->Selected) {
      case MenuStart: {
        PlayGame();
        // The replay of the game, which its row names.
        std::string replay;
        const bool ranked = !Session || Session->GameFinished(true, replay);
        if (!Closed && ranked) HiScores->CheckNewScore(Score, replay);
        if (Session) Session->ScoreChecked();
        break;
      }
      case MenuHighScores:
        HiScores->ShowHiScores(-1);
        // A row clicked: its game, then the table again.
        while (Session && !Closed && Session->WatchClickedRow()) HiScores->ShowHiScores(-1);
        break;
      case MenuQuit: Platform.CloseWindow(); break;
      default:
        if (Session) Session->MenuChosen(Menu->Selected);
        break;
    }
  }
}

void TGlyphfallForm::ShowTitle() {
  uint32_t start = GameTime;
  SetCentreMessage("Glyphfall!", clBlue);
  do {
    BeginScreenFrame();
    DrawCentreMessage();
    TCanvas& canvas = Canvas();
    canvas.Font.Size = CreditSize;
    UseSmoothFont(canvas);
    DrawText((PlayfieldWidth - canvas.TextWidth(CreditText)) / 2, CreditY, CreditText, clBlue, 0);
    PresentFrame();
  } while (Platform.IsWindowVisible() && !Closed && !HasElapsed(start, TitleDuration));
}

void TGlyphfallForm::RunMenu() {
  LastMousePos = Platform.ScreenToClient(Platform.CursorPos());
  MenuActive = true;
  while (Platform.IsWindowVisible() && !Closed && MenuActive) {
    BeginScreenFrame();
    DrawMenu();
    PresentFrame();
  }
}

void TGlyphfallForm::PlayGame() {
  NewGame();
  do {
    UpdateSprites();
    UpdateWave();
    // Typing time runs only while there is something to type.
    if (Events.Listening())
      Events.Typable(GameTime, GameOverStamp == 0 && (AttackWords->AnyToType() || BonusWords->AnyToType()));
    DrawFrame();
  } while (Playing && !GameOverDone() && !Closed);
  Playing = false;
  TGameEnd how = GameOverStamp != 0 ? TGameEnd::Lost : Closed ? TGameEnd::Closed : TGameEnd::Quit;
  Events.GameEnded({GameTime, Score, how});
  AttackWords->RemoveAll();
  BonusWords->RemoveAll();
  ScoreItems->RemoveAll();
  ExplodeItems->RemoveAll();
  ZoomItems->RemoveAll();
}

void TGlyphfallForm::NewGame() {
  Playing = true;
  Score = 0;
  NextBombScore = BombScoreStep;
  BuildCastle();
  LastKey = 0;
  GameOverStamp = 0;
  Bombs = 0;
  PressSpaceHints = 0;
  WaveNumber = 1;
  clock_.Reset(Platform.GetTickCount());
  WavesLooped = false;
  // Rules, start wave, pace and the records of the game, as chosen.
  if (Session) Session->GameStarting();
  // From the seed a watched game set, or this moment's: word numbers restart.
  GameDeterminism().Start(RandSeedValue());
  StartWave();
}

bool TGlyphfallForm::GameOverDone() const { return GameOverStamp != 0 && HasElapsed(GameOverStamp, GameOverDuration); }

void TGlyphfallForm::StartWave() {
  CurrentWave.reset();
  if (WaveNumber >= 1 && WaveNumber <= WaveCount) {
    CurrentWave = CreateWave(WaveNumber);
    Events.WaveStarted({GameTime, WaveNumber, WavesLooped});
    if (CurrentWave) CurrentWave->NextStage();
    return;
  }
  WavesLooped = true;
  WaveNumber = 1;
  StartWave();
}

void TGlyphfallForm::UpdateSprites() {
  AttackWords->UpdateAll(Stage);
  BonusWords->UpdateAll(Stage);
  ExplodeItems->UpdateAll(Stage);
  ScoreItems->UpdateAll(Stage);
  ZoomItems->UpdateAll(Stage);
  StarField->UpdateAll(Stage);
}

void TGlyphfallForm::UpdateWave() {
  if (!CurrentWave) return;
  CurrentWave->Update();
  // After the game is over no wave ends or begins: "GAME OVER" stays.
  if (GameOverStamp == 0 && CurrentWave->IsComplete()) {
    Events.WaveCompleted({GameTime, WaveNumber, WavesLooped});
    ++WaveNumber;
    StartWave();
  } else {
    CurrentWave->UpdateBonuses();
  }
}

void TGlyphfallForm::DrawFrame() {
  if (!Playing) return;
  DrawBackground();
  DrawCastle();
  DrawHud();
  DrawSprites();
  DrawCentreMessage();
  PresentFrame();
}

void TGlyphfallForm::BeginScreenFrame() {
  StarField->UpdateAll(Stage);
  DrawBackground();
  DrawHud();
}

void TGlyphfallForm::DrawBackground() {
  TCanvas& canvas = Canvas();
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Brush.Color = clBlack;
  canvas.FillRect(TRect{0, 0, OffscreenImage->Width(), OffscreenImage->Height()});
  StarField->DrawAll(Stage);
  if (Playing) canvas.Draw(0, PlayfieldHeight - GroundImage->Height(), *GroundImage);
}

void TGlyphfallForm::DrawSprites() {
  AttackWords->DrawAll(Stage);
  BonusWords->DrawAll(Stage);
  if (Session) Session->DrawOverWords(Canvas());
  ExplodeItems->DrawAll(Stage);
  ScoreItems->DrawAll(Stage);
  ZoomItems->DrawAll(Stage);
}

void TGlyphfallForm::PresentFrame() {
  // A watched game's frames are paced and fed by its watcher.
  if (Session && Session->PresentsFrame()) return;
  Platform.PresentFrame(*OffscreenImage);
  Platform.ProcessMessages();
  uint32_t t0 = Platform.GetTickCount();
  const bool held = Platform.IsWindowVisible() && !Platform.IsApplicationActive();
  const bool paused = Platform.Paused();
  if (held) RecordInput(paused ? TReplayInput::Pause : TReplayInput::FocusLost, 0, {});
  while (Platform.IsWindowVisible() && !Platform.IsApplicationActive()) {
    Platform.ProcessMessages();
    Platform.Sleep(InactivePoll);
  }
  if (held) RecordInput(paused ? TReplayInput::Resume : TReplayInput::FocusGained, 0, {});
  uint32_t now = Platform.GetTickCount();
  const uint32_t before = GameTime;
  clock_.Advance(now, now - t0);
  if (Session) Session->FramePresented(GameTime - before);
}

// ---- Input ----

void TGlyphfallForm::KeyDown(uint16_t key, TShiftState shift) {
  RecordInput(TReplayInput::KeyDown, key, shift);
  TypeKey(key);
}

void TGlyphfallForm::TypeKey(uint16_t key) {
  if (Screens.Key(key)) {
    // The screen on top took it.
  } else if (!MenuActive && Menu && Menu->Selected == MenuHighScores) {
    HiScores->NameEntryKey(key);
  } else if (MenuActive && !Platform.Notices().Empty()) {
    // The notices on the menu take the key (or click) that dismisses them.
    Platform.Notices().Dismiss();
  } else {
    switch (key) {
      case vk::Return: MenuActive = false; break;
      case vk::Escape:
        if (Playing)
          Playing = false;
        else
          Platform.CloseWindow();
        break;
      case vk::Left:
      case vk::Up:
        if (Menu) Menu->SelectPrevious();
        break;
      case vk::Right:
      case vk::Down:
        if (Menu) Menu->SelectNext();
        break;
      case '2':
        if (HasSwitch("vbnmq") && CurrentWave) {
          AttackWords->KillAll();
          CurrentWave->WordsLeft = 0;
        }
        break;
      default:
        if (Playing && GameOverStamp == 0) {
          if (key == vk::Space) {
            int32_t bombsBefore = Bombs;
            DetonateBomb();
            Events.BombKey(GameTime, key, Bombs < bombsBefore);
          } else if (key != LastKey && !(Session && Session->KeyAtWords(key))) {
            Events.BeginKey();
            BonusWords->KeyPressed(key);
            AttackWords->KeyPressed(key);
            Events.EndKey(GameTime, key);
          }
        }
        break;
    }
  }
  LastKey = key;
}

void TGlyphfallForm::KeyUp(uint16_t key, TShiftState shift) {
  RecordInput(TReplayInput::KeyUp, key, shift);
  LastKey = 0;
}

void TGlyphfallForm::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  // The wheel only turns the added screens' values; a kept game never holds it.
  if (IsWheel(button)) {
    Screens.Mouse({TMouse::TKind::Down, button, x, y});
    return;
  }
  RecordInput(TReplayInput::MouseDown, 0, shift, x, y, static_cast<uint8_t>(button));
  if (Screens.Mouse({TMouse::TKind::Down, button, x, y})) {
    // The screen on top took it.
  } else if (MenuActive) {
    TypeKey(vk::Return);
  } else if (Menu && Menu->Selected == MenuHighScores) {
    if (Session) Session->TableClicked(y);
    MenuActive = true;
  }
}

void TGlyphfallForm::Close() {
  RecordInput(TReplayInput::Close, 0, {});
  if (Menu) Menu->Selected = MenuQuit;
  Closed = true;
  Platform.HideWindow();
}

// ---- Input kept for replays ----

void TGlyphfallForm::RecordInput(TReplayInput kind, uint16_t key, TShiftState shift, int x, int y, uint8_t button) {
  if (Session) Session->Input({kind, key, ShiftBits(shift), button, x, y});
}

void TGlyphfallForm::TextInput(char32_t c) {
  // Only letters the font draws matter to play, and every one fits 16 bits.
  if (c <= 0xFFFF) RecordInput(TReplayInput::Text, static_cast<uint16_t>(c), {});
  if (Session) Session->TextAtWords(c);
}
