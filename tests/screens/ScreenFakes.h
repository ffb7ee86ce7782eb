// The added screens without the game: a host that counts frames on a bitmap
// of its own, and a session view that records what the screens ask of it.
#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/GameClock.h"
#include "platform/Canvas.h"
#include "platform/headless/HeadlessPlatform.h"
#include "play/Services.h"
#include "record/History.h"
#include "record/TypingRecord.h"
#include "replay/ReplayUnit.h"

class TFakeHost : public TScreenHost {
 public:
  THeadlessPlatform Window;
  TBitmap Screen{800, 600};
  TGameClock GameClock;
  int Frames = 0;
  bool WindowClosed = false;
  // Between frames, where the window's input arrives: given the frame's number.
  std::function<void(int)> OnPresent;

  TPlatform& Platform() override { return Window; }
  TCanvas& Canvas() override { return Screen.Canvas(); }
  const TGameClock& Clock() const override { return GameClock; }
  void BeginFrame() override {}
  void PresentFrame() override {
    GameClock.GameTime += 20;
    if (OnPresent) OnPresent(++Frames);
    // A screen that never ends fails its test rather than hanging it.
    if (Frames > 1000) WindowClosed = true;
  }
  bool Closed() const override { return WindowClosed; }
  void DrawText(int, int, std::string_view, TColor, int) override {}
};

class TFakeSession : public TSessionView {
 public:
  explicit TFakeSession(const std::string& folder) : Folder(folder), Kept((std::filesystem::path(folder) / "db").string()) {}
  TFakeHost FakeHost;
  TSettings Chosen;
  int Applied = 0;
  TGameFigures Game;
  std::string Folder;
  THistory Kept;
  std::vector<std::string> Loaded;  // files asked to be watched

  TScreenHost& Host() override { return FakeHost; }
  TSettings& Settings() override { return Chosen; }
  void ApplySettings() override { ++Applied; }
  const TGameFigures& LastGame() override { return Game; }
  THistory& History() override { return Kept; }
  const std::string& ReplayFolder() override { return Folder; }
  std::string ReplayRefusal(const TReplay&) override { return ""; }
  std::unique_ptr<TReplay> LoadForWatching(const std::string& path) override {
    Loaded.push_back(path);
    return nullptr;
  }
  void PlayReplay(const TReplay&, TReplayPresenter&, TInputSink&) override {}
};
