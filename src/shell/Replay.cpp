// Games kept and watched again: the session's side of replays. Input enters
// play only through the form's handlers and time only through PresentFrame's
// clock step; a recording keeps both, and watching feeds them back through
// the same handlers, so the game plays exactly as it did.
#include <algorithm>
#include <ctime>
#include <filesystem>

#include "Product.h"
#include "dictionary/DictionaryUnit.h"
#include "dictionary/WordLists.h"
#include "framework/Utils.h"
#include "hiscores/HiScoreUnit.h"
#include "record/TypingRecord.h"
#include "replay/ReplayUnit.h"
#include "shell/GlyphfallUnit.h"
#include "shell/Session.h"
#include "sprites/StarUnit.h"
#include "waves/WaveUnit.h"

namespace {
constexpr size_t KeptRecentReplays = 20;

// Watching plays under the watched game's options; the player's own are put
// back afterwards, whatever happens, so that neither the next game nor the
// settings file takes any of the watched game's.
class TSettingsKept {
 public:
  explicit TSettingsKept(TSession& session) : session_(session), mine_(session.Settings()) {}
  ~TSettingsKept() {
    session_.Settings() = mine_;
    session_.ApplyWordList();
  }
  TSettingsKept(const TSettingsKept&) = delete;
  TSettingsKept& operator=(const TSettingsKept&) = delete;

 private:
  TSession& session_;
  const TSettings mine_;
};

bool WordListInstalled(const std::string& name) {
  if (name == DefaultWordList) return true;
  for (const TWordListChoice& list : InstalledWordLists())
    if (list.Name == name) return true;
  return false;
}
}  // namespace

void TSession::KeepReplaysIn(const std::string& folder) {
  replayFolder_ = folder;
  if (recorder_) return;
  recorder_ = std::make_unique<TReplayRecorder>();
  recorder_->Start.GameVersion = GameVersion;
  form_.Events.Add(*recorder_);
}

void TSession::Input(const TReplayEvent& event) {
  if (recorder_ && recorder_->Recording()) recorder_->Input(event);
}

uint64_t TSession::WordsHash() {
  // Another list chosen since makes a new hash.
  if (wordsHashedFor_ != form_.Dictionary.get()) {
    TWordsHash hash;
    for (int i = 0; i < form_.Dictionary->Count(); ++i) hash.Add(form_.Dictionary->Items(i)->Text);
    wordsHash_ = hash.Value();
    wordsHashedFor_ = form_.Dictionary.get();
  }
  return wordsHash_;
}

void TSession::BeginGameRecord() {
  if (watchedStart_) {
    // The watched game's own start instead of this moment's.
    const TReplayHeader& h = *watchedStart_;
    // New stars draw random numbers: they are made before the seed is set.
    form_.StarField->RemoveAll();
    for (const TReplayStar& s : h.Stars) {
      auto star = std::make_unique<TStar>(form_.Stage.OuterSize);
      star->Position = TPoint{s.X, s.Y};
      star->StepStamp = s.StepStamp;
      star->FadeSpeed = s.FadeSpeed;
      star->Colour = s.Colour;
      star->TargetColour = s.TargetColour;
      form_.StarField->Add(std::move(star));
    }
    form_.StarField->ScrollStamp = h.StarScroll;
    form_.GameTime = h.StartTime;
    form_.PausedTime = 0;
    RandSeed(h.Seed);
    form_.WaveNumber = h.StartWave;
    if (form_.Menu) form_.Menu->Selected = MenuStart;
    form_.MenuActive = false;
  } else if (recorder_) {
    TReplayHeader& h = recorder_->Start;
    h.WordsHash = WordsHash();
    h.StarScroll = form_.StarField->ScrollStamp;
    h.Stars.clear();
    for (int i = 0; i < form_.StarField->Count(); ++i) {
      const TStar& s = static_cast<const TStar&>(*form_.StarField->Items(i));
      h.Stars.push_back({s.Position.X, s.Position.Y, s.StepStamp, s.FadeSpeed, s.Colour, s.TargetColour});
    }
  }
}

void TSession::KeepReplay() {
  lastReplay_.clear();
  if (!recorder_ || replayFolder_.empty() || watching_) return;
  std::string failure;
  if (recorder_->Overflowed()) failure = "the game was too long";
  // A game in which no letter was typed is not kept: nothing in it to watch.
  if (recorder_->Finished() && record_->Game().Typed()) {
    try {
      lastReplay_ = SaveReplay(replayFolder_, recorder_->Replay(), std::time(nullptr));
    } catch (const std::exception& e) {
      failure = e.what();
    }
  }
  recorder_->Taken();
  // Play goes on whatever happens to the file; the player hears of it once.
  if (!failure.empty() && !replayFailureShown_) {
    replayFailureShown_ = true;
    form_.Platform.ShowError(GameCaption, "Could not keep the replay of this game: " + failure + ".");
  }
}

void TSession::ScoreChecked() {
  if (replayFolder_.empty()) return;
  std::vector<const THiScoreList*> tables{form_.HiScores.get()};
  for (const std::unique_ptr<THiScoreList>& table : otherTables_) tables.push_back(table.get());
  THiScoreList::PruneKeptReplays(replayFolder_, KeptRecentReplays, tables);
}

std::string TSession::ReplayRefusal(const TReplay& replay) {
  const TReplayHeader& h = replay.Header;
  if (std::string why = RevisionRefusal(h.Revision); !why.empty()) return why;
  if (!FindRulesSet(h.Rules)) return "it was played under rules this game does not have (" + h.Rules + ")";
  if (std::find(SpeedChoices.begin(), SpeedChoices.end(), h.SpeedPercent) == SpeedChoices.end())
    return "it was played at a speed this game does not offer";
  if (h.StartWave < MinStartWave || h.StartWave > std::min(MaxStartWave, WaveCount))
    return "it starts at a wave this game does not have";
  if (h.WordList != wordListName_ || h.WordsHash != WordsHash())
    return "it was played with another word list (" + h.WordList + "), so its words would not come the same";
  return std::string();
}

void TSession::PlayReplay(const TReplay& replay, TReplayPresenter& presenter, TInputSink& window) {
  TPlatform& platform = form_.Platform;
  TInputSink* sink = platform.InputSink();
  const std::string caption = platform.Caption();
  const int32_t highScore = form_.HiScores->HighScore;
  // Put back whatever happens, an exception included; the menu goes on
  // showing the score of the player's own last game.
  struct TRestore {
    TSession& Session;
    TInputSink* Sink;
    const std::string& Caption;
    int32_t HighScore, Score;
    ~TRestore() {
      Session.form_.Score = Score;
      Session.watching_ = nullptr;
      Session.watchedStart_ = nullptr;
      Session.form_.Platform.SetInputSink(Sink);
      Session.form_.Platform.SetCaption(Caption);
      Session.form_.HiScores->HighScore = HighScore;
      if (Session.recorder_) Session.form_.Events.Add(*Session.recorder_);
    }
  } restore{*this, sink, caption, highScore, form_.Score};
  TSettingsKept kept(*this);
  // The game starts with the watched game's options, not the player's.
  const TReplayHeader& h = replay.Header;
  settings_.Rules = h.Rules;
  settings_.StartWave = h.StartWave;
  settings_.SpeedPercent = h.SpeedPercent;
  settings_.Words = h.WordList;
  settings_.AccentsExact = h.AccentsExact;
  ApplyWordList();
  if (recorder_) form_.Events.Remove(*recorder_);
  platform.SetInputSink(&window);
  platform.SetCaption(caption + " - REPLAY");
  watching_ = &presenter;
  watchedStart_ = &h;
  form_.PlayGame();
}

std::unique_ptr<TReplay> TSession::LoadForWatching(const std::string& path) {
  try {
    auto replay = std::make_unique<TReplay>(LoadReplay(path));
    const std::string& list = replay->Header.WordList;
    if (WordListArgument(form_.Platform.Args()).empty() && !WordListInstalled(list))
      throw EReplayError(path + ": it was played with the word list " + list + ", which is not installed here");
    // The game's words come from the list it was played with, for as long
    // as it is watched.
    TSettingsKept kept(*this);
    settings_.Words = list;
    ApplyWordList();
    const std::string why = ReplayRefusal(*replay);
    if (!why.empty()) throw EReplayError(path + ": " + why);
    return replay;
  } catch (const EReplayError& e) {
    form_.Platform.ShowError(GameCaption, std::string("Cannot show the replay ") + e.what() + ".");
    return nullptr;
  }
}

bool TSession::WatchFile(const std::string& path, bool paced) {
  std::unique_ptr<TReplay> replay = LoadForWatching(path);
  if (!replay || !makeWatch_) return false;
  form_.Screens.Run(Host(), makeWatch_(*this, std::move(replay), paced));
  return true;
}

void TSession::TableClicked(int y) {
  // On the table on show, a click on a row with a kept game watches it.
  if (!form_.Playing && form_.HiScores->EntryRow < 0 && !watching_) watchRow_ = form_.HiScores->ReplayRowAt(y);
}

bool TSession::WatchClickedRow() {
  const int32_t row = watchRow_;
  watchRow_ = -1;
  if (row < 0 || row >= form_.HiScores->Count() || form_.HiScores->Items(row)->Replay.empty()) return false;
  WatchFile((std::filesystem::path(replayFolder_) / form_.HiScores->Items(row)->Replay).string(), true);
  return !form_.Closed;
}
