// The two screens of the typing record, drawn on any canvas: the results of
// one game and the progress over many. The form runs them (RecordScreens.cpp);
// the drawing stands alone so that tests and benchmarks can look at it.
#pragma once
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "record/History.h"
#include "record/TypingRecord.h"

// A key press or click before this much time has passed on the results
// screen is still typing from the game, not a wish to go on.
constexpr uint32_t ResultsGuardMs = 1000;

// Where a letter key sits on the keyboard picture ('A' .. 'Z').
TRect KeyRect(char letter);
// Green for a key never missed, through yellow, to red for one often missed;
// grey for a key never pressed.
TColor MissColour(const TKeyFigures& key);
// The bars of the wave chart stand on the bottom of this rectangle.
TRect WaveChartRect();
// The two plots of the progress screen.
TRect WpmPlotRect();
TRect AccuracyPlotRect();

void DrawResults(TCanvas& canvas, const TGameFigures& game, bool showHint);
void DrawProgress(TCanvas& canvas, const TProgress& progress);

// The kept games to watch again, a page of the progress screen: one row each,
// newest first, as its columns read.
struct TRecentGameRow {
  std::string When, Rules, Start, Words, Score, Waves;
};
constexpr int RecentGameRows = 10;
// The row of the list under a playfield y, or -1.
int RecentGameRowAt(int y, int count);
// The links between the two pages, at the foot of each.
TRect RecentGamesLink();
TRect ProgressLink();
void DrawRecentGames(TCanvas& canvas, const std::vector<TRecentGameRow>& rows, int selected);
