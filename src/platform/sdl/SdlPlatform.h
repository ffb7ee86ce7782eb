// The real platform: one SDL window, keyboard, mouse, sound and clock.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Platform.h"
#include "platform/Scaling.h"
#include "platform/sdl/PresentTrace.h"
#include "platform/sdl/SdlScreen.h"

struct SDL_Window;
union SDL_Event;

// Translates an SDL key (keycode and scancode) to the classic virtual-key
// code, or 0 for keys the game has no code for. Letters follow the active
// layout; on layouts without Latin letters the key's position decides.
uint16_t TranslateSdlKey(int32_t keycode, int32_t scancode);

class TSdlPlatform : public TPlatform {
 public:
  TSdlPlatform(std::vector<std::string> args, std::string exeName);
  ~TSdlPlatform() override;

  uint32_t GetTickCount() override;
  void Sleep(uint32_t ms) override;

  void ShowWindow() override;
  void HideWindow() override;
  bool IsWindowVisible() override { return visible_; }
  void SetCaption(const std::string& caption) override;
  std::string Caption() override { return caption_; }
  void SetWindowPos(int left, int top) override;
  bool IsApplicationActive() override;
  TSize WorkAreaSize() override;
  TSize OuterSize() override;
  TPoint CursorPos() override;
  TPoint ScreenToClient(TPoint p) override;
  void PresentFrame(const TBitmap& frame) override;

  TWaveOutDevice& WaveOut() override;
  std::string ExeName() override { return exeName_; }
  const std::vector<std::string>& Args() override { return args_; }
  TKeyboardLayout KeyboardLayout() override;

 protected:
  void PumpEvents() override;
  void Report(const std::string& title, const std::string& text) override;

 private:
  void HandleEvent(const SDL_Event& e);
  // The desktop's own keys: pause, mute, fullscreen. True when handled.
  bool HandleDesktopKey(const SDL_Event& e);
  void SetIcon();
  // Shows the last frame again (with the banner of the moment).
  void Render();
  std::string Banner();
  TPoint ToPlayfield(int x, int y);
  void SetPaused(bool paused) override;
  void ToggleFullscreen() override;

 public:
  bool Fullscreen() const override { return fullscreen_; }
  void SetPixelExact(bool on) override;

 private:

  std::vector<std::string> args_;
  std::string exeName_;
  std::string caption_;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<TSdlScreen> screen_;
  bool pixelExact_ = false;  // whole-number scales only (--pixel-exact)
  bool visible_ = false;
  bool focused_ = true;
  bool minimised_ = false;
  bool videoOk_ = false;
  bool fullscreen_ = false;
  bool textRepeats_ = false;  // the last key-down was an auto-repeat
  TPoint pointer_;            // where the pointer was on the screen at its last move
  uint32_t bannerUntil_ = 0;  // tick count until which the mute banner shows
  std::string banner_;
  uint32_t lastPausedRender_ = 0;
  struct {
    int x = 0, y = 0, w = 800, h = 600;
  } saved_;
  std::unique_ptr<TWaveOutDevice> waveOut_;
  TPresentTrace trace_;
};
