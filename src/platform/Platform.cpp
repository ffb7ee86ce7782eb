#include "platform/Platform.h"

#include "platform/WaveDevice.h"

TPlatform::~TPlatform() = default;

void TPlatform::ProcessMessages() {
  WaveOut().Poll();
  PumpEvents();
  messages_.DispatchAll();
}

void TPlatform::CloseWindow() {
  if (sink_)
    sink_->Close();
  else
    HideWindow();
}

TDesktopAction DesktopActionFor(uint16_t key, bool alt) {
  constexpr uint16_t KeyPause = 19, KeyF8 = 119, KeyF10 = 121, KeyF11 = 122;
  if (key == KeyPause || key == KeyF10) return TDesktopAction::Pause;
  if (key == KeyF8) return TDesktopAction::Mute;
  if (key == KeyF11 || (key == vk::Return && alt)) return TDesktopAction::Fullscreen;
  return TDesktopAction::None;
}

bool TPlatform::HandleDesktopAction(uint16_t key, bool alt, bool down, bool repeat) {
  TDesktopAction action = DesktopActionFor(key, alt);
  if (action == TDesktopAction::None) {
    // A paused game must not change: letters would still hit words, and
    // Escape would end the game (and then the program) unasked.
    if (!paused_ || !down) return false;
    if (key == vk::Escape && !repeat) SetPaused(false);
    return true;
  }
  // Auto-repeats of a held desktop key do nothing more.
  if (!down || repeat) return true;
  switch (action) {
    case TDesktopAction::Pause: SetPaused(!paused_); break;
    case TDesktopAction::Mute: WaveOut().SetMuted(!WaveOut().Muted()); break;
    case TDesktopAction::Fullscreen: ToggleFullscreen(); break;
    case TDesktopAction::None: break;
  }
  return true;
}

TKeyboardLayout MakeKeyboardLayout(std::u32string_view top, std::u32string_view home, std::u32string_view bottom) {
  TKeyboardLayout layout;
  const std::array<std::u32string_view, 3> rows{top, home, bottom};
  for (size_t r = 0; r < rows.size(); ++r) {
    layout.Rows[r] = rows[r].substr(0, TKeyboardLayout::RowKeys[r]);
    layout.Rows[r].resize(TKeyboardLayout::RowKeys[r], 0);
  }
  return layout;
}

TKeyboardLayout QwertyLayout() { return MakeKeyboardLayout(U"qwertyuiop[]", U"asdfghjkl;'", U"zxcvbnm,./"); }
