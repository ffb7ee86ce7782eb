// A form over the headless platform, for tests that need the running game.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Utils.h"
#include "platform/Application.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/GlyphfallUnit.h"

class GameFixture : public ::testing::Test {
 protected:
  void SetUp() override { MakeForm({}); }
  void TearDown() override {
    form.reset();
    application.reset();
    platform.reset();
  }

  // Rebuilds platform, application and form with the given switches.
  void MakeForm(std::vector<std::string> args) {
    form.reset();
    application.reset();
    platform = std::make_unique<THeadlessPlatform>(std::move(args));
    application = std::make_unique<TApplication>(*platform);
    form = std::make_unique<TGlyphfallForm>(*platform);
    RandSeed(12345);
  }

  // One frame of play, as the play loop runs it.
  void PlayFrame() {
    form->UpdateSprites();
    form->UpdateWave();
    form->DrawFrame();
  }
  // Plays frames until the clock has advanced by ms.
  void PlayFor(uint32_t ms) {
    uint32_t end = platform->GetTickCount() + ms;
    while (platform->GetTickCount() < end) PlayFrame();
  }
  // Starts a game the way the menu does, without running the loop.
  void StartGame() {
    if (!form->Menu) form->BuildMenu();
    form->NewGame();
  }
  uint32_t Now() const { return platform->GetTickCount(); }

  std::unique_ptr<THeadlessPlatform> platform;
  std::unique_ptr<TApplication> application;
  std::unique_ptr<TGlyphfallForm> form;
};
