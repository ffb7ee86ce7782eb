// Text helpers shared by every screen: shadowed, right-aligned, measured.
// (The smooth font and the measuring at a size are framework/TextUtils.)
#include "shell/GlyphfallUnit.h"

void TGlyphfallForm::DrawText(int x, int y, std::string_view text, TColor colour, int shadow) {
  TCanvas& canvas = Canvas();
  canvas.Brush.Style = TBrushStyle::Clear;
  if (shadow != 0) {
    canvas.Font.Color = clYellow;
    canvas.TextOut(x + shadow, y + shadow, text);
  }
  canvas.Font.Color = Stage.ShownColour(colour);
  canvas.TextOut(x, y, text);
}

void TGlyphfallForm::DrawRightText(int xRight, int y, std::string_view text, TColor colour) {
  DrawText(xRight - Canvas().TextWidth(text), y, text, colour, 1);
}

TSize TGlyphfallForm::LetterExtent(int size) { return TextExtentAt(Canvas(), size, "X"); }
