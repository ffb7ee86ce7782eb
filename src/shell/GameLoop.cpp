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
#include "record/History.h"
#include "record/TypingRecord.h"
#include "replay/ReplayUnit.h"
#include "rules/OptionsScreen.h"
#include "rules/Rules.h"
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

// F11 / Alt+Enter (or the browser) switch the window without the options
// screen: the setting follows the window and is saved, so that the row and
// the next start agree with what the player sees.
void FollowFullscreen(TPlatform& platform, TSettings& settings) {
  if (platform.Fullscreen() == settings.Fullscreen) return;
  settings.Fullscreen = platform.Fullscreen();
  SaveSettings(settings, SettingsFile);
}
}  // namespace

TGlyphfallForm::TGlyphfallForm(TPlatform& platform) : Platform(platform) {
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
    UseWordList(WordListArgument(Platform.Args()));
    AttackWords = std::make_unique<TWordList>();
    BonusWords = std::make_unique<TWordList>();
    HiScores = std::make_unique<THiScoreList>();
    Record = std::make_unique<TTypingRecord>();
    Events.Add(*Record);
    LiveWpm = [this](uint32_t now) { return Record->CurrentWpm(now); };
    History = std::make_unique<THistory>(HistoryFilePath());
    OtherHiScores = std::make_unique<THiScoreList>();
    OtherHiScores->FileName = HiScoreTypistFileName;
    OtherHiScores->RulesName = RulesName(TRulesKind::Typist);
    HiScores->RulesName = RulesName(TRulesKind::Classic);

    for (THiScoreList* table : {HiScores.get(), OtherHiScores.get()}) {
      table->LoadHiScores();
      if (table->Count() == 0)
        for (int score = 1000; score >= 100; score -= 100) table->Add(std::make_unique<THiScore>(score, ""));
      table->HighScore = table->Items(0)->Score;
    }
    Settings = LoadSettings(SettingsFile);
    // The command line's --pixel-exact wins over the saved scaling.
    const std::vector<std::string>& args = Platform.Args();
    if (std::find(args.begin(), args.end(), "--pixel-exact") != args.end()) Settings.PixelExact = true;

    Clock.Reset(Platform.GetTickCount());
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
  OtherHiScores.reset();
  Rules.reset();
  Dictionary.reset();
  if (Record) Events.Remove(*Record);
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
  ApplySettings();
  BuildMenu();
  if (!ReplayToWatch.empty()) {
    WatchFile(ReplayToWatch, true);
    if (!Closed) Platform.CloseWindow();
  }
  if (HasSwitch("run") && !Closed) {
    PlayGame();
    FinishGame(false);
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
      case MenuStart:
        PlayGame();
        FinishGame(true);
        if (!Closed && !Practice) HiScores->CheckNewScore(Score, LastReplay);
        PruneKeptReplays();
        break;
      case MenuOptions: ShowOptions(*this); break;
      case MenuHighScores:
        Screen = TScreen::HiScores;
        HiScores->ShowHiScores(-1);
        // A row clicked: its game, then the table again.
        while (WatchRow >= 0 && !Closed) {
          WatchChosenRow();
          if (!Closed) HiScores->ShowHiScores(-1);
        }
        break;
      case MenuStats: ShowStats(); break;
      case MenuQuit: Platform.CloseWindow(); break;
      default: break;
    }
  }
  Screen = TScreen::Ended;
}

void TGlyphfallForm::ShowTitle() {
  Screen = TScreen::Title;
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
  } while (Visible() && !Closed && !HasElapsed(start, TitleDuration));
}

void TGlyphfallForm::RunMenu() {
  Screen = TScreen::Menu;
  LastMousePos = Platform.ScreenToClient(Platform.CursorPos());
  MenuActive = true;
  while (Visible() && !Closed && MenuActive) {
    BeginScreenFrame();
    DrawMenu();
    PresentFrame();
  }
}

void TGlyphfallForm::PlayGame() {
  Screen = TScreen::Play;
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
  KeepReplay();
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
  Rules = MakeRules(Settings.Rules);
  WaveNumber = Settings.StartWave;
  SpeedPercent = Settings.SpeedPercent;
  // Only the bundled list ranks (any other could be made easy at will), and a
  // list given on the command line is another list whatever the setting says.
  Practice = !Settings.Ranked() || LettersAsText();
  Clock.Reset(Platform.GetTickCount());
  WavesLooped = false;
  BeginGameRecord();
  // From the seed a watched game set, or this moment's: word numbers restart.
  GameDeterminism().Start(RandSeedValue());
  Events.GameStarted(
      {GameTime, RulesName(Settings.Rules), RandSeedValue(), WaveNumber, WordListName, SpeedPercent, AccentsExact});
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
  if (Rules) Rules->Draw(Canvas());
  ExplodeItems->DrawAll(Stage);
  ScoreItems->DrawAll(Stage);
  ZoomItems->DrawAll(Stage);
}

void TGlyphfallForm::PresentFrame() {
  if (Watching) {
    // Not while watching: the settings hold the watched game's options then,
    // and the player's own follow the window once they are back.
    PresentReplayFrame();
    return;
  }
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
  Clock.Advance(now, now - t0);
  RecordFrameStep(GameTime - before);
  FollowFullscreen(Platform, Settings);
}

// ---- Input ----

void TGlyphfallForm::KeyDown(uint16_t key, TShiftState shift) {
  RecordInput(TReplayInput::KeyDown, key, shift);
  TypeKey(key);
}

void TGlyphfallForm::TypeKey(uint16_t key) {
  if (Screen == TScreen::Stats) {
    StatsKey(key);
  } else if (Screen == TScreen::Results) {
    PanelInput();
  } else if (Options) {
    Options->KeyDown(key);
  } else if (!MenuActive && Menu && Menu->Selected == MenuHighScores) {
    HiScores->NameEntryKey(key);
  } else if (MenuActive && Screen == TScreen::Menu && !Platform.Notices().Empty()) {
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
          } else if (key != LastKey && !(LettersAsText() && TypesText(key))) {
            Events.BeginKey();
            if (Rules) {
              Rules->KeyPressed(key);
            } else {
              BonusWords->KeyPressed(key);
              AttackWords->KeyPressed(key);
            }
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
  // The wheel only turns the options' values; a kept game never holds it.
  if (IsWheel(button)) {
    if (Options) Options->Click(button, x, y);
    return;
  }
  RecordInput(TReplayInput::MouseDown, 0, shift, x, y, static_cast<uint8_t>(button));
  if (Screen == TScreen::Stats) {
    StatsClick(x, y);
  } else if (Screen == TScreen::Results) {
    PanelInput();
  } else if (Options) {
    Options->Click(button, x, y);
  } else if (MenuActive) {
    TypeKey(vk::Return);
  } else if (Menu && Menu->Selected == MenuHighScores) {
    // On the table on show, a click on a row with a kept game watches it.
    if (Screen == TScreen::HiScores && HiScores->EntryRow < 0 && !Watching) WatchRow = HiScores->ReplayRowAt(y);
    MenuActive = true;
  }
}

void TGlyphfallForm::Close() {
  RecordInput(TReplayInput::Close, 0, {});
  if (Menu) Menu->Selected = MenuQuit;
  Closed = true;
  Platform.HideWindow();
}

// ---- Settings ----

void TGlyphfallForm::ApplySettings() {
  const bool typist = Settings.Rules == TRulesKind::Typist;
  if (typist != (HiScores->FileName == HiScoreTypistFileName)) std::swap(HiScores, OtherHiScores);
  SetEffectsVolume(Settings.Volume);
  Platform.SetPixelExact(Settings.PixelExact);
  Platform.SetFullscreen(Settings.Fullscreen);
  ApplyWordList();
}

uint32_t TGlyphfallForm::Paced(uint32_t ms) const {
  if (SpeedPercent == NormalSpeed || SpeedPercent <= 0) return ms;
  // Rounded to the nearest millisecond, and never below one.
  return std::max<uint32_t>(1, (ms * NormalSpeed + static_cast<uint32_t>(SpeedPercent) / 2) /
                                   static_cast<uint32_t>(SpeedPercent));
}

TColor TGlyphfallForm::ShownColour(TColor colour) const {
  return Settings.HighContrast && colour == clBlue ? HighContrastBlue : colour;
}
