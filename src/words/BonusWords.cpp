// Bonus words: they fall from the top, never touch the castle, and typed out
// they give an effect instead of points.
#include <memory>
#include <string>

#include "framework/TextUtils.h"
#include "framework/Utils.h"
#include "platform/Utf8.h"
#include "shell/GlyphfallUnit.h"
#include "sound/SoundEffects.h"
#include "waves/WaveUnit.h"
#include "words/WordUnit.h"

namespace {

constexpr uint8_t BonusTier = 3;
constexpr TPoint BonusStart{100, 50};  // x is the leftmost start, right of the castle
constexpr int32_t CastleWidth = 96;
constexpr TColor CastleMessageColour = 0xFF0000;
constexpr int32_t BombSlotsRight = 320;
constexpr int32_t BombSlotDrop = 6;

// TBonusWord is abstract: its class reference can test kinds but create none.
class TAbstractWordKind : public TWordKind {
 public:
  using TWordKind::TWordKind;
  std::unique_ptr<TSpriteWord> CreateFromText(const std::string&, uint8_t, uint8_t, TBitmap*) const override {
    return nullptr;
  }
  std::unique_ptr<TSpriteWord> CreateFromWord(const TWord&, uint8_t, uint8_t, TBitmap*) const override {
    return nullptr;
  }
};

// A bonus kind's class reference adds the parameterless creation.
template <class W>
class TBonusKindOf : public TWordKindOf<W> {
 public:
  using TWordKindOf<W>::TWordKindOf;
  std::unique_ptr<TBonusWord> CreateBonus() const override {
    auto word = std::make_unique<W>();
    word->CreateBonus();
    return word;
  }
};

void PlusIconOver(const TSpriteWord& word, TBitmap* icon) {
  GlyphfallForm->ScoreItems->Add(std::make_unique<TScoreItem>(GlyphfallForm->Canvas(), word.Position, "+ ", icon));
}

}  // namespace

// ---- Class references ----

const TWordKind& TBonusWord::ClassRef() {
  static const TAbstractWordKind kind("TBonusWord", &TSpriteWord::ClassRef());
  return kind;
}
const TWordKind& TBrickWord::ClassRef() {
  static const TBonusKindOf<TBrickWord> kind("TBrickWord", &TBonusWord::ClassRef());
  return kind;
}
const TWordKind& TCastleWord::ClassRef() {
  static const TBonusKindOf<TCastleWord> kind("TCastleWord", &TBrickWord::ClassRef());
  return kind;
}
const TWordKind& TBombWord::ClassRef() {
  static const TBonusKindOf<TBombWord> kind("TBombWord", &TBonusWord::ClassRef());
  return kind;
}
const TWordKind& TSlowDownWord::ClassRef() {
  static const TBonusKindOf<TSlowDownWord> kind("TSlowDownWord", &TBonusWord::ClassRef());
  return kind;
}
const TWordKind& TRetreatWord::ClassRef() {
  static const TBonusKindOf<TRetreatWord> kind("TRetreatWord", &TBonusWord::ClassRef());
  return kind;
}

// ---- TBonusWord ----

void TBonusWord::CreateBonusWord(const std::string& name, TBitmap* icon) {
  CreateFromText(name, BonusTier, DirFalling, icon);
  int32_t room = GlyphfallForm->OffscreenImage->Width() - CastleWidth - TextWidthAt(name);
  PlaceAt(TPoint{BonusStart.X + Random(room), BonusStart.Y});
  // Tier 3 for life, and always in one row.
  SlowsWhenTyped = false;
  MayTurnVertical = false;
}

void TBonusWord::OnRemove() {
  // A bonus word is not one of the wave's words: its leaving restarts its
  // kind's interval instead.
  if (TWave* wave = GlyphfallForm->CurrentWave.get()) wave->RestampBonus(&Kind());
}

bool TBonusWord::IsDead() {
  if (TSpriteWord::IsDead()) return true;
  int32_t ground = GlyphfallForm->OffscreenImage->Height() - GlyphfallForm->GroundImage->Height() -
                   TextExtentAt(GlyphfallForm->Canvas(), FontSize(), Text).cy;
  if (Position.Y < ground) return false;
  Explode("explode.wav", true);  // missed: it bursts and gives nothing
  Finish(TWordEnd::Missed);
  return true;
}

void TBonusWord::DrawLetters(TCanvas& canvas) {
  TLayout layout = TextLayout();
  SetWordFont(canvas);
  canvas.Brush.Style = TBrushStyle::Clear;
  // The colours count from the current first letter, so they move along the
  // word as it is typed.
  std::string_view text(Text);
  size_t k = 0;
  for (size_t i = 0; i < text.size(); i += CharBytes(text, i), ++k) {
    canvas.Font.Color = BonusColours[k % BonusColours.size()];
    int32_t x = Position.X + canvas.TextWidth(text.substr(0, i));
    canvas.TextOut(x, layout.TextTop, CharAt(text, i));
  }
}

void TBonusWord::Reward() { GlyphfallForm->AwardScore(TPoint{IconX(), Position.Y}, 0, "+ ", Icon); }

// ---- TBrickWord ----

void TBrickWord::CreateBonus() { CreateBonusWord("BRICK", GlyphfallForm->BrickImage.get()); }

bool TBrickWord::IsAvailable() const { return GlyphfallForm->AnyBrickDamaged(); }

void TBrickWord::Reward() {
  TBonusWord::Reward();
  PlaySoundFile("wave\\brick.wav");
  TPoint repaired = GlyphfallForm->RepairBricks(false);
  if (repaired.X != -1) ShowRepair(repaired);
}

void TBrickWord::ShowRepair(TPoint p) { GlyphfallForm->ZoomItems->Add(std::make_unique<TZoomItem>(p, Icon)); }

// ---- TCastleWord ----

void TCastleWord::CreateBonus() { CreateBonusWord("CASTLE", GlyphfallForm->GoldBrickImage.get()); }

void TCastleWord::Reward() {
  TBrickWord::Reward();
  PlaySoundFile("wave\\castle.wav");
  GlyphfallForm->RepairBricks(true);
  GlyphfallForm->SetCentreMessage("CASTLE RESTORED!", CastleMessageColour);
}

// ---- TBombWord ----

void TBombWord::CreateBonus() { CreateBonusWord("BOMB", GlyphfallForm->BombImage.get()); }

// Asked when the word would be released, not when it is typed: a bomb earned
// by points meanwhile does not spoil the one falling.
bool TBombWord::IsAvailable() const { return GlyphfallForm->Bombs < MaxBombs; }

void TBombWord::Reward() {
  TBonusWord::Reward();
  PlaySoundFile("wave\\bomb.wav");
  ++GlyphfallForm->Bombs;
  // Re-arm the "PRESS SPACE" hint.
  GlyphfallForm->PressSpaceHints = 0;
  GlyphfallForm->BlinkOn = false;
  GlyphfallForm->BlinkStamp = GlyphfallForm->GameTime;
  TPoint slot{BombSlotsRight - GlyphfallForm->Bombs * GlyphfallForm->BombImage->Width(),
              GlyphfallForm->HudValueY() + BombSlotDrop};
  GlyphfallForm->ZoomItems->Add(std::make_unique<TZoomItem>(slot, Icon));
}

// ---- TSlowDownWord ----

void TSlowDownWord::CreateBonus() { CreateBonusWord("SLOWDOWN", GlyphfallForm->ClockImage.get()); }

void TSlowDownWord::Reward() {
  TBonusWord::Reward();
  PlaySoundFile("wave\\slowdown.wav");
  TWordList& attackWords = *GlyphfallForm->AttackWords;
  for (int i = 0; i < attackWords.Count(); ++i) {
    TSpriteWord& word = *attackWords.Words(i);
    if (word.IsBullet()) continue;
    word.SetSpeedTier(0);
    PlusIconOver(word, Icon);
  }
}

// ---- TRetreatWord ----

void TRetreatWord::CreateBonus() { CreateBonusWord("RETREAT", GlyphfallForm->BackImage.get()); }

void TRetreatWord::Reward() {
  TBonusWord::Reward();
  PlaySoundFile("wave\\retreat.wav");
  TWordList& attackWords = *GlyphfallForm->AttackWords;
  int32_t rightEdge = GlyphfallForm->OffscreenImage->Width();
  for (int i = 0; i < attackWords.Count(); ++i) {
    TSpriteWord& word = *attackWords.Words(i);
    if (word.IsBullet() || !word.IsFullyOnScreen()) continue;
    word.Position.X = rightEdge - word.TextWidthAt(word.Text);
    PlusIconOver(word, Icon);
  }
}
