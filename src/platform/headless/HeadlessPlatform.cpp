#include "platform/headless/HeadlessPlatform.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "Product.h"
#include "platform/Application.h"
#include "platform/Utf8.h"
#include "platform/headless/SimWaveDevice.h"

THeadlessPlatform::THeadlessPlatform(std::vector<std::string> args) : args_(std::move(args)) {
  waveOut_ = CreateSimWaveOutDevice(messages_, [this] { return clock_; });
  std::error_code ec;
  exeName_ = (std::filesystem::current_path(ec) / "glyphfall").string();
}

THeadlessPlatform::~THeadlessPlatform() = default;

void THeadlessPlatform::Sleep(uint32_t ms) { clock_ += ms; }

void THeadlessPlatform::PresentFrame(const TBitmap& frame) {
  lastFrame_ = &frame;
  ++frames_;
  clock_ += FrameMs;
  if (OnFrame) OnFrame();
}

void THeadlessPlatform::Schedule(const TEvent& event) {
  // Keep the script in time order; events of equal time keep their order.
  auto at = std::upper_bound(events_.begin(), events_.end(), event.Time,
                             [](uint32_t t, const TEvent& e) { return t < e.Time; });
  events_.insert(at, event);
}

void THeadlessPlatform::KeyAt(uint32_t time, uint16_t key) {
  Schedule(TEvent{time, TEventKind::KeyDown, key, 0, 0});
  Schedule(TEvent{time, TEventKind::KeyUp, key, 0, 0});
}

void THeadlessPlatform::TextAt(uint32_t time, std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    TEvent e{time, TEventKind::Text, 0, 0, 0};
    e.Char = NextChar(text, i);
    Schedule(e);
  }
}

void THeadlessPlatform::ClickAt(uint32_t time, int x, int y, TMouseButton button) {
  Schedule(TEvent{time, TEventKind::MouseMove, 0, x, y});
  TEvent down{time, TEventKind::MouseDown, 0, x, y};
  down.Button = button;
  Schedule(down);
}

void THeadlessPlatform::PumpEvents() {
  if (StopAt != 0 && clock_ >= StopAt && visible_) {
    StopAt = 0;
    CloseWindow();
  }
  while (!events_.empty() && events_.front().Time <= clock_) {
    TEvent e = events_.front();
    events_.pop_front();
    // As on the desktop, an error escaping a handler is reported and the
    // program carries on.
    try {
      switch (e.Kind) {
        case TEventKind::Activate: active_ = true; break;
        case TEventKind::Deactivate: active_ = false; break;
        case TEventKind::Close: CloseWindow(); break;
        case TEventKind::Text:
          if (sink_ && !paused_) sink_->TextInput(e.Char);
          break;
        default:
          if ((e.Kind == TEventKind::KeyDown || e.Kind == TEventKind::KeyUp) &&
              HandleDesktopAction(e.Key, false, e.Kind == TEventKind::KeyDown))
            break;
          if (!sink_ || (HoldsPointer() && (e.Kind == TEventKind::MouseDown || e.Kind == TEventKind::MouseMove))) break;
          if (e.Kind == TEventKind::KeyDown) sink_->KeyDown(e.Key, {});
          if (e.Kind == TEventKind::KeyUp) sink_->KeyUp(e.Key, {});
          if (e.Kind == TEventKind::MouseMove) {
            cursor_ = TPoint{e.X + windowPos_.X, e.Y + windowPos_.Y};
            sink_->MouseMove({}, e.X, e.Y);
          }
          if (e.Kind == TEventKind::MouseDown) sink_->MouseDown(e.Button, {}, e.X, e.Y);
          break;
      }
    } catch (const std::exception& ex) {
      ShowError(GameCaption, ex.what());
    }
  }
}

void THeadlessPlatform::Report(const std::string& title, const std::string& text) {
  errors_.push_back(text);
  if (!QuietErrors) std::cerr << title << ": " << text << "\n";
}
