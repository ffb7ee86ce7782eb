#include "screens/WatchScreen.h"

#include <algorithm>

#include "framework/TextUtils.h"
#include "platform/Canvas.h"

namespace {
constexpr int MaxWatchSpeed = 8;
// A watched game that trails the wall clock by more than this (game ms)
// skips showing frames until it has caught up, yet shows one this often.
constexpr uint32_t CatchUpSlack = 50;
constexpr uint32_t MaxUnshown = 100;
constexpr uint32_t MaxPaceSleep = 50;
constexpr uint32_t HoldPoll = 10;
constexpr int CaptionSize = 14;
constexpr int CaptionY = 578;
constexpr TColor CaptionColour = 0x00FFFF;
}  // namespace

TWatchScreen::TWatchScreen(TSessionView& session, std::unique_ptr<TReplay> replay, bool paced)
    : session_(session), replay_(std::move(replay)), player_(*replay_), paced_(paced) {}

void TWatchScreen::Frame(TScreenStack& stack, TScreenHost&) {
  stack.Pop();
  session_.PlayReplay(*replay_, *this, *this);
}

void TWatchScreen::Rebase() {
  realBase_ = session_.Host().Platform().GetTickCount();
  playedBase_ = played_;
}

void TWatchScreen::KeyDown(uint16_t key, TShiftState) {
  if (key == vk::Right)
    speed_ = std::min(MaxWatchSpeed, speed_ * 2);
  else if (key == vk::Left)
    speed_ = std::max(1, speed_ / 2);
  else if (key == vk::Escape)
    stop_ = true;
  Rebase();
}

void TWatchScreen::Close() {
  // The window's close reaches the game, which ends every loop.
  if (game_) game_->GameInput().Close();
}

void TWatchScreen::Deliver(TWatchedGame& game, const TReplayEvent& e) {
  // The game ended with an earlier input of this frame; what followed it
  // went to the menu, which is not the watched game's (a second Escape
  // there would close the watcher's window).
  if (!game.Playing()) return;
  TInputSink& input = game.GameInput();
  TShiftState s{(e.Shift & 1) != 0, (e.Shift & 2) != 0, (e.Shift & 4) != 0};
  switch (e.Kind) {
    case TReplayInput::KeyDown: input.KeyDown(e.Key, s); break;
    case TReplayInput::KeyUp: input.KeyUp(e.Key, s); break;
    case TReplayInput::MouseDown: input.MouseDown(static_cast<TMouseButton>(e.Button), s, e.X, e.Y); break;
    case TReplayInput::MouseMove: input.MouseMove(s, e.X, e.Y); break;
    case TReplayInput::Text: input.TextInput(e.Key); break;
    // The game ended there; the watcher's window stays.
    case TReplayInput::Close: endAfterFrame_ = true; break;
    // Their time is already left out of the clock steps.
    default: break;
  }
}

void TWatchScreen::PresentFrame(TWatchedGame& game) {
  if (!game_) {
    game_ = &game;
    Rebase();
  }
  TScreenHost& host = game.Host();
  TPlatform& platform = host.Platform();
  TCanvas& canvas = host.Canvas();
  canvas.Font.Size = CaptionSize;
  canvas.Font.Bold = true;
  UseSmoothFont(canvas);
  const std::string caption = "REPLAY  x" + std::to_string(speed_);
  host.DrawText((PlayfieldWidth - canvas.TextWidth(caption)) / 2, CaptionY, caption, CaptionColour, 1);

  uint32_t now = platform.GetTickCount();
  const uint32_t due = (now - realBase_) * static_cast<uint32_t>(speed_);
  const uint32_t played = played_ - playedBase_;
  if (!paced_ || played + CatchUpSlack >= due || now - lastShown_ >= MaxUnshown) {
    game.Show();
    lastShown_ = now;
  }
  platform.ProcessMessages();
  if (platform.IsWindowVisible() && !platform.IsApplicationActive()) {
    while (platform.IsWindowVisible() && !platform.IsApplicationActive()) {
      platform.ProcessMessages();
      platform.Sleep(HoldPoll);
    }
    Rebase();
  } else if (paced_ && played > due) {
    platform.Sleep(std::min((played - due) / static_cast<uint32_t>(speed_), MaxPaceSleep));
  }
  if (stop_) game.StopPlaying();
  if (!game.Playing() || host.Closed()) return;
  if (player_.AtEnd()) {
    game.StopPlaying();
    return;
  }
  const uint32_t step = player_.NextFrame([&](const TReplayEvent& e) { Deliver(game, e); });
  played_ += step;
  game.Advance(step);
  if (endAfterFrame_) game.StopPlaying();
}

