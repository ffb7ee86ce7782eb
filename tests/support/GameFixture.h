// A form over the headless platform, for tests that need the running game.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "framework/Utils.h"
#include "hiscores/HiScoreUnit.h"
#include "platform/Application.h"
#include "platform/headless/HeadlessPlatform.h"
#include "Game.h"
#include "sim/PlayStats.h"

class GameFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    // Every game starts from the default table, never from a file that an
    // earlier run left in the build folder.
    // (A fixture that chose a folder of its own keeps it.)
    savedScoreFolder_ = HiScoreFolder;
    if (HiScoreFolder.empty()) {
      std::string pattern = (std::filesystem::temp_directory_path() / "glyphfall-game-XXXXXX").string();
      if (mkdtemp(pattern.data())) scoreFolder_ = pattern;
      HiScoreFolder = scoreFolder_;
    }
    MakeForm({});
  }
  void TearDown() override {
    game.reset();
    application.reset();
    platform.reset();
    HiScoreFolder = savedScoreFolder_;
    std::error_code ec;
    if (!scoreFolder_.empty()) std::filesystem::remove_all(scoreFolder_, ec);
  }

  // Rebuilds platform, application and form with the given switches.
  void MakeForm(std::vector<std::string> args) {
    game.reset();
    application.reset();
    platform = std::make_unique<THeadlessPlatform>(std::move(args));
    application = std::make_unique<TApplication>(*platform);
    MakeGame();
    RandSeed(12345);
  }
  // A new game on the same platform.
  void MakeGame() {
    game.reset();
    game = std::make_unique<TGame>(*platform);
    form = &game->Form;
    session = &game->Session;
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
  // A game as the menu plays it: the loop, then what follows it beside the
  // form (its replay kept, its typing saved), without the results screen.
  void PlayWholeGame() {
    form->PlayGame();
    std::string replay;
    session->GameFinished(false, replay);
  }
  uint32_t Now() const { return platform->GetTickCount(); }
  // Counts what happens in play from here on (the simulator's statistics).
  TPlayStats& Watch() {
    form->Events.Add(stats);
    return stats;
  }

  std::unique_ptr<THeadlessPlatform> platform;
  std::unique_ptr<TApplication> application;
  std::unique_ptr<TGame> game;
  TGlyphfallForm* form = nullptr;
  TSession* session = nullptr;
  TPlayStats stats;

 private:
  std::string scoreFolder_, savedScoreFolder_;
};
