// The two screens of the typing record, drawn on any canvas: the results of
// one game and the progress over many. The form runs them (RecordScreens.cpp);
// the drawing stands alone so that tests and benchmarks can look at it.
#pragma once
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Platform.h"
#include "record/History.h"
#include "record/TypingRecord.h"

// A key press or click before this much time has passed on the results
// screen is still typing from the game, not a wish to go on.
constexpr uint32_t ResultsGuardMs = 1000;

// One key of the keyboard picture of the results.
struct TKeyCap {
  TRect Rect;
  char32_t Letter = 0;   // the letter's capital; 0 for a key that types none
  char32_t Typed = 0;    // what a key without a letter types (0: unknown)
  bool OffLayout = false;  // a letter typed that no key of the layout types
};
// The three letter rows of the layout, each key as it types, and beside them
// the letters the game typed that are on no key (dead keys, compose). A US
// keyboard stands in for a layout without Latin letters when only A-Z were
// typed: the game then takes the keys by their place.
std::vector<TKeyCap> KeyboardPicture(const TKeyboardLayout& layout, const TGameFigures& game);
// Green for a key never missed, through yellow, to red for one often missed;
// grey for a key never pressed.
TColor MissColour(const TKeyFigures& key);
// The bars of the wave chart stand on the bottom of this rectangle.
TRect WaveChartRect();
// The two plots of the progress screen.
TRect WpmPlotRect();
TRect AccuracyPlotRect();

void DrawResults(TCanvas& canvas, const TGameFigures& game, const TKeyboardLayout& layout, bool showHint);
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
