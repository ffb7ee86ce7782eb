// Letters beyond A-Z: capitals, accents and what counts as a letter, for the
// alphabets the game's font draws (Latin with its accents, Greek, Cyrillic).
#pragma once
#include <string>
#include <string_view>

// The capital of a letter; a letter without a single capital (ß) and any
// other character stay as they are.
char32_t UpperLetter(char32_t c);
// True for a small letter: one that has a capital of its own, or ß.
bool IsSmallLetter(char32_t c);
// True for a letter of the alphabets above (not a digit, mark or sign).
bool IsLetterChar(char32_t c);
// The plain letter under an accented capital (É -> E, Ł -> L); the letter
// itself when it has no accent to drop.
char32_t BaseLetter(char32_t c);
// Every character of UTF-8 text in capitals.
std::string UpperCaseText(std::string_view text);
