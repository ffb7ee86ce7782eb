// The seam between the game and the machine. The game form calls these and
// nothing else; SdlPlatform provides the real window, HeadlessPlatform a
// virtual one for tests and the simulator.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Messages.h"
#include "platform/Notices.h"
#include "platform/Types.h"

class TBitmap;
class TWaveOutDevice;

// Classic 16-bit virtual-key codes the game uses.
namespace vk {
constexpr uint16_t Back = 8;
constexpr uint16_t Tab = 9;
constexpr uint16_t Return = 13;
constexpr uint16_t Escape = 27;
constexpr uint16_t Space = 32;
constexpr uint16_t Left = 37;
constexpr uint16_t Up = 38;
constexpr uint16_t Right = 39;
constexpr uint16_t Down = 40;
constexpr uint16_t Delete = 46;
}  // namespace vk

// The desktop's own keys: the platform handles them and the game never sees
// them. Pause or F10 pauses as an inactive window does, F8 mutes, F11 or
// Alt+Enter switches fullscreen. While paused the game gets no key-downs and
// no mouse input at all: Escape resumes, and only these keys and closing the
// window act.
enum class TDesktopAction { None, Pause, Mute, Fullscreen };
TDesktopAction DesktopActionFor(uint16_t key, bool alt);

struct TShiftState {
  bool Shift = false;
  bool Ctrl = false;
  bool Alt = false;
};

// WheelUp and WheelDown are one notch of the wheel, delivered as a press at
// the pointer (as X does); they never end up in a kept game.
enum class TMouseButton { Left, Right, Middle, WheelUp, WheelDown };
inline bool IsWheel(TMouseButton b) { return b == TMouseButton::WheelUp || b == TMouseButton::WheelDown; }

// What the keys of the letter block type on the keyboard layout in use, the
// character of each key without Shift: three rows from the top, each from the
// key right of Tab, Caps Lock and the left Shift; on a US keyboard Q .. ],
// A .. ' and Z .. /. 0 for a key whose character the platform cannot tell.
struct TKeyboardLayout {
  static constexpr std::array<size_t, 3> RowKeys{12, 11, 10};
  std::array<std::u32string, 3> Rows;
};
// Rows given as text, cut or padded with 0 to their lengths.
TKeyboardLayout MakeKeyboardLayout(std::u32string_view top, std::u32string_view home, std::u32string_view bottom);
// The US layout, for where the layout cannot be told.
TKeyboardLayout QwertyLayout();

// Receives the window's input; implemented by the game form. Called only from
// TPlatform::ProcessMessages, on the game thread.
class TInputSink {
 public:
  virtual ~TInputSink() = default;
  virtual void KeyDown(uint16_t key, TShiftState shift) = 0;
  virtual void KeyUp(uint16_t key, TShiftState shift) = 0;
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y) = 0;
  virtual void MouseMove(TShiftState shift, int x, int y) = 0;
  // A character the keyboard typed, as the desktop composed it (dead keys,
  // compose, input methods), once per character and never for an
  // auto-repeat; it follows the key-down that typed it. Not while paused.
  virtual void TextInput(char32_t) {}
  // The user (or the program) closed the window.
  virtual void Close() = 0;
};

class TPlatform {
 public:
  virtual ~TPlatform();

  // Milliseconds since the system started, wrapping at 2^32.
  virtual uint32_t GetTickCount() = 0;
  virtual void Sleep(uint32_t ms) = 0;

  // Window. The client area is always 800 x 600 playfield pixels.
  virtual void ShowWindow() = 0;
  virtual void HideWindow() = 0;
  virtual bool IsWindowVisible() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() = 0;
  virtual void SetWindowPos(int left, int top) = 0;
  // Focused and not minimised.
  virtual bool IsApplicationActive() = 0;
  virtual TSize WorkAreaSize() = 0;
  // Outer size of the window, frame and caption included.
  virtual TSize OuterSize() = 0;
  virtual TPoint CursorPos() = 0;  // screen coordinates
  virtual TPoint ScreenToClient(TPoint p) = 0;
  // Copies the finished frame to the window in one piece.
  virtual void PresentFrame(const TBitmap& frame) = 0;

  // Delivers pending window events to the input sink and posted messages to
  // their targets. The only place where handlers run.
  void ProcessMessages();
  // Asks the window to close: the sink's Close runs at once.
  void CloseWindow();

  // Paused by the player (Pause or F10): the game holds still exactly as
  // while the window is inactive.
  bool Paused() const { return paused_; }
  virtual void SetPaused(bool paused) { paused_ = paused; }

  // Fullscreen and whole-number scaling, as the player's settings ask, or as
  // F11 / Alt+Enter switched them. Fullscreen() is the window's real state.
  virtual bool Fullscreen() const { return false; }
  void SetFullscreen(bool on) {
    if (on != Fullscreen()) ToggleFullscreen();
  }
  virtual void SetPixelExact(bool) {}

  void SetInputSink(TInputSink* sink) { sink_ = sink; }
  TInputSink* InputSink() const { return sink_; }
  TMessageQueue& Messages() { return messages_; }

  virtual TWaveOutDevice& WaveOut() = 0;

  // Error report: kept for the game to show the player, and a line on
  // standard error.
  void ShowError(const std::string& title, const std::string& text) {
    notices_.Add(text);
    Report(title, text);
  }
  TNotices& Notices() { return notices_; }

  // The program's executable path and its command-line arguments (without
  // the program name).
  virtual std::string ExeName() = 0;
  virtual const std::vector<std::string>& Args() = 0;

  // The keyboard layout now in use (it may change while the game runs).
  virtual TKeyboardLayout KeyboardLayout() = 0;

 protected:
  // Fetch the OS's events and hand them to the sink.
  virtual void PumpEvents() = 0;

  // Carries out a desktop key, and while paused holds back every other
  // key-down (Escape resumes). True when the key must not reach the game.
  // Key-ups always pass, so that no key stays held in the game's eyes.
  bool HandleDesktopAction(uint16_t key, bool alt, bool down, bool repeat = false);
  // While paused, clicks and pointer moves are held back too.
  bool HoldsPointer() const { return paused_; }
  virtual void ToggleFullscreen() {}
  // The line on stderr, and where no game window shows the notices
  // (Notices().GameShowsThem), whatever else the platform has.
  virtual void Report(const std::string& title, const std::string& text) = 0;

  TInputSink* sink_ = nullptr;
  TMessageQueue messages_;
  TNotices notices_;
  bool paused_ = false;
};
