// The word sprite: motion by speed tier, typing, castle contact and drawing.
#include <algorithm>
#include <string>

#include "Product.h"
#include "framework/Determinism.h"
#include "framework/Letters.h"
#include "framework/TextUtils.h"
#include "framework/Utils.h"
#include "platform/Canvas.h"
#include "platform/Utf8.h"
#include "shell/GlyphfallUnit.h"
#include "sound/SoundEffects.h"
#include "words/WaveLink.h"
#include "words/WordUnit.h"

namespace {

constexpr int32_t RowHeight = 16;        // one castle row per unit of Scale
constexpr int32_t VerticalPitch = 17;    // a brick's height and a pixel between stacked letters
constexpr int32_t PlayfieldRight = 800;  // a word is fully on screen left of this
constexpr int32_t SpinBandTop = 6;       // rows of the "?" left out above the spin band
constexpr int32_t SpinFastestPeriod = 20;
constexpr int32_t SpinSlowestPeriod = 80;
constexpr int32_t PointsPerLetter = 10;
constexpr uint8_t FastestWaveTier = 3;  // the speed-up interval stops here

constexpr TColor TierColours[SpeedTiers] = {clGreen, clBlue, clYellow, clRed, clWhite, clWhite};

// The font a word is measured in: the game's face, bold, at size.
TSize MeasureAt(TCanvas& canvas, int32_t size, std::string_view text) {
  canvas.Font.Name = GameFontFace;
  canvas.Font.Bold = true;
  return TextExtentAt(canvas, size, text);
}

}  // namespace

// ---- Class references ----

bool TWordKind::InheritsFrom(const TWordKind* other) const {
  for (const TWordKind* k = this; k; k = k->Parent())
    if (k == other) return true;
  return false;
}

bool TWordKind::IsKindOf(const TSpriteWord& word) const { return word.Kind().InheritsFrom(this); }

const TWordKind& TSpriteWord::ClassRef() {
  static const TWordKindOf<TSpriteWord> kind("TSpriteWord", nullptr);
  return kind;
}

// ---- Creation ----

TSpriteWord::TSpriteWord() : Serial(GameDeterminism().NextSerial()) { StepInterval = 0; }

void TSpriteWord::CreateFromText(const std::string& text, uint8_t tier, uint8_t direction, TBitmap* icon) {
  Text = UpperCaseAscii(Trim(text));
  // Callers pass capitals only; keeping FullText in the same shape as Text
  // makes the letters still to type exactly its tail whatever they pass.
  FullText = Text;
  Position = TPoint{200, 200};
  StepInterval = 0;
  Icon = icon;
  MayHideLetter = true;
  MayTurnVertical = true;
  SlowsWhenTyped = true;
  Direction = direction;
  SpeedTier = tier;
  StartTier = tier;
  SpeedStamp = GlyphfallForm->GameTime;
  MadeTime = GlyphfallForm->GameTime;
  Finished = false;
  Vertical = false;
  Scale = 1;
  Shooter = 0;
  FlashStamp = 0;
  HiddenSpinStamp = 0;
  HiddenSpinPhase = 0;
}

void TSpriteWord::CreateFromWord(const TWord& entry, uint8_t tier, uint8_t direction, TBitmap* icon) {
  CreateFromText(UpperCaseAscii(entry.Text), tier, direction, icon);
  Icon = icon;
}

// ---- Motion and the castle ----

void TSpriteWord::Step() {
  if (GlyphfallForm->TickEvery(SpeedStamp, wordwave::SpeedUpInterval())) SpeedUp();

  int32_t d = wordwave::WordStep() + 1;
  if (Direction == DirFalling)
    Position.Y += d;
  else if (Direction == DirLeft)
    Position.X -= d;

  if (!Text.empty()) {
    for (int32_t i = 0; i < Scale; ++i) {
      TPoint cell = GlyphfallForm->BrickCellAt(Position.X, Position.Y + RowHeight * i);
      if (cell.X < 0) continue;
      // One blow to each of the word's rows, all in the column of contact.
      int32_t row = GlyphfallForm->BrickRowAt(Position.Y);
      for (int32_t j = 0; j < Scale; ++j) GlyphfallForm->HitBrick(TPoint{cell.X, row + j});
      RemoveFirstLetter();
      if (Text.empty()) {
        Finish(TWordEnd::Crashed);
        OnCrashed();
      }
      break;
    }
  }
  Act();
}

void TSpriteWord::RemoveFirstLetter() {
  if (Text.empty()) return;
  GlyphfallForm->ExplodeItems->Add(TExplodeItem::ForLetter(*this));
  // A letter may take several bytes; it goes whole.
  size_t bytes = CharBytes(Text, 0);
  int32_t w = TextWidthAt(Text.substr(0, bytes));
  // The remaining letters stay where they were drawn.
  if (Vertical)
    Position.Y += VerticalPitch;
  else
    Position.X += w;
  Text.erase(0, bytes);
}

bool TSpriteWord::IsDead() {
  if (Position.X > 0) return Text.empty();
  // Past the castle's line: harmless above the castle, fatal at its height.
  Finish(TWordEnd::Through);
  if (Position.Y >= GlyphfallForm->CastleTop()) GlyphfallForm->GameOver();
  return true;
}

void TSpriteWord::OnRemove() { wordwave::CountOff(); }

// ---- Typing and scoring ----

char32_t TSpriteWord::NextLetter() const {
  if (Text.empty()) return 0;
  // The real next letter, even where Text shows it as "?". Plain ASCII, the
  // common case, needs no counting.
  if (Text.size() <= FullText.size() && IsAscii(FullText)) return static_cast<unsigned char>(FullText[FullText.size() - Text.size()]);
  size_t total = CharCount(FullText), left = CharCount(Text);
  if (left > total) return 0;
  size_t at = CharOffset(FullText, total - left);
  return NextChar(FullText, at);
}

bool TSpriteWord::MatchesKey(uint16_t key) const {
  // The key's low byte as a character, either side upper-cased the ASCII way.
  auto upper = [](char32_t c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
  char32_t next = NextLetter();
  return next != 0 && upper(next) == upper(static_cast<char32_t>(key & 0xFF));
}

bool TSpriteWord::MatchesLetter(char32_t letter, bool exact) const {
  char32_t next = UpperLetter(NextLetter());
  return next != 0 && (next == letter || (!exact && BaseLetter(next) == letter));
}

int32_t TSpriteWord::LetterCount() const { return static_cast<int32_t>(CharCount(Text)); }

void TSpriteWord::TypeLetter() {
  // Only a word with letters left can take a key; an emptied word waits for
  // its removal and must not be rewarded twice.
  if (Text.empty()) return;
  PlaySoundFile("wave\\letter.wav");
  RemoveFirstLetter();
  SlowDownOnType();
  if (Text.empty()) Finish(TWordEnd::Typed);
  if (IsDead()) Reward();
}

void TSpriteWord::Explode(const std::string& soundName, bool silent) {
  if (Text.empty()) return;
  PlaySoundFile("wave\\" + soundName);
  while (!Text.empty()) RemoveFirstLetter();
  if (!silent) Reward();
}

void TSpriteWord::Reward() {
  int32_t p = Points();
  // Appended rather than "+" + ..., which trips a false -Wrestrict in GCC 12 at -O3.
  std::string text = "+";
  text += std::to_string(p);
  GlyphfallForm->AwardScore(Position, p, text, nullptr);
}

TWordRef TSpriteWord::Ref() const { return TWordRef{Serial, FullText, Kind().Name(), SpeedTier}; }

void TSpriteWord::Finish(TWordEnd how) {
  if (Finished) return;
  Finished = true;
  if (!GlyphfallForm->Events.Listening()) return;
  GlyphfallForm->Events.WordFinished(
      {GlyphfallForm->GameTime, Ref(), StartTier, GlyphfallForm->MsSince(MadeTime), how});
}

int32_t TSpriteWord::Points() const { return PointsPerLetter * static_cast<int32_t>(CharCount(FullText)); }

TColor TSpriteWord::TextColour() const { return SpeedTier < SpeedTiers ? TierColours[SpeedTier] : clWhite; }

// ---- Speed tiers ----

void TSpriteWord::SetSpeedTier(uint8_t tier) {
  SpeedTier = tier;
  SpeedStamp = GlyphfallForm->GameTime;
}

void TSpriteWord::SpeedUp() {
  if (SpeedTier < FastestWaveTier) SpeedTier += 1;
}

void TSpriteWord::SlowDownOnType() {
  if (SlowsWhenTyped) SetSpeedTier(SpeedTier > 0 ? SpeedTier - 1 : 0);
}

// ---- Geometry ----

int32_t TSpriteWord::TextWidthAt(const std::string& text) const {
  return MeasureAt(GlyphfallForm->Canvas(), FontSize(), text).cx;
}

int32_t TSpriteWord::IconX() const { return Position.X + TextWidthAt(Text) + 2; }

int32_t TSpriteWord::RightEdge() const { return Position.X + TextWidthAt(Text) + (Icon ? Icon->Width() : 0); }

bool TSpriteWord::IsFullyOnScreen() const { return RightEdge() < PlayfieldRight; }

// The glyphs' body sits in the 16 x Scale band from Y down; the clip cuts the
// font's internal leading above Y.
TSpriteWord::TLayout TSpriteWord::TextLayout() const {
  TSize e = MeasureAt(GlyphfallForm->Canvas(), FontSize(), Text);
  int32_t pad = (e.cy - RowHeight * Scale) / 2;
  int32_t off = FontSize() / 9 + pad;
  TLayout l;
  l.TextTop = Position.Y - off;
  l.ClipRect = TRect{Position.X, Position.Y, Position.X + e.cx, l.TextTop + e.cy - pad};
  // Accents over capitals (Ü, É) sit in that leading: keep them.
  if (!IsAscii(Text)) l.ClipRect.Top = l.TextTop;
  return l;
}

void TSpriteWord::SetWordFont(TCanvas& canvas) const {
  canvas.Font.Color = GlyphfallForm->Stage.ShownColour(TextColour());
  canvas.Font.Name = GameFontFace;
  canvas.Font.Size = FontSize();
  canvas.Font.Bold = true;
  UseSmoothFont(canvas);
}

// ---- Drawing ----

void TSpriteWord::Draw(const TStage& stage) {
  DrawLetters(stage.Canvas());
  DrawIcon(stage.Canvas());
}

void TSpriteWord::DrawLetters(TCanvas& canvas) {
  TLayout l = TextLayout();
  SetWordFont(canvas);
  // Only the glyphs' pixels: stars and pictures stay visible between letters.
  canvas.Brush.Style = TBrushStyle::Clear;

  size_t hidden = Text.find('?');
  if (!Vertical) {
    if (hidden == std::string::npos) {
      canvas.TextRect(l.ClipRect, Position.X, l.TextTop, Text);
      return;
    }
    std::string before = Text.substr(0, hidden);
    canvas.TextRect(l.ClipRect, Position.X, l.TextTop, before);
    int32_t x = Position.X + canvas.TextWidth(before);
    int32_t w = canvas.TextWidth("?");
    DrawHiddenLetter(canvas, x, l.TextTop);
    canvas.TextRect(l.ClipRect, x + w, l.TextTop, Text.substr(hidden + 1));
    return;
  }

  // Stacked letters centred on the width of a W; a hidden letter spins in
  // its own place, so the word looks the way it moves.
  int32_t wideW = canvas.TextWidth("W");
  int32_t row = 0;
  for (size_t i = 0; i < Text.size(); i += CharBytes(Text, i), ++row) {
    std::string_view letter = CharAt(Text, i);
    int32_t x = l.ClipRect.Left + (wideW - canvas.TextWidth(letter)) / 2;
    int32_t y = l.TextTop + VerticalPitch * row;
    if (i == hidden)
      DrawHiddenLetter(canvas, x, y);
    else
      canvas.TextOut(x, y, letter);
  }
}

// The "?" turns about its vertical axis: its middle band is squeezed from
// both sides to nothing and opens up again mirrored.
void TSpriteWord::DrawHiddenLetter(TCanvas& canvas, int x, int y) {
  if (!GlyphfallForm->RotateImage || !GlyphfallForm->OffscreenRotateImage) return;
  TBitmap& glyph = *GlyphfallForm->RotateImage;
  TCanvas& gc = glyph.Canvas();
  SetWordFont(gc);
  gc.Brush.Style = TBrushStyle::Solid;
  gc.Brush.Color = clBlack;
  int32_t w = gc.TextWidth("?");
  int32_t h = gc.TextHeight("?");
  if (w <= 0 || h - SpinBandTop <= 0) return;
  glyph.SetSize(w, h - SpinBandTop);
  gc.FillRect(TRect{0, 0, w, h - SpinBandTop});
  gc.TextOut(0, 0, "?");

  uint32_t period = static_cast<uint32_t>(std::max(SpinSlowestPeriod - FontSize(), SpinFastestPeriod));
  if (GlyphfallForm->TickEvery(HiddenSpinStamp, period)) HiddenSpinPhase += 1;
  if (HiddenSpinPhase > 2 * w || HiddenSpinPhase < 0) HiddenSpinPhase = 0;
  int32_t inset = HiddenSpinPhase <= w ? HiddenSpinPhase : 2 * w - HiddenSpinPhase;

  TBitmap& turned = *GlyphfallForm->OffscreenRotateImage;
  turned.SetSize(w, h - SpinBandTop);
  TCanvas& tc = turned.Canvas();
  tc.Brush.Style = TBrushStyle::Solid;
  tc.Brush.Color = clBlack;
  tc.FillRect(TRect{0, 0, w, h - SpinBandTop});
  tc.CopyRect(TRect{inset, SpinBandTop, w - inset, h - SpinBandTop}, glyph, TRect{0, SpinBandTop, w, h - SpinBandTop});
  turned.Transparent = true;
  turned.SetTransparentColor(clBlack);
  canvas.Draw(x, y, turned);
}

void TSpriteWord::DrawIcon(TCanvas& canvas) {
  if (Icon) canvas.Draw(IconX(), Position.Y, *Icon);
}

void TSpriteWord::DrawLetterBacks(TCanvas& canvas, int firstLetter, TBitmap& picture) {
  TLayout l = TextLayout();
  int n = LetterCount();
  std::string_view text(Text);
  for (int k = std::max(firstLetter, 1); k <= n; ++k) {
    int32_t left = Position.X + canvas.TextWidth(text.substr(0, CharOffset(text, static_cast<size_t>(k - 1))));
    int32_t right = Position.X + canvas.TextWidth(text.substr(0, CharOffset(text, static_cast<size_t>(k))));
    canvas.StretchDraw(TRect{left, l.TextTop, right, l.TextTop + picture.Height()}, picture);
  }
}
