// The window's picture: the game's frame scaled into the window's own
// surface, only where it changed, and the pace of frames.
//
// The picture is drawn by the processor straight into the surface the window
// system shows (shared memory under X11), with no 3D device in between: on a
// machine without a graphics processor a 3D renderer would do the same work
// in software, and far more of it. The frame is compared with the one shown
// before in tiles; only changed tiles are scaled and sent.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/FrameChanges.h"
#include "platform/Scaling.h"

struct SDL_Window;
struct SDL_Surface;

class TSdlScreen {
 public:
  TSdlScreen(SDL_Window* window, int playW, int playH, bool pixelExact);

  // Shows frame (null: the one shown last) with banner, when not empty,
  // over its middle.
  void Show(const TBitmap* frame, const std::string& banner);
  // The window's contents were lost or its size changed: the next Show
  // draws everything.
  void Invalidate() { redrawAll_ = true; }
  void SetPixelExact(bool on) {
    pixelExact_ = on;
    Invalidate();
  }
  // Where the playfield is in the window, in window pixels.
  TViewport Viewport() const;
  // Waits until the next frame is due at the display's refresh rate; a key
  // press or a click ends the wait at once, so the frame that answers it is
  // not held back. Never waits longer than one frame.
  void WaitForNextFrame();
  // Reads the display's refresh rate again (after a move or a mode change).
  void UpdateRefreshRate();

 private:
  void ComposeBanner(const std::string& text);
  bool InputWaiting() const;

  SDL_Window* window_;
  int playW_;
  int playH_;
  bool pixelExact_;
  TFrameChanges changes_;
  TSharpScaler scaler_;
  TBitmap composite_;        // the frame with the banner over it
  std::string bannerShown_;  // the banner on the screen now
  bool redrawAll_ = true;
  SDL_Surface* surface_ = nullptr;  // the surface last drawn into
  TSize surfaceSize_;
  std::vector<uint32_t> staging_;  // for screens of another pixel layout
  int64_t periodNs_ = 1000000000 / 60;
  int64_t dueNs_ = 0;  // when the next frame should be shown
};
