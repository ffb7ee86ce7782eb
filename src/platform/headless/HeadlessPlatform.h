// A platform without a screen: a virtual clock that advances per presented
// frame and per Sleep, a script of input events at given clock times, a
// simulated sound device, and the last presented frame kept for inspection.
// The game runs on it unchanged; tests and the simulator drive it.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

class THeadlessPlatform : public TPlatform {
 public:
  // The clock starts well away from 0: a stamp of 0 means "due at once".
  static constexpr uint32_t DefaultStartClock = 1000000;

  explicit THeadlessPlatform(std::vector<std::string> args = {});
  ~THeadlessPlatform() override;

  // ---- Clock ----
  uint32_t GetTickCount() override { return clock_; }
  void Sleep(uint32_t ms) override;
  void SetClock(uint32_t t) { clock_ = t; }
  void Advance(uint32_t ms) { clock_ += ms; }
  // Virtual milliseconds that pass with every presented frame.
  uint32_t FrameMs = 10;

  // ---- Window ----
  void ShowWindow() override { visible_ = true; }
  void HideWindow() override { visible_ = false; }
  bool IsWindowVisible() override { return visible_; }
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  std::string Caption() override { return caption_; }
  void SetWindowPos(int left, int top) override { windowPos_ = TPoint{left, top}; }
  TPoint WindowPos() const { return windowPos_; }
  bool IsApplicationActive() override { return active_ && !paused_; }
  void SetActive(bool active) { active_ = active; }
  TSize WorkAreaSize() override { return workArea_; }
  void SetWorkArea(TSize size) { workArea_ = size; }
  TSize OuterSize() override { return TSize{808, 626}; }
  TPoint CursorPos() override { return cursor_; }
  void SetCursorPos(TPoint p) { cursor_ = p; }
  TPoint ScreenToClient(TPoint p) override { return TPoint{p.X - windowPos_.X, p.Y - windowPos_.Y}; }
  void PresentFrame(const TBitmap& frame) override;
  bool Fullscreen() const override { return fullscreen_; }
  TKeyboardLayout KeyboardLayout() override { return layout_; }
  void SetKeyboardLayout(const TKeyboardLayout& layout) { layout_ = layout; }

  // The frame presented last (the form's off-screen image); null before the
  // first frame. It is the live bitmap: inspect it from OnFrame or after a loop.
  const TBitmap* LastFrame() const { return lastFrame_; }
  uint64_t FramesPresented() const { return frames_; }
  // Called after each presented frame, once the clock has advanced and before
  // the frame's messages are delivered. Tests and bots act here.
  std::function<void()> OnFrame;

  // ---- Scripted input (times are clock values) ----
  enum class TEventKind { KeyDown, KeyUp, MouseDown, MouseMove, Close, Activate, Deactivate, Text };
  struct TEvent {
    uint32_t Time = 0;
    TEventKind Kind = TEventKind::KeyDown;
    uint16_t Key = 0;
    int X = 0;
    int Y = 0;
    char32_t Char = 0;  // of a Text event
    TMouseButton Button = TMouseButton::Left;  // of a MouseDown event
  };
  void Schedule(const TEvent& event);
  void KeyAt(uint32_t time, uint16_t key);  // key-down then key-up
  void ClickAt(uint32_t time, int x, int y, TMouseButton button = TMouseButton::Left);
  // Each character of UTF-8 text typed as text input.
  void TextAt(uint32_t time, std::string_view text);
  void TypeText(std::string_view text) { TextAt(clock_, text); }
  // Due at the next message delivery.
  void PressKey(uint16_t key) { KeyAt(clock_, key); }
  size_t PendingEvents() const { return events_.size(); }
  // From this clock value on the window closes itself (0: never).
  uint32_t StopAt = 0;

  TWaveOutDevice& WaveOut() override { return *waveOut_; }

  // Every report, in order (the notices keep each text once).
  const std::vector<std::string>& Errors() const { return errors_; }
  bool QuietErrors = false;  // keep errors off stderr (tests that expect them)

  std::string ExeName() override { return exeName_; }
  void SetExeName(const std::string& name) { exeName_ = name; }
  const std::vector<std::string>& Args() override { return args_; }
  void SetArgs(std::vector<std::string> args) { args_ = std::move(args); }

 protected:
  void PumpEvents() override;
  void ToggleFullscreen() override { fullscreen_ = !fullscreen_; }
  void Report(const std::string& title, const std::string& text) override;

 private:
  uint32_t clock_ = DefaultStartClock;
  bool visible_ = false;
  TKeyboardLayout layout_ = QwertyLayout();
  bool active_ = true;
  bool fullscreen_ = false;
  std::string caption_;
  TPoint windowPos_;
  TSize workArea_{1920, 1040};
  TPoint cursor_{-1000, -1000};
  const TBitmap* lastFrame_ = nullptr;
  uint64_t frames_ = 0;
  std::deque<TEvent> events_;
  std::unique_ptr<TWaveOutDevice> waveOut_;
  std::vector<std::string> errors_;
  std::string exeName_;
  std::vector<std::string> args_;
};
