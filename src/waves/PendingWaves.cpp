// TEMPORARY stand-ins until the wave engine lands. Delete this file when
// merging that work.
#include "waves/WaveUnit.h"

TWave::~TWave() = default;
void TWave::NextStage() {}
void TWave::Update() {}
bool TWave::IsComplete() const { return false; }
void TWave::UpdateBonuses() {}
std::unique_ptr<TWave> CreateWave(int) { return nullptr; }

// What the words need from the waves until the wave engine lands (also
// temporary; the wave engine's own definitions replace these).
#include "shell/GlyphfallUnit.h"
#include "words/WordUnit.h"
#include "framework/Utils.h"

TWave::TWave() { StageStart = GlyphfallForm ? GlyphfallForm->GameTime : 0; }
void TWave::SetTierLimits(int32_t t1, int32_t t2, int32_t t3, int32_t t4) { TierLimits = {t1, t2, t3, t4}; }
uint8_t TWave::ChooseTier() const {
  int32_t r = Random(100) + 1;
  uint8_t tier = 0;
  if (TierLimits[0] <= r && r <= TierLimits[1]) tier = 1;
  else if (TierLimits[1] <= r && r <= TierLimits[2]) tier = 2;
  else if (TierLimits[3] != 0 && TierLimits[2] <= r && r <= TierLimits[3]) tier = 3;
  return GlyphfallForm && GlyphfallForm->WavesLooped ? 3 : tier;
}
std::unique_ptr<TSpriteWord> TWordType::TryCreate(const TWord& entry) const {
  if (Random(Chance) != 0) return nullptr;
  uint8_t tier = GlyphfallForm && GlyphfallForm->CurrentWave ? GlyphfallForm->CurrentWave->ChooseTier() : 0;
  return WordClass->CreateFromWord(entry, tier, DirLeft, nullptr);
}

namespace {
class TPendingBonusKind : public TWordKind {
 public:
  using TWordKind::TWordKind;
  std::unique_ptr<TSpriteWord> CreateFromText(const std::string&, uint8_t, uint8_t, TBitmap*) const override {
    return nullptr;
  }
  std::unique_ptr<TSpriteWord> CreateFromWord(const TWord&, uint8_t, uint8_t, TBitmap*) const override {
    return nullptr;
  }
};
}  // namespace

const TWordKind& TBonusWord::ClassRef() {
  static const TPendingBonusKind kind("TBonusWord", &TSpriteWord::ClassRef());
  return kind;
}
void TBonusWord::OnRemove() {}
bool TBonusWord::IsDead() { return TSpriteWord::IsDead(); }
void TBonusWord::DrawLetters() { TSpriteWord::DrawLetters(); }
void TBonusWord::Reward() {}
