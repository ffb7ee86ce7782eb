// Reads the game's pictures from XPM text.
#pragma once
#include <string>
#include <string_view>

class TBitmap;

// Parses a whole XPM (version 3) file text into out. False, with a reason in
// *error, for anything malformed; never reads or allocates past sane bounds.
bool ParseXpm(std::string_view fileText, TBitmap& out, std::string* error = nullptr);
