// The results of one game: the figures, a keyboard coloured by misses, and
// the speed of each wave as a bar chart.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "Product.h"
#include "framework/Letters.h"
#include "framework/TextUtils.h"
#include "platform/Utf8.h"
#include "record/RecordScreens.h"
#include "record/ScreenText.h"

namespace {

constexpr int KeySize = 46;
constexpr int KeyPitch = 52;
constexpr int KeyboardTop = 150;
// How far each row sits to the right of the one above, as on a keyboard.
constexpr std::array<int, 3> RowIndent{0, 18, 44};
constexpr int PictureWidth = 780;
// The letters on no key stand to the right, in columns of three keys, or of
// six smaller ones when there are many.
constexpr int OffLayoutGap = 24;
constexpr int SmallKeySize = 23;
constexpr int SmallKeyPitch = 26;
constexpr TColor UnusedKey = 0x505050;
constexpr TColor OtherKey = 0x282828;  // a key that types no letter
constexpr TColor OtherKeyText = 0xB0B0B0;
constexpr TColor KeyText = clBlack;
// A key missed on this share of its presses or more is fully red.
constexpr double RedShare = 0.25;

constexpr TRect ChartArea{120, 350, 700, 520};
constexpr TColor BarColour = 0xF7DE00;
constexpr TColor AxisColour = 0x808080;
constexpr TColor NotCountedColour = 0x00A5FF;
constexpr int MaxBarWidth = 40;
constexpr int BarGap = 4;

uint8_t Mix(int from, int to, double t) { return static_cast<uint8_t>(from + (to - from) * t + 0.5); }

std::string Utf8(char32_t c) {
  std::string text;
  AppendUtf8(text, c);
  return text;
}

char32_t LetterOn(char32_t typed) { return typed != 0 && IsLetterChar(typed) ? UpperLetter(typed) : 0; }

void DrawKeyboard(TCanvas& canvas, const TGameFigures& game, const TKeyboardLayout& layout) {
  const std::vector<TKeyCap> caps = KeyboardPicture(layout, game);
  TRect off{800, 0, 0, 0};
  for (const TKeyCap& cap : caps)
    if (cap.OffLayout) off = TRect{std::min(off.Left, cap.Rect.Left), 0, std::max(off.Right, cap.Rect.Right), cap.Rect.Bottom};
  if (off.Right > off.Left) {
    canvas.Font.Size = 9;
    const char* caption = "on no key";
    ScreenText(canvas, (off.Left + off.Right - canvas.TextWidth(caption)) / 2, KeyboardTop + 3 * KeyPitch, caption,
               OtherKeyText);
  }
  for (const TKeyCap& cap : caps) {
    const TRect r = cap.Rect;
    const bool small = r.Right - r.Left < KeySize;
    canvas.Brush.Style = TBrushStyle::Solid;
    if (cap.Letter == 0) {
      canvas.Brush.Color = OtherKey;
      canvas.FillRect(r);
      // Signs only: a key whose character could not be told stays blank.
      if (cap.Typed > ' ') {
        canvas.Font.Size = small ? 9 : 16;
        const std::string sign = Utf8(cap.Typed);
        ScreenText(canvas, (r.Left + r.Right - canvas.TextWidth(sign)) / 2, (r.Top + r.Bottom - canvas.TextHeight(sign)) / 2,
                   sign, OtherKeyText);
      }
      continue;
    }
    const TKeyFigures& key = game.Keys[cap.Letter];
    canvas.Brush.Color = MissColour(key);
    canvas.FillRect(r);
    canvas.Font.Size = small ? 9 : 14;
    ScreenText(canvas, r.Left + (small ? 2 : 5), r.Top + (small ? 0 : 1), Utf8(cap.Letter), KeyText);
    if (key.Misses > 0) {
      canvas.Font.Size = small ? 7 : 9;
      std::string count = std::to_string(key.Misses);
      ScreenText(canvas, r.Right - (small ? 1 : 4) - canvas.TextWidth(count), r.Bottom - canvas.TextHeight(count) - 1,
                 count, KeyText);
    }
  }
}

void DrawWaveChart(TCanvas& canvas, const TGameFigures& game) {
  const TRect area = ChartArea;
  canvas.Font.Size = 11;
  ScreenText(canvas, area.Left, area.Top - 28, "WPM per wave", clWhite);
  canvas.Brush.Color = AxisColour;
  canvas.FillRect(TRect{area.Left, area.Bottom, area.Right, area.Bottom + 1});
  if (game.Waves.empty()) return;
  const double top = RoundTop(game.BestWaveWpm());
  ScreenText(canvas, area.Left - 8 - canvas.TextWidth(Fixed(top, 0)), area.Top - 6, Fixed(top, 0), AxisColour);
  const int n = static_cast<int>(game.Waves.size());
  const int pitch = std::max(1, std::min(MaxBarWidth + BarGap, (area.Right - area.Left) / n));
  const int width = std::max(1, pitch - BarGap);
  canvas.Font.Size = 8;
  for (int i = 0; i < n; ++i) {
    const TWaveFigures& wave = game.Waves[i];
    const int x = area.Left + i * pitch;
    const int h = static_cast<int>(std::lround((area.Bottom - area.Top) * std::min(1.0, wave.Wpm() / top)));
    canvas.Brush.Color = BarColour;
    canvas.FillRect(TRect{x, area.Bottom - h, x + width, area.Bottom});
    if (width >= 14) {
      std::string label = std::to_string(wave.Wave);
      ScreenText(canvas, x + (width - canvas.TextWidth(label)) / 2, area.Bottom + 4, label, AxisColour);
      std::string speed = Fixed(wave.Wpm(), 0);
      ScreenText(canvas, x + (width - canvas.TextWidth(speed)) / 2, area.Bottom - h - 14, speed, clWhite);
    }
  }
}

}  // namespace

std::vector<TKeyCap> KeyboardPicture(const TKeyboardLayout& given, const TGameFigures& game) {
  const auto used = game.Keys.Used();
  bool latinLayout = false, latinOnly = true;
  for (const std::u32string& row : given.Rows)
    for (char32_t c : row) latinLayout = latinLayout || (LetterOn(c) >= 'A' && LetterOn(c) <= 'Z');
  for (const auto& entry : used) latinOnly = latinOnly && entry.first <= 'Z';
  const TKeyboardLayout layout = latinLayout || !latinOnly ? given : QwertyLayout();

  // Each row up to its last letter key: the keys between keep their places.
  std::vector<TKeyCap> caps;
  std::u32string onKeys;
  int width = 0;
  for (size_t row = 0; row < layout.Rows.size(); ++row) {
    const std::u32string& keys = layout.Rows[row];
    size_t end = 0;
    for (size_t i = 0; i < keys.size(); ++i)
      if (LetterOn(keys[i]) != 0 && onKeys.find(LetterOn(keys[i])) == std::u32string::npos) end = i + 1;
    for (size_t i = 0; i < end; ++i) {
      TKeyCap cap;
      const int x = RowIndent[row] + static_cast<int>(i) * KeyPitch, y = KeyboardTop + static_cast<int>(row) * KeyPitch;
      cap.Rect = TRect{x, y, x + KeySize, y + KeySize};
      // A letter on two keys is coloured on the first.
      const char32_t letter = LetterOn(keys[i]);
      if (letter != 0 && onKeys.find(letter) == std::u32string::npos) {
        cap.Letter = letter;
        onKeys.push_back(letter);
      } else {
        cap.Typed = keys[i];
      }
      caps.push_back(cap);
      width = std::max(width, cap.Rect.Right);
    }
  }

  std::vector<char32_t> off;
  for (const auto& entry : used)
    if (onKeys.find(entry.first) == std::u32string::npos) off.push_back(entry.first);
  int size = KeySize, pitch = KeyPitch, perColumn = 3;
  auto columns = [&] { return (static_cast<int>(off.size()) + perColumn - 1) / perColumn; };
  auto fits = [&] { return off.empty() || width + OffLayoutGap + columns() * pitch - (pitch - size) <= PictureWidth; };
  if (!fits()) {
    size = SmallKeySize;
    pitch = SmallKeyPitch;
    perColumn = 6;
  }
  // Past what fits, the letters most pressed are shown.
  if (!fits()) {
    std::stable_sort(off.begin(), off.end(), [&](char32_t a, char32_t b) {
      return game.Keys[a].Presses > game.Keys[b].Presses;
    });
    while (!fits()) off.resize(off.size() - std::min(off.size(), static_cast<size_t>(perColumn)));
    std::sort(off.begin(), off.end());
  }
  const int left = width + OffLayoutGap;
  for (size_t i = 0; i < off.size(); ++i) {
    TKeyCap cap;
    const int column = static_cast<int>(i) / perColumn, place = static_cast<int>(i) % perColumn;
    const int x = left + column * pitch, y = KeyboardTop + place * pitch;
    cap.Rect = TRect{x, y, x + size, y + size};
    cap.Letter = off[i];
    cap.OffLayout = true;
    caps.push_back(cap);
    width = std::max(width, cap.Rect.Right);
  }
  // The whole picture centred.
  const int shift = (800 - width) / 2;
  for (TKeyCap& cap : caps) cap.Rect = TRect{cap.Rect.Left + shift, cap.Rect.Top, cap.Rect.Right + shift, cap.Rect.Bottom};
  return caps;
}

TColor MissColour(const TKeyFigures& key) {
  if (key.Presses == 0) return UnusedKey;
  const double t = std::min(1.0, static_cast<double>(key.Misses) / key.Presses / RedShare);
  // Green to yellow in the first half, yellow to red in the second.
  const uint8_t red = t < 0.5 ? Mix(0x20, 0xF0, t * 2) : 0xF0;
  const uint8_t green = t < 0.5 ? 0xD0 : Mix(0xD0, 0x20, (t - 0.5) * 2);
  return static_cast<TColor>(red | green << 8 | 0x20 << 16);
}

TRect WaveChartRect() { return ChartArea; }

void DrawResults(TCanvas& canvas, const TGameFigures& game, const TKeyboardLayout& layout, bool showHint) {
  BeginScreenText(canvas);
  canvas.Font.Size = TitleTextSize;
  CentredText(canvas, 62, "- RESULTS -", TitleTextColour);
  canvas.Font.Size = 14;
  CentredText(canvas, 96,
              "WPM " + Fixed(game.Wpm(), 1) + "    Accuracy " + Fixed(game.Accuracy() * 100, 1) + " %    Words " +
                  std::to_string(game.Words) + "    Best wave " + Fixed(game.BestWaveWpm(), 1) + " WPM",
              clWhite);
  if (!game.Counts()) {
    canvas.Font.Size = 11;
    CentredText(canvas, 122,
                game.Hits < MinCountedHits
                    ? "Too short to count: fewer than " + std::to_string(MinCountedHits) + " correct letters"
                    : "Not counted: accuracy under " + Fixed(MinCountedAccuracy * 100, 0) + " %",
                NotCountedColour);
  }
  DrawKeyboard(canvas, game, layout);
  DrawWaveChart(canvas, game);
  if (showHint) {
    canvas.Font.Size = 14;
    CentredText(canvas, HintTextY, "Press any key", HintTextColour);
  }
}
