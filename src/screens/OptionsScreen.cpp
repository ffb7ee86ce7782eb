// The options screen and its rows.
#include "screens/OptionsScreen.h"

#include <algorithm>

#include "Product.h"
#include "dictionary/WordLists.h"
#include "framework/TextUtils.h"
#include "platform/Canvas.h"
#include "play/Rules.h"

namespace {

constexpr int TitleSize = 24;
constexpr int TitleY = 36;
constexpr int RowSize = 20;
constexpr int FirstRowY = 86;
constexpr int RowSpacing = 42;
constexpr int LabelX = 140;
constexpr int ValueRight = 660;
constexpr int HelpSize = 12;
constexpr int HelpY = 568;
constexpr TColor HelpColour = 0xC0C0C0;
constexpr TColor ValueColour = clGreen;
const char* const HelpText = "Up/Down choose \xB7 Left/Right, clicks or the wheel change \xB7 Esc or BACK returns";
// Which choices keep a game out of the score tables; brighter while the
// choices made are such.
constexpr int PracticeY = 544;
constexpr TColor PracticeColour = clYellow;
const char* const PracticeText =
    "Practice, no high score: a start past wave 1, a speed other than 100 %, or words other than English";

// Steps value through count choices, wrapping round.
int Cycle(int index, int count, int step) { return ((index + step) % count + count) % count; }

// A setting of two words, spelt as the file spells it.
TOptionRow Toggle(const char* label, bool TSettings::*field) {
  TSettingSwitch w{label, field, "off", "on"};
  for (const TSettingSwitch& known : SettingSwitches)
    if (known.Field == field) w = known;
  return {label, [w](const TSettings& s) { return std::string(s.*w.Field ? w.On : w.Off); },
          [w](TSettings& s, int) { s.*w.Field = !(s.*w.Field); }};
}

std::vector<TOptionRow> StandardRows() {
  std::vector<TOptionRow> rows;
  rows.push_back({"Rules", [](const TSettings& s) { return s.Rules; },
                  [](TSettings& s, int step) {
                    const std::vector<TRulesSet>& sets = RulesSets();
                    int i = 0;
                    while (i < static_cast<int>(sets.size()) && sets[static_cast<size_t>(i)].Name != s.Rules) ++i;
                    if (i == static_cast<int>(sets.size())) i = 0;
                    s.Rules = sets[static_cast<size_t>(Cycle(i, static_cast<int>(sets.size()), step))].Name;
                  }});
  rows.push_back({"Start at wave", [](const TSettings& s) { return std::to_string(s.StartWave); },
                  [](TSettings& s, int step) {
                    s.StartWave = MinStartWave + Cycle(s.StartWave - MinStartWave, MaxStartWave, step);
                  }});
  rows.push_back({"Word speed", [](const TSettings& s) { return std::to_string(s.SpeedPercent) + " %"; },
                  [](TSettings& s, int step) {
                    auto at = std::find(SpeedChoices.begin(), SpeedChoices.end(), s.SpeedPercent);
                    int i = at == SpeedChoices.end() ? 1 : static_cast<int>(at - SpeedChoices.begin());
                    s.SpeedPercent = SpeedChoices[static_cast<size_t>(Cycle(i, SpeedChoices.size(), step))];
                  }});
  rows.push_back({"Words", [](const TSettings& s) { return s.Words; },
                  [](TSettings& s, int step) {
                    // The lists installed now: English, the languages, the player's own.
                    std::vector<TWordListChoice> lists = InstalledWordLists();
                    int i = 0;
                    while (i < static_cast<int>(lists.size()) && lists[static_cast<size_t>(i)].Name != s.Words) ++i;
                    if (i == static_cast<int>(lists.size())) i = 0;
                    s.Words = lists[static_cast<size_t>(Cycle(i, static_cast<int>(lists.size()), step))].Name;
                  }});
  rows.push_back(Toggle("Accents", &TSettings::AccentsExact));
  rows.push_back({"Sound volume", [](const TSettings& s) { return std::to_string(s.Volume) + " %"; },
                  [](TSettings& s, int step) {
                    s.Volume = VolumeStep * Cycle(s.Volume / VolumeStep, MaxVolume / VolumeStep + 1, step);
                  }});
  rows.push_back(Toggle("Fullscreen", &TSettings::Fullscreen));
  rows.push_back(Toggle("Scaling", &TSettings::PixelExact));
  rows.push_back(Toggle("Live WPM on the HUD", &TSettings::LiveWpm));
  rows.push_back(Toggle("Colours", &TSettings::HighContrast));
  rows.push_back({"BACK", nullptr, nullptr});
  return rows;
}

}  // namespace

TOptionsScreen::TOptionsScreen(TSessionView& session) : Rows(StandardRows()), session_(session) {}

int TOptionsScreen::RowY(int row) const { return FirstRowY + RowSpacing * row; }

void TOptionsScreen::Enter(TScreenStack&) {
  TPlatform& platform = session_.Host().Platform();
  lastMouse_ = platform.ScreenToClient(platform.CursorPos());
}

void TOptionsScreen::Leave() { SaveSettings(session_.Settings(), SettingsFile); }

void TOptionsScreen::Activate(TScreenStack& stack, int step) {
  TOptionRow& row = Rows[static_cast<size_t>(Selected)];
  if (!row.Change) {
    stack.Pop();
    return;
  }
  row.Change(session_.Settings(), step);
  session_.ApplySettings();
}

void TOptionsScreen::Key(TScreenStack& stack, uint16_t key) {
  const int n = static_cast<int>(Rows.size());
  switch (key) {
    case vk::Up: Selected = Cycle(Selected, n, -1); break;
    case vk::Down: Selected = Cycle(Selected, n, 1); break;
    case vk::Left:
      if (Rows[static_cast<size_t>(Selected)].Change) Activate(stack, -1);
      break;
    case vk::Right:
      if (Rows[static_cast<size_t>(Selected)].Change) Activate(stack, 1);
      break;
    case vk::Return: Activate(stack, 1); break;
    case vk::Escape: stack.Pop(); break;
    default: break;
  }
}

int TOptionsScreen::RowAt(int y) {
  const int h = TextExtentAt(session_.Host().Canvas(), RowSize, "X").cy;
  for (int i = 0; i < static_cast<int>(Rows.size()); ++i)
    if (RowY(i) <= y && y <= RowY(i) + h) return i;
  return -1;
}

void TOptionsScreen::Mouse(TScreenStack& stack, const TMouse& mouse) {
  if (mouse.Kind == TMouse::TKind::Move) {
    // A pointer resting on a row must not undo a choice made with the keys.
    if (TPoint{mouse.X, mouse.Y} == lastMouse_) return;
    lastMouse_ = TPoint{mouse.X, mouse.Y};
    if (int row = RowAt(mouse.Y); row >= 0) Selected = row;
    return;
  }
  if (IsWheel(mouse.Button)) {
    const int row = RowAt(mouse.Y);
    if (row < 0 || !Rows[static_cast<size_t>(row)].Change) return;
    Selected = row;
    Activate(stack, mouse.Button == TMouseButton::WheelUp ? 1 : -1);
    return;
  }
  Activate(stack, mouse.Button == TMouseButton::Right ? -1 : 1);
}

void TOptionsScreen::Draw(TCanvas& canvas) {
  TScreenHost& host = session_.Host();
  const TSettings& settings = session_.Settings();
  canvas.Font.Name = GameFontFace;
  canvas.Font.Bold = true;
  canvas.Font.Size = TitleSize;
  UseSmoothFont(canvas);
  host.DrawText((PlayfieldWidth - canvas.TextWidth("OPTIONS")) / 2, TitleY, "OPTIONS", clRed, 1);

  canvas.Font.Size = RowSize;
  UseSmoothFont(canvas);
  for (int i = 0; i < static_cast<int>(Rows.size()); ++i) {
    const TOptionRow& row = Rows[static_cast<size_t>(i)];
    const bool chosen = i == Selected;
    const TColor colour = chosen ? clRed : clBlue;
    if (!row.Value) {
      host.DrawText((PlayfieldWidth - canvas.TextWidth(row.Label)) / 2, RowY(i), row.Label, colour, 1);
      continue;
    }
    host.DrawText(LabelX, RowY(i), row.Label, colour, 1);
    const std::string value = row.Value(settings);
    host.DrawText(ValueRight - canvas.TextWidth(value), RowY(i), value, chosen ? clRed : ValueColour, 1);
  }
  canvas.Font.Size = HelpSize;
  UseSmoothFont(canvas);
  host.DrawText((PlayfieldWidth - canvas.TextWidth(PracticeText)) / 2, PracticeY, PracticeText,
                settings.Ranked() ? HelpColour : PracticeColour, 0);
  host.DrawText((PlayfieldWidth - canvas.TextWidth(HelpText)) / 2, HelpY, HelpText, HelpColour, 0);
}
