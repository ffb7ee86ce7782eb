// The Typist rules: lock-on, misses and the frame round the locked word.
#include <algorithm>

#include "platform/Canvas.h"
#include "rules/Rules.h"
#include "shell/GlyphfallUnit.h"
#include "sound/SoundEffects.h"
#include "words/WordUnit.h"

namespace {
constexpr int32_t RowHeight = 16;
constexpr int32_t VerticalPitch = 17;
constexpr int32_t FrameGap = 3;
constexpr int32_t FrameWidth = 2;
constexpr TColor FrameColour = clWhite;
constexpr TColor MissColour = clRed;
constexpr uint32_t MissFlash = 150;
// A miss hurries the locked word one tier, no faster than a wave's own
// speed-ups go: typing without reading then costs the castle.
constexpr uint8_t MissTierCap = 3;

bool IsLetterKey(uint16_t key) { return key >= 'A' && key <= 'Z'; }

TSpriteWord* FindSerial(const TWordList& list, uint64_t serial) {
  for (int i = 0; i < list.Count(); ++i)
    if (list.Words(i)->Serial == serial) return list.Words(i);
  return nullptr;
}

void FillFrame(TCanvas& canvas, const TRect& r, TColor colour) {
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Brush.Color = colour;
  canvas.FillRect(TRect{r.Left, r.Top, r.Right, r.Top + FrameWidth});
  canvas.FillRect(TRect{r.Left, r.Bottom - FrameWidth, r.Right, r.Bottom});
  canvas.FillRect(TRect{r.Left, r.Top, r.Left + FrameWidth, r.Bottom});
  canvas.FillRect(TRect{r.Right - FrameWidth, r.Top, r.Right, r.Bottom});
}
}  // namespace

std::unique_ptr<TRules> MakeRules(TRulesKind kind) {
  if (kind == TRulesKind::Typist) return std::make_unique<TTypistRules>();
  return nullptr;
}

TSpriteWord* TTypistRules::Locked() const {
  if (locked_ == 0) return nullptr;
  const TGlyphfallForm& form = *GlyphfallForm;
  TSpriteWord* w = FindSerial(*form.AttackWords, locked_);
  if (!w) w = FindSerial(*form.BonusWords, locked_);
  // Typed out, burst, bombed, or gone off the screen: the lock is over.
  return w && !w->Text.empty() ? w : nullptr;
}

TSpriteWord* TTypistRules::Choose(uint16_t key) {
  const TGlyphfallForm& form = *GlyphfallForm;
  int i = form.AttackWords->FindTarget(key, false);
  if (i >= 0) return form.AttackWords->Words(i);
  i = form.BonusWords->FindTarget(key, false);
  return i >= 0 ? form.BonusWords->Words(i) : nullptr;
}

void TTypistRules::KeyPressed(uint16_t key) {
  if (!IsLetterKey(key)) return;
  TSpriteWord* w = Locked();
  if (!w) {
    w = Choose(key);
    locked_ = w ? w->Serial : 0;
  }
  if (!w || !w->MatchesKey(key)) {
    Miss(w);
    return;
  }
  TWordList& list = FindSerial(*GlyphfallForm->AttackWords, w->Serial) ? *GlyphfallForm->AttackWords
                                                                       : *GlyphfallForm->BonusWords;
  list.TypeInto(*w);
  if (w->Text.empty()) locked_ = 0;
}

void TTypistRules::Miss(TSpriteWord* locked) {
  ++Misses;
  PlaySoundFile("wave\\miss.wav");
  if (!locked) return;
  missStamp_ = GlyphfallForm->GameTime;
  missShown_ = true;
  if (locked->SpeedTier < MissTierCap) locked->SetSpeedTier(static_cast<uint8_t>(locked->SpeedTier + 1));
}

void TTypistRules::Draw(TCanvas& canvas) {
  const TSpriteWord* w = Locked();
  if (!w) return;
  if (missShown_ && GlyphfallForm->HasElapsed(missStamp_, MissFlash)) missShown_ = false;
  int32_t width = w->Vertical ? w->TextWidthAt("W") : w->TextWidthAt(w->Text);
  int32_t height = w->Vertical ? VerticalPitch * static_cast<int32_t>(w->Text.size()) : RowHeight * w->Scale;
  TRect r{w->Position.X - FrameGap - FrameWidth, w->Position.Y - FrameGap - FrameWidth,
          w->Position.X + width + FrameGap + FrameWidth, w->Position.Y + height + FrameGap + FrameWidth};
  FillFrame(canvas, r, missShown_ ? MissColour : FrameColour);
}
