// The browser platform, through Emscripten: the frame is put on the page's
// canvas as image data, keys and the mouse come from the page's events, the
// clock is the page's, sound goes to Web Audio and the player's files live in
// the browser's storage (flushed after every save). The game's screen loops
// block; each presented frame yields to the browser until its next animation
// frame (Asyncify), so the game runs unchanged.
#pragma once
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/FrameChanges.h"
#include "platform/Platform.h"

// Where the player's files live: the browser's storage, mounted by the page.
inline constexpr char WebStorageFolder[] = "/data";
// Where the word list and the sounds are preloaded.
inline constexpr char WebProgramFolder[] = "/game";

class TWebPlatform : public TPlatform {
 public:
  TWebPlatform(std::vector<std::string> args, std::string exeName);
  ~TWebPlatform() override;

  uint32_t GetTickCount() override;
  void Sleep(uint32_t ms) override;

  void ShowWindow() override { visible_ = true; }
  void HideWindow() override { visible_ = false; }
  bool IsWindowVisible() override { return visible_; }
  void SetCaption(const std::string& caption) override;
  std::string Caption() override { return caption_; }
  void SetWindowPos(int, int) override {}
  // A tab in the background gets no frames: the game holds still there.
  bool IsApplicationActive() override;
  TSize WorkAreaSize() override { return TSize{800, 600}; }
  TSize OuterSize() override { return TSize{800, 600}; }
  // The page's canvas is the screen: positions are playfield pixels.
  TPoint CursorPos() override { return pointer_; }
  TPoint ScreenToClient(TPoint p) override { return p; }
  void PresentFrame(const TBitmap& frame) override;

  TWaveOutDevice& WaveOut() override { return *waveOut_; }
  std::string ExeName() override { return exeName_; }
  const std::vector<std::string>& Args() override { return args_; }
  // A page cannot tell the layout reliably (only some browsers say, and only
  // asynchronously): the keyboard is drawn as a US one.
  TKeyboardLayout KeyboardLayout() override { return QwertyLayout(); }

  // The browser's events, queued as they come and delivered by PumpEvents.
  struct TInput {
    enum class TKind { KeyDown, KeyUp, MouseDown, MouseMove } Kind = TKind::KeyDown;
    uint16_t Key = 0;
    bool Repeat = false;
    TShiftState Shift;
    TMouseButton Button = TMouseButton::Left;
    TPoint At;
  };
  void Queue(const TInput& input) { input_.push_back(input); }
  // The program has ended: the page says so (a page cannot close itself).
  void ShowEnded();

 protected:
  void PumpEvents() override;
  void SetPaused(bool paused) override;
  void ToggleFullscreen() override;
  // The browser's line in the console and the note under the canvas, which
  // neither blocks nor needs anything more.
  void Report(const std::string& title, const std::string& text) override;

 public:
  // The page's real state: the browser enters and leaves fullscreen a moment
  // after it is asked, and on its own Escape.
  bool Fullscreen() const override;

 private:
  void ShowBanner();

  std::vector<std::string> args_;
  std::string exeName_;
  std::string caption_;
  bool visible_ = false;
  TPoint pointer_{-1, -1};
  std::deque<TInput> input_;
  std::unique_ptr<TWaveOutDevice> waveOut_;
  TFrameChanges changes_;
  std::vector<uint32_t> rgba_;  // the frame as the canvas takes it
  uint32_t bannerUntil_ = 0;
};
