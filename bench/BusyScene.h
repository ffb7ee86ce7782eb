// The busy wave the frame benchmarks compose: ten words of every look, 300
// explosion fragments and five score texts. Shared by the benchmark and the
// browser's frame timing, so both time the very same picture.
#pragma once
#include <vector>

#include "shell/GlyphfallUnit.h"
#include "sprites/StarUnit.h"
#include "words/WordUnit.h"

template <class W>
W* AddWord(TGlyphfallForm& f, const char* text, int x, int row, uint8_t tier = 1) {
  auto* w = new W;
  w->CreateFromText(text, tier, DirLeft, nullptr);
  w->PlaceAt({x, f.CastleTop() + 16 * row});
  f.AttackWords->AddObject(w);
  return w;
}

inline void AddExplosions(TGlyphfallForm& f, int fragments) {
  const std::vector<TColor> colours = {clBlue, clRed, clYellow};
  int made = 0;
  int i = 0;
  while (made < fragments) {
    auto* e = new TExplodeItem({100 + (i * 37) % 600, 150 + (i * 53) % 400}, {40, 40}, 4, colours);
    made += e->Debris.Count();
    f.ExplodeItems->AddObject(e);
    ++i;
  }
}

// One frame of play as the game draws it.
inline void Compose(TGlyphfallForm& f) {
  f.DrawBackground();
  f.DrawCastle();
  f.DrawHud();
  f.DrawSprites();
  f.DrawCentreMessage();
}

inline constexpr const char* BusyWords[10] = {"CASTLE", "TYPING", "ARCADE", "GLYPH", "FALLING",
                                              "WORDS",  "QUICK",  "BRICK",  "STONE", "ZEBRA"};

inline void BuildBusyWave(TGlyphfallForm& f, const char* const (&words)[10] = BusyWords) {
  f.BuildMenu();
  f.NewGame();
  f.StarField->UpdateAll(f.Stage);
  for (int i = 0; i < 10; ++i) {
    if (i == 3)
      AddWord<TShieldedWord>(f, words[i], 150 + i * 60, 2 + i * 2);
    else if (i == 6)
      AddWord<TFlashWord>(f, words[i], 150 + i * 60, 2 + i * 2);
    else
      AddWord<TSpriteWord>(f, words[i], 150 + i * 60, 2 + i * 2, static_cast<uint8_t>(i % 4));
  }
  AddExplosions(f, 300);
  for (int i = 0; i < 5; ++i) f.ScoreItems->AddObject(new TScoreItem(f.Canvas(), {200 + i * 90, 300}, "+60", nullptr));
}
