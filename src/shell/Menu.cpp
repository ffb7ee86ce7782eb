// The main menu: its items chosen with the arrows, the mouse and Enter.
#include "Product.h"
#include "replay/ReplayUnit.h"
#include "rules/OptionsScreen.h"
#include "shell/GlyphfallUnit.h"

namespace {
constexpr int MenuFontSize = 30;
constexpr int MenuFirstY = 80;
constexpr int MenuSpacing = 100;
// One line of help at the foot of the menu: the keys the window itself
// answers. Texts are Windows-1252; \xB7 is the middle dot.
constexpr int HelpFontSize = 12;
constexpr int HelpY = 568;
constexpr TColor HelpColour = 0xC0C0C0;
const char* const HelpText = "F10 pause \xB7 F8 sound \xB7 F11 fullscreen \xB7 Esc ends the game";
}  // namespace

void TMenuList::AddItem(uint8_t id, const std::string& caption) {
  TCanvas& canvas = GlyphfallForm->Canvas();
  canvas.Font.Name = GameFontFace;
  canvas.Font.Bold = true;
  int width = TextExtentAt(canvas, MenuFontSize, caption).cx;
  auto item = std::make_unique<TMenuItem>();
  item->Id = id;
  item->Position = TPoint{(PlayfieldWidth - width) / 2, NextY};
  item->Caption = caption;
  Add(std::move(item));
  NextY += MenuSpacing;
}

int TMenuList::SelectedIndex() const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Id == Selected) return i;
  return -1;
}

void TMenuList::SelectPrevious() {
  if (Count() == 0) return;
  int i = SelectedIndex();
  Selected = i < 1 ? Items(Count() - 1)->Id : Items(i - 1)->Id;
}

void TMenuList::SelectNext() {
  if (Count() == 0) return;
  int i = SelectedIndex();
  Selected = i < Count() - 1 ? Items(i + 1)->Id : Items(0)->Id;
}

void TGlyphfallForm::BuildMenu() {
  Menu = std::make_unique<TMenuList>();
  Menu->NextY = MenuFirstY;
  Menu->AddItem(MenuStart, "START");
  Menu->AddItem(MenuHighScores, "HIGH SCORES");
  Menu->AddItem(MenuStats, "STATS");
  Menu->AddItem(MenuOptions, "OPTIONS");
  Menu->AddItem(MenuQuit, "QUIT");
  Menu->Selected = MenuStart;
}

void TGlyphfallForm::DrawMenu() {
  TCanvas& canvas = Canvas();
  canvas.Font.Size = MenuFontSize;
  canvas.Font.Bold = true;
  UseSmoothFont(canvas);
  for (int i = 0; i < Menu->Count(); ++i) {
    const TMenuItem* item = Menu->Items(i);
    TColor colour = item->Id == Menu->Selected ? clRed : clBlue;
    DrawText(item->Position.X, item->Position.Y, item->Caption, colour, 1);
  }
  canvas.Font.Size = HelpFontSize;
  UseSmoothFont(canvas);
  DrawText((PlayfieldWidth - canvas.TextWidth(HelpText)) / 2, HelpY, HelpText, HelpColour, 0);
}

void TGlyphfallForm::MouseMove(TShiftState shift, int x, int y) {
  RecordInput(TReplayInput::MouseMove, 0, shift, x, y);
  if (Options) {
    Options->MouseMove(x, y);
    return;
  }
  if (Screen == TScreen::Stats) {
    StatsHover(y);
    return;
  }
  if (!MenuActive || !Menu) return;
  // A pointer resting on an item must not undo a choice made with the keys.
  if (TPoint{x, y} == LastMousePos) return;
  for (int i = 0; i < Menu->Count(); ++i) {
    const TMenuItem* item = Menu->Items(i);
    int h = TextExtentAt(Canvas(), MenuFontSize, "X").cy;
    if (item->Position.Y <= y && y <= item->Position.Y + h) {
      Menu->Selected = item->Id;
      break;
    }
  }
  LastMousePos = TPoint{x, y};
}
