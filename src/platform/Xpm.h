// Reader for the game's pictures, stored as XPM (version 3) text.
//
// Accepted: the C array form ("/* XPM */" then quoted strings), 1 or 2
// characters per pixel, colours given with the "c" key as #RGB, #RRGGBB,
// #RRRRGGGGBBBB or one of the names None, black, white, red, green, blue,
// yellow (None reads as black). Other keys (m, g, g4, s) are ignored.
//
// The text is untrusted: sizes are bounded, nothing is allocated beyond what
// the header declares within those bounds and the text can actually hold, and
// every malformation is reported instead of guessed at.
#pragma once
#include <string>
#include <string_view>

class TBitmap;

constexpr int MaxXpmSide = 4096;
constexpr int MaxXpmColours = 4096;
constexpr int MaxXpmCharsPerPixel = 2;

// Parses the whole file text into out (resized to the picture). On failure
// returns false, leaves out unchanged and, when error is given, says why.
bool ParseXpm(std::string_view fileText, TBitmap& out, std::string* error = nullptr);
