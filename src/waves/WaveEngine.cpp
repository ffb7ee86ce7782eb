// The wave engine: when a word is released, of which kind and how fast, which
// bonus words fall, and when a stage or the whole wave is over.
#include <string>

#include "framework/Utils.h"
#include "shell/GlyphfallUnit.h"
#include "waves/WaveUnit.h"
#include "words/WordUnit.h"

namespace {

constexpr TColor WaveMessageColour = 0x00AA00;
// A new bonus word waits until the last one has fallen below this line.
constexpr int32_t BonusEntryLine = 66;
// The stage after the salvo: the wave has nothing left to do.
constexpr int32_t LastStage = 2;

bool AnyWordOfKind(const TWordList& list, const TWordKind* kind) {
  for (int i = 0; i < list.Count(); ++i)
    if (kind->IsKindOf(*list.Words(i))) return true;
  return false;
}

}  // namespace

// ---- TWordType ----

std::unique_ptr<TSpriteWord> TWordType::TryCreate(const TWord& entry) const {
  if (Random(Chance) != 0) return nullptr;
  TWave* wave = GlyphfallForm->CurrentWave.get();
  uint8_t tier = wave ? wave->ChooseTier() : 0;
  return WordClass->CreateFromWord(entry, tier, DirLeft, nullptr);
}

// ---- TBonus ----

TBonus::TBonus(const TWordKind* wordClass, int32_t interval)
    : Stamp(GlyphfallForm->GameTime), Interval(interval), WordClass(wordClass) {}

void TBonus::Update() {
  TWordList& bonusWords = *GlyphfallForm->BonusWords;
  int top = bonusWords.TopmostIndex();
  if (top >= 0 && bonusWords.Words(top)->Position.Y <= BonusEntryLine) return;
  // The stamp renews here even when the kind is still on screen.
  if (!GlyphfallForm->TickEvery(Stamp, static_cast<uint32_t>(Interval))) return;
  if (AnyWordOfKind(bonusWords, WordClass)) return;
  std::unique_ptr<TBonusWord> word = WordClass->CreateBonus();
  if (word && word->IsAvailable()) bonusWords.Add(std::move(word));
}

// ---- TWave ----

TWave::TWave() {
  GlyphfallForm->SetCentreMessage("WAVE " + std::to_string(GlyphfallForm->WaveNumber), WaveMessageColour);
  StageStart = GlyphfallForm->GameTime;
}

TWave::~TWave() = default;

void TWave::SetTierLimits(int32_t t1, int32_t t2, int32_t t3, int32_t t4) { TierLimits = {t1, t2, t3, t4}; }

void TWave::RestartStageClock() { StageStart = GlyphfallForm->GameTime; }

uint8_t TWave::ChooseTier() const {
  int32_t r = Random(100) + 1;
  const auto [t1, t2, t3, t4] = TierLimits;
  uint8_t tier = 0;
  if (t1 <= r && r <= t2)
    tier = 1;
  else if (t2 <= r && r <= t3)
    tier = 2;
  else if (t4 != 0 && t3 <= r && r <= t4)
    tier = 3;
  // Once the game has gone round, every word is as fast as a wave allows.
  if (GlyphfallForm->WavesLooped) tier = 3;
  return tier;
}

void TWave::Update() {
  if (StageStart != 0 && !GlyphfallForm->HasElapsed(StageStart, StagePause)) return;
  if (GlyphfallForm->GameOverStamp != 0) return;
  int counted = GlyphfallForm->AttackWords->CountedWords();
  if (WordsLeft - counted >= 1 && counted < MaxWords) {
    if (SalvoRunning())
      ReleaseSalvoWord();
    else
      GlyphfallForm->AttackWords->SpawnWord();
    return;
  }
  if (WordsLeft <= 0) {
    SalvoWords.reset();
    // May refuse while missiles still fly; then it is tried again next frame.
    NextStage();
  }
}

bool TWave::IsComplete() const {
  // Only a wave that has really passed its salvo is done, and nothing is done
  // once the game is lost: "GAME OVER" stays until the play loop ends.
  return WordsLeft <= 0 && Stage >= LastStage && GlyphfallForm->GameOverStamp == 0;
}

void TWave::UpdateBonuses() {
  for (int i = 0; i < Bonuses.Count(); ++i) Bonuses[i]->Update();
}

void TWave::NextStage() {
  if (GlyphfallForm->AttackWords->CountedWords() > 0) return;
  if (GlyphfallForm->GameOverStamp != 0) return;
  ++Stage;
  WordsLeft = 0;
  StageSetup();
}

bool TWave::BonusWordOfClassPresent(const TWordKind* wordClass) const {
  return AnyWordOfKind(*GlyphfallForm->BonusWords, wordClass);
}

void TWave::RestampBonus(const TWordKind* wordClass) {
  for (int i = 0; i < Bonuses.Count(); ++i)
    if (Bonuses[i]->WordClass == wordClass) {
      Bonuses[i]->Stamp = GlyphfallForm->GameTime;
      return;
    }
}

std::unique_ptr<TWave> CreateWave(int n) {
  const TWaveKind* kind = WaveClass(n);
  return kind ? kind->Create() : nullptr;
}
