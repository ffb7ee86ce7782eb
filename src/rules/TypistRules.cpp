// The Typist rules: lock-on, misses and the frame round the locked word.
#include <algorithm>

#include "framework/Letters.h"
#include "platform/Canvas.h"
#include "framework/GameClock.h"
#include "play/Play.h"
#include "rules/TypistRules.h"
#include "words/WordUnit.h"

namespace {
constexpr int32_t RowHeight = 16;
constexpr int32_t VerticalPitch = 17;
constexpr int32_t FrameGap = 3;
constexpr int32_t FrameWidth = 2;
constexpr TColor FrameColour = clWhite;
constexpr TColor MissColour = clRed;
constexpr uint32_t MissFlash = 150;
// A miss that follows a miss hurries the locked word one tier, up to the pace
// of a sped-up word: sliding over the keys without reading drives the word
// into the castle, while a lone slip costs only the miss itself.
constexpr int MissRunPenalised = 2;
constexpr uint8_t MissTierCap = 4;
// A first letter shared by a falling bonus word and an attack word goes to the
// bonus word, unless the attack word is this close to the castle's front (in
// pixels): one entering at the right edge is no reason to lose a bonus word,
// one about to strike is.
constexpr int32_t CloseToCastle = 160;

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

TSpriteWord* TTypistRules::Locked() const {
  if (locked_ == 0) return nullptr;
  TSpriteWord* w = FindSerial(play_.AttackWords(), locked_);
  if (!w) w = FindSerial(play_.BonusWords(), locked_);
  // Typed out, burst, bombed, or gone off the screen: the lock is over.
  return w && !w->Text.empty() ? w : nullptr;
}

TSpriteWord* TTypistRules::Choose(const TWordList::TMatch& matches) const {
  TWordList& attacks = play_.AttackWords();
  TWordList& bonuses = play_.BonusWords();
  int a = attacks.FindTarget(matches, false);
  int b = bonuses.FindTarget(matches, false);
  TSpriteWord* attack = a >= 0 ? attacks.Words(a) : nullptr;
  TSpriteWord* bonus = b >= 0 ? bonuses.Words(b) : nullptr;
  // A bullet is one letter, gone at once: it never holds the keys.
  if (attack && (!bonus || attack->IsBullet() || attack->Position.X < play_.CastleFront() + CloseToCastle))
    return attack;
  return bonus ? bonus : attack;
}

void TTypistRules::KeyPressed(uint16_t key) {
  if (!IsLetterKey(key)) return;
  Press([key](const TSpriteWord& w) { return w.MatchesKey(key); });
}

void TTypistRules::LetterPressed(char32_t letter, bool exact) {
  if (!IsLetterChar(letter)) return;
  Press([=](const TSpriteWord& w) { return w.MatchesLetter(letter, exact); });
}

void TTypistRules::Press(const TWordList::TMatch& matches) {
  TSpriteWord* w = Locked();
  if (!w) {
    w = Choose(matches);
    locked_ = w ? w->Serial : 0;
  }
  if (!w || !matches(*w)) {
    Miss(w);
    return;
  }
  TWordList& list = FindSerial(play_.AttackWords(), w->Serial) ? play_.AttackWords() : play_.BonusWords();
  missRun_ = 0;
  list.TypeInto(*w);
  if (w->Text.empty()) locked_ = 0;
}

void TTypistRules::Miss(TSpriteWord* locked) {
  ++Misses;
  play_.PlaySound("wave\\miss.wav");
  if (!locked) return;
  missStamp_ = play_.Clock().GameTime;
  missShown_ = true;
  if (++missRun_ >= MissRunPenalised && locked->SpeedTier < MissTierCap)
    locked->SetSpeedTier(static_cast<uint8_t>(locked->SpeedTier + 1));
}

void TTypistRules::Draw(TCanvas& canvas) {
  const TSpriteWord* w = Locked();
  if (!w) return;
  if (missShown_ && play_.Clock().HasElapsed(missStamp_, MissFlash)) missShown_ = false;
  int32_t width = w->Vertical ? w->TextWidthAt("W") : w->TextWidthAt(w->Text);
  int32_t height = w->Vertical ? VerticalPitch * w->LetterCount() : RowHeight * w->Scale;
  TRect r{w->Position.X - FrameGap - FrameWidth, w->Position.Y - FrameGap - FrameWidth,
          w->Position.X + width + FrameGap + FrameWidth, w->Position.Y + height + FrameGap + FrameWidth};
  FillFrame(canvas, r, missShown_ ? MissColour : FrameColour);
}
