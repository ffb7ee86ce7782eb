// The session: the additions' side of the form's hooks, and the adapter that
// shows them the game through the narrow interfaces.
#include "shell/Session.h"

#include <algorithm>
#include <filesystem>

#include "Product.h"
#include "dictionary/DictionaryUnit.h"
#include "framework/Utils.h"
#include "hiscores/HiScoreUnit.h"
#include "record/History.h"
#include "record/TypingRecord.h"
#include "replay/ReplayUnit.h"
#include "shell/GlyphfallUnit.h"
#include "sound/SoundEffects.h"
#include "sprites/StarUnit.h"
#include "words/WordUnit.h"

namespace {
// F11 / Alt+Enter (or the browser) switch the window without the options
// screen: the setting follows the window and is saved, so that the row and
// the next start agree with what the player sees.
void FollowFullscreen(TPlatform& platform, TSettings& settings) {
  if (platform.Fullscreen() == settings.Fullscreen) return;
  settings.Fullscreen = platform.Fullscreen();
  SaveSettings(settings, SettingsFile);
}

std::string HistoryPath() {
  return (std::filesystem::path(HiScoreFilePath()).parent_path() / HistoryFileName).string();
}

// An empty table starts as the game's first one did.
void LoadTable(THiScoreList& table) {
  table.LoadHiScores();
  if (table.Count() == 0)
    for (int score = 1000; score >= 100; score -= 100) table.Add(std::make_unique<THiScore>(score, ""));
  table.HighScore = table.Items(0)->Score;
}
}  // namespace

// The game as the additions see it: the form behind the narrow interfaces.
class TSession::TFormAdapter : public TPlay, public TScreenHost, public TWatchedGame {
 public:
  explicit TFormAdapter(TGlyphfallForm& form) : form_(form) {}

  TWordList& AttackWords() override { return *form_.AttackWords; }
  TWordList& BonusWords() override { return *form_.BonusWords; }
  const TGameClock& Clock() const override { return form_.Stage.Clock; }
  TGameEvents& Events() override { return form_.Events; }
  int32_t Score() const override { return form_.Score; }
  int32_t WaveNumber() const override { return form_.WaveNumber; }
  bool Playing() const override { return form_.Playing; }
  int32_t CastleFront() const override { return CastleColumns * BrickSize; }
  void PlaySound(const char* file) override { PlaySoundFile(file); }

  TPlatform& Platform() override { return form_.Platform; }
  TCanvas& Canvas() override { return form_.Canvas(); }
  void BeginFrame() override {
    form_.StarField->UpdateAll(form_.Stage);
    form_.DrawBackground();
    form_.DrawHud();
  }
  void PresentFrame() override { form_.PresentFrame(); }
  bool Closed() const override { return form_.Closed; }
  void DrawText(int x, int y, std::string_view text, TColor colour, int shadow) override {
    form_.DrawText(x, y, text, colour, shadow);
  }

  TScreenHost& Host() override { return *this; }
  TInputSink& GameInput() override { return form_; }
  void StopPlaying() override { form_.Playing = false; }
  void Show() override { form_.Platform.PresentFrame(*form_.OffscreenImage); }
  void Advance(uint32_t step) override { form_.GameTime += step; }

 private:
  TGlyphfallForm& form_;
};

TSession::TSession(TGlyphfallForm& form) : form_(form), adapter_(std::make_unique<TFormAdapter>(form)) {
  UseWordList(WordListArgument(form_.Platform.Args()));
  form_.HiScores->RulesName = ClassicRules;
  for (const TRulesSet& set : RulesSets()) {
    if (set.HiScoreFile == form_.HiScores->FileName) continue;
    auto table = std::make_unique<THiScoreList>();
    table->FileName = set.HiScoreFile;
    table->RulesName = set.Name;
    LoadTable(*table);
    otherTables_.push_back(std::move(table));
  }
  record_ = std::make_unique<TTypingRecord>();
  form_.Events.Add(*record_);
  history_ = std::make_unique<THistory>(HistoryPath());
  settings_ = LoadSettings(SettingsFile);
  // The command line's --pixel-exact wins over the saved scaling.
  const std::vector<std::string>& args = form_.Platform.Args();
  if (std::find(args.begin(), args.end(), "--pixel-exact") != args.end()) settings_.PixelExact = true;
  form_.Session = this;
}

TSession::~TSession() {
  if (form_.Session == this) form_.Session = nullptr;
  if (recorder_) form_.Events.Remove(*recorder_);
  form_.Events.Remove(*record_);
}

TPlay& TSession::Play() { return *adapter_; }
TScreenHost& TSession::Host() { return *adapter_; }
const TGameFigures& TSession::LastGame() { return record_->Game(); }

void TSession::AddMenuScreen(TMenuEntry entry, TScreenMaker make) {
  menuScreens_.push_back({std::move(entry), std::move(make)});
}

// ---- Settings ----

void TSession::ApplySettings() {
  const TRulesSet* set = FindRulesSet(settings_.Rules);
  const std::string& file = set ? set->HiScoreFile : form_.HiScores->FileName;
  for (std::unique_ptr<THiScoreList>& table : otherTables_)
    if (table->FileName == file) std::swap(table, form_.HiScores);
  SetEffectsVolume(settings_.Volume);
  form_.Platform.SetPixelExact(settings_.PixelExact);
  form_.Platform.SetFullscreen(settings_.Fullscreen);
  form_.Stage.HighContrast = settings_.HighContrast;
  ApplyWordList();
}

// ---- The form's hooks ----

void TSession::Begin() {
  ApplySettings();
  if (!ReplayToWatch.empty()) {
    WatchFile(ReplayToWatch, true);
    if (!form_.Closed) form_.Platform.CloseWindow();
  }
}

std::vector<TMenuEntry> TSession::MenuEntries() const {
  std::vector<TMenuEntry> entries;
  for (const TMenuScreen& s : menuScreens_) entries.push_back(s.Entry);
  return entries;
}

void TSession::MenuChosen(uint8_t id) {
  for (const TMenuScreen& s : menuScreens_)
    if (s.Entry.Id == id) form_.Screens.Run(Host(), s.Make(*this));
}

void TSession::GameStarting() {
  const TRulesSet* set = FindRulesSet(settings_.Rules);
  rules_ = set && set->Make ? set->Make(Play()) : nullptr;
  form_.WaveNumber = settings_.StartWave;
  form_.Stage.SpeedPercent = settings_.SpeedPercent;
  // Only the bundled list ranks (any other could be made easy at will), and a
  // list given on the command line is another list whatever the setting says.
  practice_ = !settings_.Ranked() || LettersAsText();
  BeginGameRecord();
  form_.Events.GameStarted({form_.GameTime, settings_.Rules, RandSeedValue(), form_.WaveNumber, wordListName_,
                            form_.Stage.SpeedPercent, accentsExact_});
}

bool TSession::GameFinished(bool showResults, std::string& replay) {
  KeepReplay();
  replay = lastReplay_;
  const TGameFigures& game = record_->Game();
  if (game.Typed()) {
    // Saved only now the game is over: play never waits on the disk.
    history_->Save(game);
    if (showResults && !form_.Closed && makeResults_) form_.Screens.Run(Host(), makeResults_(*this));
  }
  return !practice_;
}

bool TSession::KeyAtWords(uint16_t key) {
  if (LettersAsText() && TypesText(key)) return true;
  if (!rules_) return false;
  form_.Events.BeginKey();
  rules_->KeyPressed(key);
  form_.Events.EndKey(form_.GameTime, key);
  return true;
}

void TSession::DrawOverWords(TCanvas& canvas) {
  if (rules_) rules_->Draw(canvas);
}

THudNotes TSession::HudNotes() {
  THudNotes notes;
  if (practice_) notes.UnderWave = "PRACTICE";
  if (settings_.LiveWpm)
    notes.UnderScore = std::to_string(static_cast<int>(record_->CurrentWpm(form_.GameTime) + 0.5)) + " WPM";
  return notes;
}

void TSession::FramePresented(uint32_t step) {
  if (recorder_ && recorder_->Recording()) recorder_->FrameStep(step);
  FollowFullscreen(form_.Platform, settings_);
}

bool TSession::PresentsFrame() {
  if (!watching_) return false;
  watching_->PresentFrame(*adapter_);
  return true;
}

