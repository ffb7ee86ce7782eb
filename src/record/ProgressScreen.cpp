// Progress over many games: speed and accuracy of the last games (a dot each,
// a moving average as a line), totals, the best speed and the weakest keys.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/Utf8.h"
#include "record/RecordScreens.h"
#include "record/ScreenText.h"

namespace {

constexpr TRect WpmArea{110, 120, 720, 250};
constexpr TRect AccuracyArea{110, 290, 720, 420};
constexpr TColor FrameColour = 0x606060;
constexpr TColor DotColour = 0xF7DE00;
constexpr TColor AverageColour = 0x00FFFF;
constexpr int DotRadius = 2;
// Games in the moving average.
constexpr int AverageGames = 5;

// The page of recent games.
constexpr int ListHeaderY = 118;
constexpr int FirstListRowY = 150;
constexpr int ListRowHeight = 36;
constexpr int ListTextSize = 12;
constexpr TColor ChosenRowColour = 0x402000;
constexpr TColor ChosenTextColour = 0x00FFFF;
// Left edge of each column: when, rules, start, words, score, waves.
constexpr std::array<int, 6> Columns = {40, 230, 340, 470, 590, 700};
constexpr int LinkTextSize = 14;
constexpr TColor LinkColour = 0xFFC000;
constexpr TRect RecentLink{560, HintTextY - 4, 790, HintTextY + 26};
constexpr TRect BackLink{10, HintTextY - 4, 190, HintTextY + 26};

void Line(TCanvas& canvas, TPoint a, TPoint b, TColor colour) {
  const int dx = std::abs(b.X - a.X), dy = -std::abs(b.Y - a.Y);
  const int sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    canvas.SetPixel(a.X, a.Y, colour);
    canvas.SetPixel(a.X, a.Y + 1, colour);  // two pixels thick, to read at a glance
    if (a == b) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      a.X += sx;
    }
    if (e2 <= dx) {
      err += dx;
      a.Y += sy;
    }
  }
}

// One plot: a frame, its top value, a dot per game and the moving average.
void Plot(TCanvas& canvas, TRect area, const std::string& title, double top,
          const std::vector<TProgress::TGamePoint>& games, const std::function<double(const TProgress::TGamePoint&)>& value,
          int decimals) {
  canvas.Brush.Color = FrameColour;
  canvas.FillRect(TRect{area.Left, area.Top, area.Left + 1, area.Bottom + 1});
  canvas.FillRect(TRect{area.Left, area.Bottom, area.Right, area.Bottom + 1});
  canvas.Font.Size = 11;
  ScreenText(canvas, area.Left + 8, area.Top - 22, title, clWhite);
  canvas.Font.Size = 9;
  const std::string topText = Fixed(top, decimals);
  ScreenText(canvas, area.Left - 6 - canvas.TextWidth(topText), area.Top - 6, topText, FrameColour);
  ScreenText(canvas, area.Left - 6 - canvas.TextWidth("0"), area.Bottom - 12, "0", FrameColour);
  const int n = static_cast<int>(games.size());
  auto at = [&](int i, double v) {
    const int x = area.Left + 6 + (n > 1 ? i * (area.Width() - 12) / (n - 1) : (area.Width() - 12) / 2);
    const double share = top > 0 ? std::clamp(v / top, 0.0, 1.0) : 0;
    return TPoint{x, area.Bottom - static_cast<int>(std::lround(share * area.Height()))};
  };
  TPoint previous{};
  double sum = 0;
  for (int i = 0; i < n; ++i) {
    sum += value(games[i]);
    if (i >= AverageGames) sum -= value(games[i - AverageGames]);
    const TPoint p = at(i, sum / std::min(i + 1, AverageGames));
    if (i > 0) Line(canvas, previous, p, AverageColour);
    previous = p;
  }
  canvas.Brush.Color = DotColour;
  for (int i = 0; i < n; ++i) {
    const TPoint p = at(i, value(games[i]));
    canvas.FillRect(TRect{p.X - DotRadius, p.Y - DotRadius, p.X + DotRadius + 1, p.Y + DotRadius + 1});
  }
}

std::string Duration(int64_t ms) {
  const int64_t minutes = ms / 60000;
  return minutes >= 60 ? std::to_string(minutes / 60) + " h " + std::to_string(minutes % 60) + " min"
                       : std::to_string(minutes) + " min " + std::to_string(ms / 1000 % 60) + " s";
}

}  // namespace

TRect WpmPlotRect() { return WpmArea; }
TRect AccuracyPlotRect() { return AccuracyArea; }

void DrawProgress(TCanvas& canvas, const TProgress& progress) {
  BeginScreenText(canvas);
  canvas.Font.Size = TitleTextSize;
  CentredText(canvas, 70, "- PROGRESS -", TitleTextColour);
  canvas.Font.Size = 14;
  if (progress.Games == 0) {
    CentredText(canvas, 260, "No games yet.", clWhite);
    CentredText(canvas, 295, "Play a game and your speed and accuracy will show here.", clWhite);
  } else if (progress.Counted == 0) {
    CentredText(canvas, 260, "No game long enough to count yet.", clWhite);
    CentredText(canvas, 295,
                "A game counts with " + std::to_string(MinCountedHits) + " correct letters at " +
                    Fixed(MinCountedAccuracy * 100, 0) + " % accuracy.",
                clWhite);
    canvas.Font.Size = 12;
    CentredText(canvas, 448,
                "Games " + std::to_string(progress.Games) + "    Time played " + Duration(progress.PlayMs) +
                    "    Words typed " + std::to_string(progress.Words),
                clWhite);
  } else {
    double best = 0;
    for (const auto& g : progress.Recent) best = std::max(best, g.Wpm);
    const double top = RoundTop(best);
    const std::string last =
        progress.Recent.size() == 1 ? "the one game" : "last " + std::to_string(progress.Recent.size()) + " games";
    Plot(canvas, WpmArea, "WPM, " + last, top, progress.Recent, [](const auto& g) { return g.Wpm; }, 0);
    Plot(canvas, AccuracyArea, "Accuracy %, " + last, 100, progress.Recent,
         [](const auto& g) { return g.Accuracy * 100; }, 0);
    canvas.Font.Size = 12;
    CentredText(canvas, 448,
                "Games " + std::to_string(progress.Games) + "    Time played " + Duration(progress.PlayMs) +
                    "    Words typed " + std::to_string(progress.Words) + "    Best " + Fixed(progress.BestWpm, 1) +
                    " WPM",
                clWhite);
    // Misses of presses: a rare key missed once shows as what it is.
    std::string weak = "Weakest keys, misses of presses:";
    if (progress.Weakest.empty()) weak += " none missed";
    for (const auto& k : progress.Weakest)
    {
      weak += "   ";
      AppendUtf8(weak, k.Letter);
      weak += " " + std::to_string(k.Misses) + "/" + std::to_string(k.Presses);
    }
    CentredText(canvas, 482, weak, clWhite);
  }
  canvas.Font.Size = LinkTextSize;
  CentredText(canvas, HintTextY, "Press any key", HintTextColour);
  ScreenText(canvas, RecentLink.Right - canvas.TextWidth("RECENT GAMES >"), HintTextY, "RECENT GAMES >", LinkColour);
}

TRect RecentGamesLink() { return RecentLink; }
TRect ProgressLink() { return BackLink; }

int RecentGameRowAt(int y, int count) {
  if (y < FirstListRowY - 6) return -1;
  const int row = (y - FirstListRowY + 6) / ListRowHeight;
  return row < std::min(count, RecentGameRows) ? row : -1;
}

void DrawRecentGames(TCanvas& canvas, const std::vector<TRecentGameRow>& rows, int selected) {
  BeginScreenText(canvas);
  canvas.Font.Size = TitleTextSize;
  CentredText(canvas, 70, "- RECENT GAMES -", TitleTextColour);
  canvas.Font.Size = 14;
  if (rows.empty()) {
    CentredText(canvas, 260, "No games kept yet.", clWhite);
    CentredText(canvas, 295, "Every game you play is kept here to watch again.", clWhite);
  } else {
    canvas.Font.Size = 11;
    static constexpr std::array<const char*, 6> Heads = {"Ended", "Rules", "Start", "Words", "Score", "Waves"};
    for (size_t c = 0; c < Columns.size(); ++c) ScreenText(canvas, Columns[c], ListHeaderY, Heads[c], FrameColour);
    canvas.Font.Size = ListTextSize;
    const int n = std::min(static_cast<int>(rows.size()), RecentGameRows);
    for (int i = 0; i < n; ++i) {
      const int y = FirstListRowY + i * ListRowHeight;
      const bool chosen = i == selected;
      if (chosen) {
        canvas.Brush.Color = ChosenRowColour;
        canvas.FillRect(TRect{Columns[0] - 14, y - 6, 780, y + ListRowHeight - 10});
      }
      const TColor colour = chosen ? ChosenTextColour : clWhite;
      const TRecentGameRow& r = rows[static_cast<size_t>(i)];
      const std::array<const std::string*, 6> cells = {&r.When, &r.Rules, &r.Start, &r.Words, &r.Score, &r.Waves};
      for (size_t c = 0; c < cells.size(); ++c) ScreenText(canvas, Columns[c], y, *cells[c], colour);
    }
  }
  canvas.Font.Size = LinkTextSize;
  ScreenText(canvas, BackLink.Left + 10, HintTextY, "< PROGRESS", LinkColour);
  CentredText(canvas, HintTextY, rows.empty() ? "Esc: menu" : "Enter or click: watch   Esc: menu", HintTextColour);
}
