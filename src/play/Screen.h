// Screens added beside the game's own loops (results, progress, options,
// watching a replay, ...): each is a class of its own, run by a stack that
// applies pushes and pops between frames and gives the input to the top
// screen only.
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "platform/Types.h"

// The playfield every frame is composed on, the form's and the screens' alike.
constexpr int PlayfieldWidth = 800;
constexpr int PlayfieldHeight = 600;

class TCanvas;
class TGameClock;
class TPlatform;
class TScreenStack;

// What a screen draws and reads with; the form provides it.
class TScreenHost {
 public:
  virtual ~TScreenHost() = default;
  virtual TPlatform& Platform() = 0;
  virtual TCanvas& Canvas() = 0;
  virtual const TGameClock& Clock() const = 0;
  // Under every screen: the stars move, the background and the HUD are drawn.
  virtual void BeginFrame() = 0;
  // The frame to the window, the window's input delivered, the clock on.
  virtual void PresentFrame() = 0;
  // The window was closed: no screen goes on.
  virtual bool Closed() const = 0;
  virtual void DrawText(int x, int y, std::string_view text, TColor colour, int shadow) = 0;
};

struct TMouse {
  enum class TKind : uint8_t { Down, Move } Kind = TKind::Down;
  TMouseButton Button = TMouseButton::Left;
  int X = 0, Y = 0;
};

class TScreen {
 public:
  virtual ~TScreen() = default;
  // For reports and tests: "results", "stats", "options", "watch", ...
  virtual std::string_view Name() const = 0;
  virtual void Enter(TScreenStack&) {}
  // A frame's update, before the drawing.
  virtual void Update(TScreenStack&) {}
  virtual void Draw(TCanvas&) {}
  virtual void Key(TScreenStack&, uint16_t) {}
  virtual void Text(TScreenStack&, char32_t) {}
  virtual void Mouse(TScreenStack&, const TMouse&) {}
  virtual void Leave() {}
  // One frame: the update, the common background, the screen's drawing, the
  // present. A screen that runs frames of its own (watching a game) does
  // them here instead.
  virtual void Frame(TScreenStack& stack, TScreenHost& host);
  // False for a screen that takes the window's input itself while the game
  // under it gets other input (a replay's).
  virtual bool TakesInput() const { return true; }
};

class TScreenStack {
 public:
  // Runs frames until the stack is empty or the window is closed; the
  // screen pushed first is entered before the first frame.
  void Run(TScreenHost& host, std::unique_ptr<TScreen> first);
  // Both take effect between frames.
  void Push(std::unique_ptr<TScreen> screen);
  void Pop();
  bool Empty() const { return screens_.empty(); }
  TScreen* Top() const { return screens_.empty() ? nullptr : screens_.back().get(); }
  // A pop is waiting for the end of the frame.
  bool Leaving() const { return popped_ > 0; }
  // Input for the top screen; false when none takes it.
  bool Key(uint16_t key);
  bool Text(char32_t c);
  bool Mouse(const TMouse& mouse);

 private:
  void ApplyPending();
  std::vector<std::unique_ptr<TScreen>> screens_;
  std::vector<std::unique_ptr<TScreen>> pushed_;
  int popped_ = 0;
};
