// The HUD and twenty words per frame: our canvas against SDL_ttf's blended
// rendering plus a blit, same font and sizes.
#include <benchmark/benchmark.h>

#include "platform/Assets.h"
#include "platform/Canvas.h"
#include "platform/sdl/bench/TtfReference.h"

namespace {
struct TTextItem {
  const char* text;
  int size;
  int x, y;
};
const TTextItem Items[] = {
    {"SCORE", 18, 20, -4},     {"000120", 18, 20, 20},      {"BOMBS", 18, 250, -4},   {"WAVE", 18, 460, -4},
    {"3", 18, 500, 20},        {"HIGH SCORE", 18, 650, -4}, {"001000", 18, 700, 20},  {"CASTLE", 14, 120, 150},
    {"TYPING", 14, 220, 170},  {"ARCADE", 14, 320, 190},    {"GLYPH", 14, 420, 210},  {"FALLING", 14, 520, 230},
    {"WORDS", 14, 620, 250},   {"QUICK", 14, 120, 270},     {"BRICK", 14, 220, 290},  {"STONE", 14, 320, 310},
    {"ZEBRA", 14, 420, 330},   {"JUMPING", 14, 520, 350},   {"HORSE", 14, 620, 370},  {"LEVEL", 14, 120, 390},
    {"ANOTHER", 14, 220, 410}, {"SHIELD", 14, 320, 430},    {"CANNON", 14, 420, 450}, {"BULLET", 14, 520, 470},
    {"PROBLEM", 14, 620, 490}, {"SALVO", 14, 120, 510},     {"ATTACK", 14, 220, 530}};

void BM_TextCanvas(benchmark::State& state) {
  TBitmap bmp(800, 600);
  TCanvas& c = bmp.Canvas();
  c.Font.Bold = true;
  c.Font.Smooth = true;
  c.Brush.Style = TBrushStyle::Clear;
  c.Font.Color = 0x00FFFF;
  for (auto _ : state) {
    for (const TTextItem& i : Items) {
      c.Font.Size = i.size;
      c.TextOut(i.x, i.y, i.text);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TextCanvas);

void BM_TextSdlTtf(benchmark::State& state) {
  std::string_view font = EmbeddedAsset("fonts/ComicNeue-Bold.otf");
  TTtfReference ttf(font.data(), font.size(), 800, 600);
  if (!ttf.Ok()) {
    state.SkipWithError("SDL_ttf unavailable");
    return;
  }
  for (auto _ : state) {
    for (const TTextItem& i : Items) ttf.Draw(i.text, i.size, i.x, i.y, 0x00FFFF);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TextSdlTtf);
}  // namespace
