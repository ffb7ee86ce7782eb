// The field of 200 pulsing stars drifting left behind every screen.
#pragma once
#include "sprites/SpriteUnit.h"

constexpr int StarCount = 200;
// A star fades by at most this much a step, brightening (above 0) or dimming.
constexpr int32_t MaxStarFadeSpeed = 100;
constexpr TColor MaxStarColour = 0xFFFFFF;

class TStar : public TSprite {
 public:
  // Somewhere over area (the window with its frame).
  explicit TStar(TSize area);
  int32_t FadeSpeed = 0;
  TColor Colour = 1;
  TColor TargetColour = 0;

  void Step() override;
  void Draw(const TStage& stage) override;
  bool IsDead() override;
};

class TStarField : public TSpriteList {
 public:
  uint32_t ScrollStamp = 0;
  void UpdateAll(const TStage& stage) override;
};
