// The window's input as the game's handlers receive it: what a replay keeps
// and what the game hands to whatever records it.
#pragma once
#include <cstdint>

// Input as the game's handlers received it. Pause and focus changes change
// nothing in play by themselves (the clock steps hold their effect); they are
// kept so that a replay tells the whole story.
enum class TReplayInput : uint8_t {
  KeyDown,
  KeyUp,
  MouseDown,
  MouseMove,
  Close,
  Pause,
  Resume,
  FocusLost,
  FocusGained,
  Text,  // a letter typed as text (lists in other languages); Key holds it
};
inline constexpr uint8_t ReplayInputKinds = 10;

struct TReplayEvent {
  TReplayInput Kind = TReplayInput::KeyDown;
  uint16_t Key = 0;    // key events: the virtual-key code
  uint8_t Shift = 0;   // bit 0 Shift, bit 1 Ctrl, bit 2 Alt
  uint8_t Button = 0;  // mouse-down: 0 left, 1 right, 2 middle
  int32_t X = 0;       // mouse events: playfield pixels
  int32_t Y = 0;
  bool operator==(const TReplayEvent&) const = default;
};

