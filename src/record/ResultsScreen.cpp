// The results of one game: the figures, a keyboard coloured by misses, and
// the speed of each wave as a bar chart.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "Product.h"
#include "framework/TextUtils.h"
#include "record/RecordScreens.h"
#include "record/ScreenText.h"

namespace {

constexpr int KeySize = 46;
constexpr int KeyPitch = 52;
constexpr int KeyboardTop = 150;
constexpr std::array<const char*, 3> KeyRows{"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
constexpr std::array<int, 3> RowIndent{0, 18, 44};
constexpr int KeyboardLeft = (800 - 10 * KeyPitch + (KeyPitch - KeySize)) / 2;
constexpr TColor UnusedKey = 0x505050;
constexpr TColor KeyText = clBlack;
// A key missed on this share of its presses or more is fully red.
constexpr double RedShare = 0.25;

constexpr TRect ChartArea{120, 350, 700, 520};
constexpr TColor BarColour = 0xF7DE00;
constexpr TColor AxisColour = 0x808080;
constexpr int MaxBarWidth = 40;
constexpr int BarGap = 4;

uint8_t Mix(int from, int to, double t) { return static_cast<uint8_t>(from + (to - from) * t + 0.5); }

void DrawKeyboard(TCanvas& canvas, const TGameFigures& game) {
  for (const char* row : KeyRows)
    for (const char* c = row; *c; ++c) {
      const TKeyFigures& key = game.Keys[*c - 'A'];
      TRect r = KeyRect(*c);
      canvas.Brush.Color = MissColour(key);
      canvas.FillRect(r);
      canvas.Brush.Style = TBrushStyle::Clear;
      canvas.Font.Size = 14;
      canvas.Font.Color = KeyText;
      canvas.TextOut(r.Left + 5, r.Top + 1, std::string(1, *c));
      if (key.Misses > 0) {
        canvas.Font.Size = 9;
        std::string count = std::to_string(key.Misses);
        canvas.TextOut(r.Right - 4 - canvas.TextWidth(count), r.Bottom - canvas.TextHeight(count) - 1, count);
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

TRect KeyRect(char letter) {
  for (int row = 0; row < static_cast<int>(KeyRows.size()); ++row)
    for (int col = 0; KeyRows[row][col]; ++col)
      if (KeyRows[row][col] == letter) {
        int x = KeyboardLeft + RowIndent[row] + col * KeyPitch, y = KeyboardTop + row * KeyPitch;
        return TRect{x, y, x + KeySize, y + KeySize};
      }
  return TRect{};
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

void DrawResults(TCanvas& canvas, const TGameFigures& game, bool showHint) {
  BeginScreenText(canvas);
  canvas.Font.Size = TitleTextSize;
  CentredText(canvas, 70, "- RESULTS -", TitleTextColour);
  canvas.Font.Size = 14;
  CentredText(canvas, 108,
              "WPM " + Fixed(game.Wpm(), 1) + "    Accuracy " + Fixed(game.Accuracy() * 100, 1) + " %    Words " +
                  std::to_string(game.Words) + "    Best wave " + Fixed(game.BestWaveWpm(), 1) + " WPM",
              clWhite);
  DrawKeyboard(canvas, game);
  DrawWaveChart(canvas, game);
  if (showHint) {
    canvas.Font.Size = 14;
    CentredText(canvas, HintTextY, "Press any key", HintTextColour);
  }
}
