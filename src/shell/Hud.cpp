// Head-up display, centre message, scoring, bombs, game over and the choice
// of the row a new word enters in.
#include <algorithm>
#include <vector>

#include "Product.h"
#include "framework/Utils.h"
#include "hiscores/HiScoreUnit.h"
#include "shell/GlyphfallUnit.h"
#include "sound/SoundEffects.h"
#include "words/WordUnit.h"

namespace {
constexpr int HudFontSize = 18;
constexpr int HudLabelY = -4;
constexpr int ScoreRight = 95;
constexpr int BombsRight = 320;
constexpr int WaveRight = 520;
constexpr int HighScoreRight = 780;
constexpr int ScoreDigits = 6;
constexpr uint32_t BlinkInterval = 800;
constexpr int HintPhases = 4;  // the hint shows while fewer than this many phases began
constexpr int MessageFontSize = 30;
constexpr int MessageShadow = 2;
constexpr int SpawnMarginX = 3;
constexpr int FirstSpawnRow = 2;
constexpr char LineSeparator = '\0';
// Small print under a HUD value: the practice mark and the live WPM.
constexpr int NoteFontSize = 11;
constexpr int NoteBelow = 24;
constexpr TColor NoteColour = clYellow;
}  // namespace

int32_t TGlyphfallForm::HudValueY() {
  Canvas().Font.Size = HudFontSize;
  return Canvas().TextHeight("X") - 10;
}

void TGlyphfallForm::DrawHud() {
  TCanvas& canvas = Canvas();
  canvas.Font.Name = GameFontFace;
  canvas.Font.Bold = true;
  int vy = HudValueY();
  canvas.Font.Size = HudFontSize;
  UseSmoothFont(canvas);
  DrawRightText(ScoreRight, HudLabelY, "SCORE", clRed);
  DrawRightText(ScoreRight, vy, ZeroPad(Score, ScoreDigits), clGreen);
  DrawRightText(HighScoreRight, HudLabelY, "HIGH SCORE", clRed);
  DrawRightText(HighScoreRight, vy, ZeroPad(HiScores->HighScore, ScoreDigits), clGreen);
  if (!Playing) return;
  DrawRightText(WaveRight, HudLabelY, "WAVE", clRed);
  DrawRightText(WaveRight, vy, std::to_string(WaveNumber), clGreen);
  if (const THudNotes notes = Session ? Session->HudNotes() : THudNotes{};
      !notes.UnderScore.empty() || !notes.UnderWave.empty()) {
    canvas.Font.Size = NoteFontSize;
    UseSmoothFont(canvas);
    DrawRightText(WaveRight, vy + NoteBelow, notes.UnderWave, NoteColour);
    DrawRightText(ScoreRight, vy + NoteBelow, notes.UnderScore, NoteColour);
    canvas.Font.Size = HudFontSize;
    UseSmoothFont(canvas);
  }
  if (Bombs < 1) {
    DrawRightText(BombsRight, HudLabelY, "BOMBS", clRed);
    return;
  }
  if (TickEvery(BlinkStamp, BlinkInterval)) {
    BlinkOn = !BlinkOn;
    if (BlinkOn && PressSpaceHints < HintPhases) ++PressSpaceHints;
  }
  if (BlinkOn && PressSpaceHints < HintPhases)
    DrawRightText(BombsRight + canvas.TextWidth("BOMBS") / 2, HudLabelY, "PRESS SPACE", clGreen);
  else
    DrawRightText(BombsRight, HudLabelY, "BOMBS", clRed);
  for (int i = 1; i <= Bombs; ++i) canvas.Draw(BombsRight - BombImage->Width() * i, vy + 6, *BombImage);
}

void TGlyphfallForm::SetCentreMessage(const std::string& text, TColor colour) {
  MessageText = text;
  MessageColour = colour;
  MessageFlashColour = clRed;
  MessageShownColour = colour;
  MessageStamp = GameTime;
}

void TGlyphfallForm::DrawCentreMessage() {
  if (MessageText.empty() || HasElapsed(MessageStamp, MessageDuration)) return;
  if (TickEvery(MessageFlashStamp, MessageFlashInterval))
    MessageShownColour = MessageShownColour == MessageColour ? MessageFlashColour : MessageColour;
  DrawCentredLines(MessageText, MessageShownColour);
}

void TGlyphfallForm::DrawCentredLines(const std::string& text, TColor colour) {
  TCanvas& canvas = Canvas();
  canvas.Font.Size = MessageFontSize;
  canvas.Font.Color = colour;
  UseSmoothFont(canvas);
  const int lineHeight = canvas.TextHeight("X");
  int y = OffscreenImage->Height() / 2 - MessageFontSize;
  y -= static_cast<int>(std::count(text.begin(), text.end(), LineSeparator)) * lineHeight;
  std::string_view rest(text);
  while (!rest.empty()) {
    size_t cut = rest.find(LineSeparator);
    std::string_view line = rest.substr(0, cut);
    DrawText((PlayfieldWidth - canvas.TextWidth(line)) / 2, y, line, colour, MessageShadow);
    if (cut == std::string_view::npos) break;
    rest.remove_prefix(cut + 1);
    y += lineHeight;
  }
}

void TGlyphfallForm::AwardScore(TPoint position, int32_t points, const std::string& text, TBitmap* picture) {
  Score += points;
  ScoreItems->Add(std::make_unique<TScoreItem>(Canvas(), position, text, picture));
  // A practice game enters no table, so it raises no high score either.
  if (!Session || Session->Ranked()) HiScores->HighScore = std::max(HiScores->HighScore, Score);
  if (Score >= NextBombScore) {
    NextBombScore += BombScoreStep;
    if (Bombs < MaxBombs) {
      ++Bombs;
      ZoomItems->Add(std::make_unique<TZoomItem>(TPoint{BombsRight - BombImage->Width() * Bombs, HudValueY() + 6},
                                                 BombImage.get()));
    }
  }
}

void TGlyphfallForm::DetonateBomb() {
  if (Bombs <= 0) return;
  PlaySoundFile("wave\\detonatebomb.wav");
  PressSpaceHints = HintPhases;
  AttackWords->KillAll();
  --Bombs;
  Events.BombUsed({GameTime, Bombs});
}

void TGlyphfallForm::GameOver() {
  if (GameOverStamp != 0) return;
  SetCentreMessage("GAME OVER", clGreen);
  ExplodeCastle();
  Events.GameOver({GameTime, Score, WaveNumber});
  // A stamp of 0 means "not over"; the clock is never 0 in practice, but a
  // game must end even if it were.
  GameOverStamp = GameTime != 0 ? GameTime : 1;
}

int32_t TGlyphfallForm::ChooseSpawnRow(const TSpriteWord& word) {
  int n = CastleRows - word.Scale;
  if (word.Vertical) n -= word.LetterCount() + 1;
  std::vector<int32_t> candidates;
  for (int k = FirstSpawnRow; k <= n; ++k) {
    int32_t y = CastleTop() + BrickImage->Height() * k;
    bool free = true;
    for (int m = 0; m < word.Scale && free; ++m)
      if (AttackWords->RowBusy(y + BrickImage->Height() * m)) free = false;
    if (free) candidates.push_back(y);
  }
  if (candidates.empty()) return -1;
  return candidates[static_cast<size_t>(Random(static_cast<int32_t>(candidates.size())))];
}

TPoint TGlyphfallForm::SpawnPoint(const TSpriteWord& word) {
  return TPoint{OffscreenImage->Width() - SpawnMarginX, ChooseSpawnRow(word)};
}
