// The attacking kinds that are more than a plain word: cannons and their
// spinning bullets, speed-up clocks, flashing bombs, giants and shields.
#include <cmath>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Letters.h"
#include "framework/TextUtils.h"
#include "framework/Utils.h"
#include "platform/Utf8.h"
#include "shell/GlyphfallUnit.h"
#include "sound/SoundEffects.h"
#include "waves/WaveUnit.h"
#include "words/WordUnit.h"

namespace {

constexpr int32_t FullTurn = 3600;  // tenths of a degree
constexpr int32_t BulletTurnPerStep = 50;
constexpr uint8_t BulletTier = 4;
constexpr uint8_t SpedUpTier = 4;
constexpr uint8_t HighestWaveTier = 3;
constexpr int32_t DefaultCannonInterval = 5000;

constexpr int32_t StartCountdown = 9;
constexpr uint32_t CountdownTick = 80;
constexpr int32_t SmallestDigit = 6;  // a digit at this size gives way to the next
constexpr int32_t DigitBoxWidth = 10;
constexpr int32_t DigitBoxHeight = 17;
constexpr int32_t DigitGap = 2;
constexpr TColor DigitColour = 0x00FFFF;

constexpr uint32_t FlashInterval = 200;
constexpr int32_t MaxScale = 10;
constexpr TColor ShieldedColour = 0x00FFFF;
constexpr int32_t ShieldBurstBase = 6;
constexpr int32_t StackedLetterPitch = 17;

TCanvas& OffscreenCanvas() { return GlyphfallForm->Canvas(); }

void ShowPlusIcon(const TSpriteWord& word, TBitmap* icon) {
  GlyphfallForm->ScoreItems->Add(std::make_unique<TScoreItem>(GlyphfallForm->Canvas(), word.Position, "+ ", icon));
}

}  // namespace

void SetFontAngle(TCanvas& canvas, int32_t angle) {
  int32_t a = angle % FullTurn;
  if (a < 0) a += FullTurn;
  canvas.Font.Angle = a;
}

// ---- Class references ----

#define DEFINE_WORD_KIND(W)                                         \
  const TWordKind& W::ClassRef() {                                  \
    static const TWordKindOf<W> kind(#W, &TSpriteWord::ClassRef()); \
    return kind;                                                    \
  }

DEFINE_WORD_KIND(TCannonWord)
DEFINE_WORD_KIND(TBulletWord)
DEFINE_WORD_KIND(TSpeedUpWord)
DEFINE_WORD_KIND(TFlashWord)
DEFINE_WORD_KIND(TBigWord)
DEFINE_WORD_KIND(TShieldedWord)

#undef DEFINE_WORD_KIND

// ---- TCannonWord ----

void TCannonWord::CreateFromWord(const TWord& entry, uint8_t tier, uint8_t direction, TBitmap*) {
  TSpriteWord::CreateFromWord(entry, tier, direction, GlyphfallForm->CannonImage.get());
  FireStamp = 0;
  MayTurnVertical = false;
}

void TCannonWord::Act() {
  if (Text.empty() || !IsFullyOnScreen()) return;
  const TWave* wave = GlyphfallForm->CurrentWave.get();
  uint32_t interval = static_cast<uint32_t>(wave ? wave->CannonInterval : DefaultCannonInterval);
  // The timer runs before the tier test: a sped-up cannon lets its shots pass.
  if (!GlyphfallForm->TickEvery(FireStamp, interval) || SpeedTier > HighestWaveTier) return;
  PlaySoundFile("wave\\cannon.wav");
  // The bullet carries the real next letter even when it is shown as "?",
  // so some key can always stop it.
  std::string letter(CharAt(Text, 0));
  if (letter == "?" && NextLetter() != 0) {
    letter.clear();
    AppendUtf8(letter, UpperLetter(NextLetter()));
  }
  std::unique_ptr<TSpriteWord> made = TBulletWord::ClassRef().CreateFromText(letter, BulletTier, DirLeft, nullptr);
  auto* bullet = static_cast<TBulletWord*>(made.get());
  GlyphfallForm->AttackWords->Add(std::move(made));
  bullet->PlaceAt(Position);
  bullet->Shooter = Serial;
  bullet->Spinning = true;
}

// ---- TBulletWord ----

void TBulletWord::Act() {
  if (Text.empty() || !Spinning) return;
  Angle = (Angle + BulletTurnPerStep) % FullTurn;
  TCanvas& canvas = OffscreenCanvas();
  SetFontAngle(canvas, Angle);
  SetWordFont(canvas);
  double w = canvas.TextWidth(Text);
  double h = canvas.TextHeight(Text);
  // Turn about the point (h/2, h/2) from the upright drawing point, so the
  // rotated letter spins in place.
  double r = std::sqrt((w / 2) * (w / 2) + (h / 2) * (h / 2));
  double a0 = std::atan2(w / 2, h / 2);
  double theta = (Angle / 10.0) * M_PI / 180.0 + a0;
  // nearbyint rounds halves to even in the default rounding mode.
  OffsetX = static_cast<int32_t>(std::nearbyint(h / 2 - r * std::sin(theta)));
  OffsetY = static_cast<int32_t>(std::nearbyint(h / 2 - r * std::cos(theta)));
  SetFontAngle(canvas, 0);
}

void TBulletWord::Draw(const TStage& stage) {
  if (Text.empty()) return;
  TLayout layout = TextLayout();
  TCanvas& canvas = stage.Canvas();
  if (Spinning) SetFontAngle(canvas, Angle);
  SetWordFont(canvas);
  canvas.Brush.Style = TBrushStyle::Clear;
  canvas.TextOut(layout.ClipRect.Left + OffsetX, layout.TextTop + OffsetY, Text);
  SetFontAngle(canvas, 0);
}

// ---- TSpeedUpWord ----

void TSpeedUpWord::CreateFromWord(const TWord& entry, uint8_t tier, uint8_t direction, TBitmap*) {
  TSpriteWord::CreateFromWord(entry, tier, direction, GlyphfallForm->ClockImage.get());
  Countdown = StartCountdown;
  CountStamp = GlyphfallForm->GameTime;
  DigitSize = FontSize() - 2;
  MayTurnVertical = false;
}

void TSpeedUpWord::Act() {
  if (Countdown <= 0) return;
  // Counts only while the clock and its digit can be seen.
  if (IconX() + DigitBoxWidth >= GlyphfallForm->OffscreenImage->Width()) return;
  if (!GlyphfallForm->TickEvery(CountStamp, GlyphfallForm->Stage.Paced(CountdownTick))) return;
  if (--DigitSize > SmallestDigit) return;
  --Countdown;
  DigitSize = FontSize();
  if (Countdown == 0) {
    SpeedUpAll();
    Icon = nullptr;  // a plain word from now on
  }
}

void TSpeedUpWord::OnCrashed() {
  if (Countdown <= 0) return;
  SpeedUpAll();
  Countdown = 0;  // its last step must not trigger it a second time
}

void TSpeedUpWord::SpeedUpAll() {
  PlaySoundFile("wave\\speedup.wav");
  TWordList& attackWords = *GlyphfallForm->AttackWords;
  for (int i = 0; i < attackWords.Count(); ++i) {
    TSpriteWord& word = *attackWords.Words(i);
    if (word.SpeedTier > HighestWaveTier) continue;  // bullets are already faster
    word.SetSpeedTier(SpedUpTier);
    ShowPlusIcon(word, GlyphfallForm->ClockImage.get());
  }
}

void TSpeedUpWord::Draw(const TStage& stage) {
  TSpriteWord::Draw(stage);
  if (Countdown <= 0) return;
  TCanvas& canvas = stage.Canvas();
  canvas.Font.Size = DigitSize;
  canvas.Font.Color = DigitColour;
  UseSmoothFont(canvas);
  canvas.Brush.Style = TBrushStyle::Clear;
  std::string digit = std::to_string(Countdown);
  TSize extent = canvas.TextExtent(digit);
  int32_t iconWidth = Icon ? Icon->Width() : 0;
  // Centred in a 10 x 17 box right of the clock.
  int32_t x = IconX() + iconWidth + DigitGap + (DigitBoxWidth - extent.cx) / 2;
  int32_t y = Position.Y + (DigitBoxHeight - extent.cy) / 2;
  canvas.TextOut(x, y, digit);
}

// ---- TFlashWord ----

void TFlashWord::CreateFromText(const std::string& text, uint8_t tier, uint8_t direction, TBitmap* icon) {
  TSpriteWord::CreateFromText(text, tier, direction, icon);
  MayHideLetter = false;
  Colours.clear();
  ColourIndex = 0;
  for (int32_t i = 0; i < LetterCount(); ++i) {
    Colours.push_back(BonusColours[static_cast<size_t>(ColourIndex)]);
    ColourIndex = (ColourIndex + 1) % static_cast<int32_t>(BonusColours.size());
  }
}

void TFlashWord::Draw(const TStage& stage) {
  // The colours flow from the first letter towards the last.
  if (GlyphfallForm->TickEvery(FlashStamp, FlashInterval) && !Colours.empty()) {
    Colours.pop_back();
    Colours.insert(Colours.begin(), BonusColours[static_cast<size_t>(ColourIndex)]);
    ColourIndex = (ColourIndex + 1) % static_cast<int32_t>(BonusColours.size());
  }
  TLayout layout = TextLayout();
  TCanvas& canvas = stage.Canvas();
  SetWordFont(canvas);
  canvas.Brush.Style = TBrushStyle::Clear;
  std::string_view text(Text);
  int32_t wWidth = Vertical ? canvas.TextWidth("W") : 0;
  std::string_view letter;
  size_t k = 0;  // the letter's number; i is its first byte
  for (size_t i = 0; i < text.size(); i += letter.size(), ++k) {
    letter = CharAt(text, i);
    canvas.Font.Color = k < Colours.size() ? Colours[k] : TextColour();
    if (Vertical) {
      // Stacked like every vertical word, matching its spawn row and the
      // 17-pixel drop per typed letter.
      int32_t x = layout.ClipRect.Left + (wWidth - canvas.TextWidth(letter)) / 2;
      canvas.TextOut(x, layout.TextTop + StackedLetterPitch * static_cast<int32_t>(k), letter);
    } else {
      canvas.TextOut(Position.X + canvas.TextWidth(text.substr(0, i)), layout.TextTop, letter);
    }
  }
}

void TFlashWord::Reward() {
  TSpriteWord::Reward();
  PlaySoundFile("wave\\detonatebomb.wav");
  // A bomb that costs no bomb.
  GlyphfallForm->AttackWords->KillAll();
}

// ---- TBigWord ----

void TBigWord::CreateFromText(const std::string& text, uint8_t tier, uint8_t direction, TBitmap* icon) {
  TSpriteWord::CreateFromText(text, tier, direction, icon);
  Scale = Random(MaxScale) + 1;
  MayTurnVertical = false;
}

// ---- TShieldedWord ----

void TShieldedWord::CreateFromText(const std::string& text, uint8_t tier, uint8_t direction, TBitmap* icon) {
  TSpriteWord::CreateFromText(text, tier, direction, icon);
  Shielded = true;
  MayTurnVertical = false;
}

TColor TShieldedWord::TextColour() const { return ShieldedColour; }

int32_t TShieldedWord::Points() const { return 2 * TSpriteWord::Points(); }

void TShieldedWord::TypeLetter() {
  if (Shielded) {
    // The first press only knocks the shield off the letter.
    TBitmap& shield = *GlyphfallForm->ShieldImage;
    GlyphfallForm->ExplodeItems->Add(std::make_unique<TExplodeItem>(
        Position, TSize{shield.Width(), shield.Height()}, ShieldBurstBase, std::vector<TColor>{clWhite, clBlue}));
    PlaySoundFile("wave\\brick.wav");
    Shielded = false;
    return;
  }
  Shielded = true;  // the next letter comes with its own shield
  TSpriteWord::TypeLetter();
}

void TShieldedWord::Draw(const TStage& stage) {
  TCanvas& canvas = stage.Canvas();
  SetWordFont(canvas);
  TextLayout();
  DrawLetterBacks(canvas, Shielded ? 1 : 2, *GlyphfallForm->ShieldImage);
  TSpriteWord::Draw(stage);
}
