// The main menu: its items chosen with the arrows, the mouse and Enter.
#include "Product.h"
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

// The notices waiting for the player, in a box over the middle of the menu
// until a key or a click; a long one is cut after a few lines.
constexpr int NoticeSize = 14;
constexpr int NoticeWidth = 640;
constexpr int NoticePadding = 14;
constexpr int NoticeGap = 8;
constexpr size_t NoticeLines = 4;
constexpr TColor NoticeFill = 0x401808;
constexpr TColor NoticeBorder = clYellow;
const char* const NoticeFoot = "Press any key or click to go on";

void DrawNotices(TGlyphfallForm& form) {
  const std::vector<std::string>& waiting = form.Platform.Notices().Waiting();
  if (waiting.empty()) return;
  TCanvas& canvas = form.Canvas();
  canvas.Font.Bold = false;
  const int lineHeight = TextExtentAt(canvas, NoticeSize, "X").cy;
  const int textWidth = NoticeWidth - 2 * NoticePadding;
  std::vector<std::vector<std::string>> shown;
  int height = 2 * NoticePadding + lineHeight;  // the foot
  for (size_t i = 0; i < waiting.size() && i < TNotices::PerScreen; ++i) {
    shown.push_back(WrapText(canvas, waiting[i], textWidth, NoticeLines));
    height += static_cast<int>(shown.back().size()) * lineHeight + NoticeGap;
  }
  const int left = (PlayfieldWidth - NoticeWidth) / 2;
  int y = (PlayfieldHeight - height) / 2;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Brush.Color = NoticeBorder;
  canvas.FillRect(TRect{left - 2, y - 2, left + NoticeWidth + 2, y + height + 2});
  canvas.Brush.Color = NoticeFill;
  canvas.FillRect(TRect{left, y, left + NoticeWidth, y + height});
  UseSmoothFont(canvas);
  y += NoticePadding;
  for (const std::vector<std::string>& lines : shown) {
    for (const std::string& line : lines) {
      form.DrawText(left + NoticePadding, y, line, clWhite, 0);
      y += lineHeight;
    }
    y += NoticeGap;
  }
  form.DrawText((PlayfieldWidth - canvas.TextWidth(NoticeFoot)) / 2, y, NoticeFoot, HelpColour, 0);
  canvas.Font.Bold = true;
}
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
  // The items added beside the game's own follow the one they name.
  const std::vector<TMenuEntry> added = Session ? Session->MenuEntries() : std::vector<TMenuEntry>{};
  for (const auto& [id, caption] : {std::pair<uint8_t, const char*>{MenuStart, "START"},
                                    {MenuHighScores, "HIGH SCORES"},
                                    {MenuQuit, "QUIT"}}) {
    Menu->AddItem(id, caption);
    for (const TMenuEntry& entry : added)
      if (entry.After == id) Menu->AddItem(entry.Id, entry.Caption);
  }
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
  DrawNotices(*this);
}

void TGlyphfallForm::MouseMove(TShiftState shift, int x, int y) {
  RecordInput(TReplayInput::MouseMove, 0, shift, x, y);
  if (Screens.Mouse({TMouse::TKind::Move, TMouseButton::Left, x, y})) return;
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
