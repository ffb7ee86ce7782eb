// Writes screenshots.
#pragma once
#include <string>

class TBitmap;

// Writes the bitmap as an RGB PNG file; false when the file cannot be written.
bool WritePng(const TBitmap& bitmap, const std::string& path);
