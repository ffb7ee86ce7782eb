// A bare stage for sprite tests: an off-screen bitmap and a game clock, no
// game form.
#pragma once
#include <gtest/gtest.h>

#include "framework/GameClock.h"
#include "framework/Stage.h"
#include "framework/Utils.h"
#include "platform/Canvas.h"

class StageFixture : public ::testing::Test {
 protected:
  static constexpr int Width = 800;
  static constexpr int Height = 600;

  void SetUp() override {
    clock.Reset(1000000);
    RandSeed(12345);
  }
  void ClearScreen() {
    stage.Canvas().Brush.Color = clBlack;
    stage.Canvas().FillRect(Rect(0, 0, Width, Height));
  }

  TGameClock clock;
  TBitmap screen{Width, Height};
  TStage stage{clock, screen, TSize{808, 626}};
};
