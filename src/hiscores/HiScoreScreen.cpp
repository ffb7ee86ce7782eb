// The high-score screen: the table over the star field, and name entry.
#include <algorithm>
#include <array>

#include "Product.h"
#include "framework/Utils.h"
#include "hiscores/HiScoreUnit.h"
#include "shell/GlyphfallUnit.h"
#include "sprites/StarUnit.h"

namespace {

constexpr TColor TitleColour = 0x0047FF;
constexpr TColor CreditColour = 0xF7DE00;
constexpr TColor EntryColour = clWhite;
constexpr int TitleSize = 18;
constexpr int CreditSize = 14;
constexpr int TitleY = 60;
constexpr int RulesNameSize = 12;
constexpr int RulesNameY = 88;
constexpr int FirstRowY = 120;
constexpr int RowHeight = 40;
constexpr int LabelRight = 240;
constexpr int ScoreX = 310;
constexpr int NameX = 460;
constexpr int CreditY = 560;
constexpr int ScoreDigits = 6;
constexpr char CreditText[] = "Glyphfall! by the Glyphfall team - thanks for playing";

struct TRowStyle {
  const char* Label;
  TColor Colour;
};
constexpr std::array<TRowStyle, HiScoreRows> RowStyles{{{"1st", 0x00FFFF},
                                                        {"2nd", 0x00FFFF},
                                                        {"3rd", 0x00FFFF},
                                                        {"4th", 0xF7DE00},
                                                        {"5th", 0xF7DE00},
                                                        {"6th", 0xF7DE00},
                                                        {"7th", 0xF70097},
                                                        {"8th", 0xF70097},
                                                        {"9th", 0xF70097},
                                                        {"10th", 0xF70097}}};

void DrawCentred(int y, const std::string& text, TColor colour) {
  TCanvas& canvas = GlyphfallForm->Canvas();
  GlyphfallForm->DrawText((canvas.Target().Width() - canvas.TextWidth(text)) / 2, y, text, colour, 0);
}

}  // namespace

void THiScoreList::ShowHiScores(int32_t row) {
  if (GlyphfallForm->Menu) GlyphfallForm->Menu->Selected = MenuHighScores;
  // A click during play while HIGH SCORES was selected may have left this set,
  // which would end the screen before the player could type.
  GlyphfallForm->MenuActive = false;
  EntryRow = row;
  while (GlyphfallForm->Platform.IsWindowVisible() && !GlyphfallForm->Closed && !GlyphfallForm->MenuActive) {
    GlyphfallForm->StarField->UpdateAll(GlyphfallForm->Stage);
    GlyphfallForm->DrawBackground();
    GlyphfallForm->DrawHud();
    DrawHiScores();
    GlyphfallForm->PresentFrame();
  }
  // A click or the window closing ends the screen as well: the name typed so
  // far is kept and saved just as Enter would, rather than left half-typed
  // with EntryRow still pointing at it.
  CommitEntry();
}

int THiScoreList::ReplayRowAt(int y) const {
  if (y < FirstRowY) return -1;
  const int row = (y - FirstRowY) / RowHeight;
  return row < std::min(Count(), HiScoreRows) && !Items(row)->Replay.empty() ? row : -1;
}

void THiScoreList::DrawHiScores() {
  TCanvas& canvas = GlyphfallForm->Canvas();
  canvas.Font.Name = GameFontFace;
  canvas.Font.Bold = true;
  canvas.Font.Size = TitleSize;
  UseSmoothFont(canvas);
  DrawCentred(TitleY, EntryRow < 0 ? "- HIGH SCORES -" : "PLEASE ENTER NAME", TitleColour);
  if (!RulesName.empty()) {
    canvas.Font.Size = RulesNameSize;
    UseSmoothFont(canvas);
    DrawCentred(RulesNameY, RulesName, TitleColour);
    canvas.Font.Size = TitleSize;
    UseSmoothFont(canvas);
  }

  const int rows = std::min(Count(), HiScoreRows);
  for (int i = 0; i < rows; ++i) {
    THiScore* entry = Items(i);
    const int y = FirstRowY + RowHeight * i;
    const TColor colour = i == EntryRow ? EntryColour : RowStyles[i].Colour;
    const std::string label = RowStyles[i].Label;
    GlyphfallForm->DrawText(LabelRight - canvas.TextWidth(label), y, label, colour, 0);
    GlyphfallForm->DrawText(ScoreX, y, ZeroPad(entry->Score, ScoreDigits), colour, 0);
    if (entry->Name.empty()) entry->Name = HiScoreEmptyName;
    GlyphfallForm->DrawText(NameX, y, entry->Name, colour, 0);
  }

  canvas.Font.Size = CreditSize;
  UseSmoothFont(canvas);
  DrawCentred(CreditY, CreditText, CreditColour);
}
