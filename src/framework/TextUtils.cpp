#include "framework/TextUtils.h"

void UseSmoothFont(TCanvas& canvas) { canvas.Font.Smooth = true; }

TSize TextExtentAt(TCanvas& canvas, int size, std::string_view text) {
  canvas.Font.Size = size;
  return canvas.TextExtent(text);
}
