// Games kept and watched again: the form's side of replays. Input enters
// play only through the form's handlers and time only through PresentFrame's
// clock step; a recording keeps both, and watching feeds them back through
// the same handlers, so the game plays exactly as it did.
#include <algorithm>
#include <ctime>
#include <filesystem>

#include "dictionary/DictionaryUnit.h"
#include "dictionary/WordLists.h"
#include "framework/Utils.h"
#include "hiscores/HiScoreUnit.h"
#include "record/TypingRecord.h"
#include "replay/ReplayUnit.h"
#include "shell/GlyphfallUnit.h"
#include "sprites/StarUnit.h"
#include "waves/WaveUnit.h"

namespace {
constexpr size_t KeptRecentReplays = 20;
constexpr int MaxWatchSpeed = 8;
// A watched game that trails the wall clock by more than this (game ms)
// skips showing frames until it has caught up, yet shows one this often.
constexpr uint32_t CatchUpSlack = 50;
constexpr uint32_t MaxUnshown = 100;
constexpr uint32_t MaxPaceSleep = 50;
constexpr uint32_t HoldPoll = 10;
constexpr int CaptionSize = 14;
constexpr int CaptionY = 578;
constexpr TColor CaptionColour = 0x00FFFF;

uint8_t ShiftBits(TShiftState s) { return static_cast<uint8_t>((s.Shift ? 1 : 0) | (s.Ctrl ? 2 : 0) | (s.Alt ? 4 : 0)); }

// Watching plays under the watched game's options; the player's own are put
// back afterwards, whatever happens, so that neither the next game nor the
// settings file takes any of the watched game's.
class TSettingsKept {
 public:
  explicit TSettingsKept(TGlyphfallForm& form) : form_(form), mine_(form.Settings) {}
  ~TSettingsKept() {
    form_.Settings = mine_;
    form_.ApplyWordList();
  }
  TSettingsKept(const TSettingsKept&) = delete;
  TSettingsKept& operator=(const TSettingsKept&) = delete;

 private:
  TGlyphfallForm& form_;
  const TSettings mine_;
};

bool WordListInstalled(const std::string& name) {
  if (name == DefaultWordList) return true;
  for (const TWordListChoice& list : InstalledWordLists())
    if (list.Name == name) return true;
  return false;
}
}  // namespace

// The window's own input while a game is watched: it steers the watching,
// never the game, which gets only the recorded input.
class TReplayWatch : public TInputSink {
 public:
  TReplayWatch(TGlyphfallForm& form, const TReplay& replay, bool paced) : Form(form), Player(replay), Paced(paced) {}
  TGlyphfallForm& Form;
  TReplayPlayer Player;
  const bool Paced;
  // Pacing: game ms played since the base, against wall ms since it.
  uint32_t RealBase = 0, PlayedBase = 0, Played = 0, LastShown = 0;
  // The window was closed in this frame: the game took the frame's other
  // input still, and ended after it.
  bool EndAfterFrame = false;

  void Rebase() {
    RealBase = Form.Platform.GetTickCount();
    PlayedBase = Played;
  }
  void KeyDown(uint16_t key, TShiftState) override {
    if (key == vk::Right)
      Form.WatchSpeed = std::min(MaxWatchSpeed, Form.WatchSpeed * 2);
    else if (key == vk::Left)
      Form.WatchSpeed = std::max(1, Form.WatchSpeed / 2);
    else if (key == vk::Escape)
      Form.Playing = false;
    Rebase();
  }
  void KeyUp(uint16_t, TShiftState) override {}
  void MouseDown(TMouseButton, TShiftState, int, int) override {}
  void MouseMove(TShiftState, int, int) override {}
  void Close() override { Form.Close(); }

  void Deliver(const TReplayEvent& e) {
    // The game ended with an earlier input of this frame; what followed it
    // went to the menu, which is not the watched game's (a second Escape
    // there would close the watcher's window).
    if (!Form.Playing) return;
    TShiftState s{(e.Shift & 1) != 0, (e.Shift & 2) != 0, (e.Shift & 4) != 0};
    switch (e.Kind) {
      case TReplayInput::KeyDown: Form.KeyDown(e.Key, s); break;
      case TReplayInput::KeyUp: Form.KeyUp(e.Key, s); break;
      case TReplayInput::MouseDown: Form.MouseDown(static_cast<TMouseButton>(e.Button), s, e.X, e.Y); break;
      case TReplayInput::MouseMove: Form.MouseMove(s, e.X, e.Y); break;
      case TReplayInput::Text: Form.TextInput(e.Key); break;
      // The game ended there; the watcher's window stays.
      case TReplayInput::Close: EndAfterFrame = true; break;
      // Their time is already left out of the clock steps.
      default: break;
    }
  }
};

void TGlyphfallForm::KeepReplaysIn(const std::string& folder) {
  ReplayFolder = folder;
  if (Recorder) return;
  Recorder = std::make_unique<TReplayRecorder>();
  Recorder->Start.GameVersion = GameVersion;
  Events.Add(*Recorder);
}

void TGlyphfallForm::RecordInput(TReplayInput kind, uint16_t key, TShiftState shift, int x, int y, uint8_t button) {
  if (Recorder && Recorder->Recording()) Recorder->Input({kind, key, ShiftBits(shift), button, x, y});
}

void TGlyphfallForm::RecordFrameStep(uint32_t step) {
  if (Recorder && Recorder->Recording()) Recorder->FrameStep(step);
}

uint64_t TGlyphfallForm::WordsHash() {
  // Another list chosen since makes a new hash.
  if (wordsHashedFor_ != Dictionary.get()) {
    TWordsHash hash;
    for (int i = 0; i < Dictionary->Count(); ++i) hash.Add(Dictionary->Items(i)->Text);
    wordsHash_ = hash.Value();
    wordsHashedFor_ = Dictionary.get();
  }
  return wordsHash_;
}

void TGlyphfallForm::BeginGameRecord() {
  if (Watching) {
    // The watched game's own start instead of this moment's.
    const TReplayHeader& h = Watching->Player.Replay().Header;
    // New stars draw random numbers: they are made before the seed is set.
    StarField->RemoveAll();
    for (const TReplayStar& s : h.Stars) {
      auto star = std::make_unique<TStar>(Stage.OuterSize);
      star->Position = TPoint{s.X, s.Y};
      star->StepStamp = s.StepStamp;
      star->FadeSpeed = s.FadeSpeed;
      star->Colour = s.Colour;
      star->TargetColour = s.TargetColour;
      StarField->Add(std::move(star));
    }
    StarField->ScrollStamp = h.StarScroll;
    Clock.Reset(h.StartTime);
    RandSeed(h.Seed);
    WaveNumber = h.StartWave;
    if (Menu) Menu->Selected = MenuStart;
    MenuActive = false;
    Watching->Rebase();
  } else if (Recorder) {
    TReplayHeader& h = Recorder->Start;
    h.WordsHash = WordsHash();
    h.StarScroll = StarField->ScrollStamp;
    h.Stars.clear();
    for (int i = 0; i < StarField->Count(); ++i) {
      const TStar& s = static_cast<const TStar&>(*StarField->Items(i));
      h.Stars.push_back({s.Position.X, s.Position.Y, s.StepStamp, s.FadeSpeed, s.Colour, s.TargetColour});
    }
  }
}

void TGlyphfallForm::KeepReplay() {
  LastReplay.clear();
  if (!Recorder || ReplayFolder.empty() || Watching) return;
  std::string failure;
  if (Recorder->Overflowed()) failure = "the game was too long";
  // A game in which no letter was typed is not kept: nothing in it to watch.
  if (Recorder->Finished() && Record->Game().Typed()) {
    try {
      LastReplay = SaveReplay(ReplayFolder, Recorder->Replay(), std::time(nullptr));
    } catch (const std::exception& e) {
      failure = e.what();
    }
  }
  Recorder->Taken();
  // Play goes on whatever happens to the file; the player hears of it once.
  if (!failure.empty() && !replayFailureShown_) {
    replayFailureShown_ = true;
    Platform.ShowError(GameCaption, "Could not keep the replay of this game: " + failure + ".");
  }
}

void TGlyphfallForm::PruneKeptReplays() {
  if (ReplayFolder.empty()) return;
  std::vector<const THiScoreList*> tables;
  for (const THiScoreList* table : {HiScores.get(), OtherHiScores.get()})
    if (table) tables.push_back(table);
  THiScoreList::PruneKeptReplays(ReplayFolder, KeptRecentReplays, tables);
}

std::string TGlyphfallForm::ReplayRefusal(const TReplay& replay) {
  const TReplayHeader& h = replay.Header;
  if (std::string why = RevisionRefusal(h.Revision); !why.empty()) return why;
  TRulesKind rules;
  if (!ParseRulesName(h.Rules, rules)) return "it was played under rules this game does not have (" + h.Rules + ")";
  if (std::find(SpeedChoices.begin(), SpeedChoices.end(), h.SpeedPercent) == SpeedChoices.end())
    return "it was played at a speed this game does not offer";
  if (h.StartWave < MinStartWave || h.StartWave > std::min(MaxStartWave, WaveCount))
    return "it starts at a wave this game does not have";
  if (h.WordList != WordListName || h.WordsHash != WordsHash())
    return "it was played with another word list (" + h.WordList + "), so its words would not come the same";
  return std::string();
}

void TGlyphfallForm::WatchReplay(const TReplay& replay, bool paced) {
  TReplayWatch watch(*this, replay, paced);
  TInputSink* sink = Platform.InputSink();
  const std::string caption = Platform.Caption();
  const int32_t highScore = HiScores->HighScore;
  // Put back whatever happens, an exception included.
  struct TRestore {
    TGlyphfallForm& Form;
    TInputSink* Sink;
    const std::string& Caption;
    int32_t HighScore;
    ~TRestore() {
      Form.Watching = nullptr;
      Form.Platform.SetInputSink(Sink);
      Form.Platform.SetCaption(Caption);
      Form.HiScores->HighScore = HighScore;
      if (Form.Recorder) Form.Events.Add(*Form.Recorder);
    }
  } restore{*this, sink, caption, highScore};
  TSettingsKept kept(*this);
  // The game starts with the watched game's options, not the player's.
  const TReplayHeader& h = replay.Header;
  ParseRulesName(h.Rules, Settings.Rules);
  Settings.StartWave = h.StartWave;
  Settings.SpeedPercent = h.SpeedPercent;
  Settings.Words = h.WordList;
  Settings.AccentsExact = AccentsExact = h.AccentsExact;
  if (Recorder) Events.Remove(*Recorder);
  Platform.SetInputSink(&watch);
  Platform.SetCaption(caption + " - REPLAY");
  Watching = &watch;
  WatchSpeed = 1;
  PlayGame();
}

bool TGlyphfallForm::WatchFile(const std::string& path, bool paced) {
  try {
    TReplay replay = LoadReplay(path);
    const std::string& list = replay.Header.WordList;
    if (WordListArgument(Platform.Args()).empty() && !WordListInstalled(list))
      throw EReplayError(path + ": it was played with the word list " + list + ", which is not installed here");
    // The game's words come from the list it was played with, for as long
    // as it is watched.
    TSettingsKept kept(*this);
    Settings.Words = list;
    ApplyWordList();
    const std::string why = ReplayRefusal(replay);
    if (!why.empty()) throw EReplayError(path + ": " + why);
    WatchReplay(replay, paced);
    return true;
  } catch (const EReplayError& e) {
    Platform.ShowError(GameCaption, std::string("Cannot show the replay ") + e.what() + ".");
    return false;
  }
}

void TGlyphfallForm::WatchKept(const std::string& name) {
  // The menu goes on showing the score of the player's own last game.
  const int32_t score = Score;
  WatchFile((std::filesystem::path(ReplayFolder) / name).string(), true);
  Score = score;
}

void TGlyphfallForm::WatchChosenRow() {
  const int32_t row = WatchRow;
  WatchRow = -1;
  if (row < 0 || row >= HiScores->Count() || HiScores->Items(row)->Replay.empty()) return;
  WatchKept(HiScores->Items(row)->Replay);
}

void TGlyphfallForm::PresentReplayFrame() {
  TReplayWatch& w = *Watching;
  TCanvas& canvas = Canvas();
  canvas.Font.Size = CaptionSize;
  canvas.Font.Bold = true;
  UseSmoothFont(canvas);
  const std::string caption = "REPLAY  x" + std::to_string(WatchSpeed);
  DrawText((PlayfieldWidth - canvas.TextWidth(caption)) / 2, CaptionY, caption, CaptionColour, 1);

  uint32_t now = Platform.GetTickCount();
  const uint32_t due = (now - w.RealBase) * static_cast<uint32_t>(WatchSpeed);
  const uint32_t played = w.Played - w.PlayedBase;
  if (!w.Paced || played + CatchUpSlack >= due || now - w.LastShown >= MaxUnshown) {
    Platform.PresentFrame(*OffscreenImage);
    w.LastShown = now;
  }
  Platform.ProcessMessages();
  if (Platform.IsWindowVisible() && !Platform.IsApplicationActive()) {
    while (Platform.IsWindowVisible() && !Platform.IsApplicationActive()) {
      Platform.ProcessMessages();
      Platform.Sleep(HoldPoll);
    }
    w.Rebase();
  } else if (w.Paced && played > due) {
    Platform.Sleep(std::min((played - due) / static_cast<uint32_t>(WatchSpeed), MaxPaceSleep));
  }
  if (!Playing || Closed) return;
  if (w.Player.AtEnd()) {
    Playing = false;
    return;
  }
  const uint32_t step = w.Player.NextFrame([&w](const TReplayEvent& e) { w.Deliver(e); });
  w.Played += step;
  GameTime += step;
  if (w.EndAfterFrame) Playing = false;
}
