// The field of 200 pulsing stars drifting left behind every screen.
#pragma once
#include "sprites/SpriteUnit.h"

constexpr int StarCount = 200;

class TStar : public TSprite {
 public:
  TStar();
  int32_t FadeSpeed = 0;
  TColor Colour = 1;
  TColor TargetColour = 0;

  void Step() override;
  void Draw() override;
  bool IsDead() override;
};

class TStarField : public TSpriteList {
 public:
  uint32_t ScrollStamp = 0;
  void UpdateAll() override;
};
