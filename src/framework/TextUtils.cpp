#include "framework/TextUtils.h"

#include "platform/Utf8.h"

void UseSmoothFont(TCanvas& canvas) { canvas.Font.Smooth = true; }

TSize TextExtentAt(TCanvas& canvas, int size, std::string_view text) {
  canvas.Font.Size = size;
  return canvas.TextExtent(text);
}

namespace {
constexpr std::string_view Ellipsis = "...";

// The longest start of text, whole characters, no wider than width (at least
// one character, so that every line takes something). Found by halving: the
// menu wraps its notices every frame.
size_t FittingBytes(TCanvas& canvas, std::string_view text, int width) {
  std::vector<size_t> ends;  // where each character ends
  for (size_t i = 0; i < text.size();) ends.push_back(i += CharBytes(text, i));
  size_t lo = 0, hi = ends.size() - 1;  // ends[lo] fits, or lo is the first
  while (lo < hi) {
    size_t mid = (lo + hi + 1) / 2;
    if (canvas.TextWidth(text.substr(0, ends[mid])) <= width)
      lo = mid;
    else
      hi = mid - 1;
  }
  return ends[lo];
}
}  // namespace

std::vector<std::string> WrapText(TCanvas& canvas, std::string_view text, int width, size_t maxLines) {
  std::vector<std::string> lines;
  if (maxLines == 0) return lines;
  while (!text.empty()) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (text.empty()) break;
    if (lines.size() == maxLines) {
      std::string& last = lines.back();
      while (!last.empty() && canvas.TextWidth(last + std::string(Ellipsis)) > width) {
        size_t i = 0, start = 0;
        while (i < last.size()) start = i, i += CharBytes(last, i);
        last.erase(start);
      }
      last += Ellipsis;
      break;
    }
    size_t fit = FittingBytes(canvas, text, width);
    size_t cut = fit;
    if (fit < text.size() && text[fit] != ' ') {
      // Back to the last space, unless the word alone is too wide.
      size_t space = text.substr(0, fit).rfind(' ');
      if (space != std::string_view::npos && space > 0) cut = space;
    }
    std::string_view line = text.substr(0, cut);
    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
    lines.emplace_back(line);
    text.remove_prefix(cut);
  }
  return lines;
}
