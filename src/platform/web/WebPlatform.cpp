#include "platform/web/WebPlatform.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>

#include "platform/Canvas.h"
#include "platform/Files.h"
#include "platform/web/WebAudio.h"
#include "platform/web/WebKeys.h"

namespace {
constexpr int ClientWidth = 800;
constexpr int ClientHeight = 600;
constexpr uint32_t BannerDuration = 1500;
// A frame is waited for at most this long: a page in the background gets no
// animation frames, and the game's own loops must still come round.
constexpr int FrameWaitLimitMs = 100;
constexpr uint32_t OpaqueAlpha = 0xFF000000u;

EM_ASYNC_JS(void, web_wait_frame, (int limitMs), {
  await new Promise(resolve => {
    let done = false;
    const go = () => { if (!done) { done = true; resolve(); } };
    requestAnimationFrame(go);
    setTimeout(go, limitMs);
  });
});

EM_JS(void, web_put_frame, (const uint32_t* rgba, int width, int x, int y, int w, int h), {
  Module.glyphfallPage.put(HEAPU8, rgba, width, x, y, w, h);
});

EM_JS(void, web_presented, (), { Module.glyphfallPage.presented(); });
EM_JS(void, web_set_title, (const char* text), { document.title = UTF8ToString(text); });
EM_JS(void, web_set_banner, (const char* text), { Module.glyphfallPage.banner(UTF8ToString(text)); });
EM_JS(void, web_show_error, (const char* text), { Module.glyphfallPage.error(UTF8ToString(text)); });
EM_JS(void, web_show_message, (const char* text), { Module.glyphfallPage.message(UTF8ToString(text)); });
EM_JS(void, web_toggle_fullscreen, (), { Module.glyphfallPage.toggleFullscreen(); });
EM_JS(int, web_page_hidden, (), { return document.hidden ? 1 : 0; });
EM_JS(int, web_is_fullscreen, (), { return document.fullscreenElement ? 1 : 0; });
EM_JS(void, web_sync_storage, (), { Module.glyphfallPage.syncStorage(); });

TShiftState ShiftOf(bool shift, bool ctrl, bool alt) { return TShiftState{shift, ctrl, alt}; }

// Keys the game answers do nothing else on the page: no scrolling on the
// space bar or the arrows, no going back on Backspace. Everything with Ctrl
// or the system key stays the browser's (reload, close, zoom).
EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void* self) {
  if (e->ctrlKey || e->metaKey) return EM_FALSE;
  uint16_t key = TranslateWebKey(e->key, e->code);
  if (key == 0) return EM_FALSE;
  TWebPlatform::TInput in;
  in.Kind = type == EMSCRIPTEN_EVENT_KEYDOWN ? TWebPlatform::TInput::TKind::KeyDown
                                             : TWebPlatform::TInput::TKind::KeyUp;
  in.Key = key;
  in.Repeat = e->repeat;
  in.Shift = ShiftOf(e->shiftKey, e->ctrlKey, e->altKey);
  static_cast<TWebPlatform*>(self)->Queue(in);
  return EM_TRUE;
}

// The canvas is scaled by the page: its own pixels are the playfield's.
TPoint ToPlayfield(const EmscriptenMouseEvent* e) {
  double w = 0, h = 0;
  emscripten_get_element_css_size("#canvas", &w, &h);
  if (w <= 0 || h <= 0) return TPoint{-1, -1};
  return TPoint{static_cast<int>(e->targetX * ClientWidth / w), static_cast<int>(e->targetY * ClientHeight / h)};
}

EM_BOOL OnMouse(int type, const EmscriptenMouseEvent* e, void* self) {
  auto* platform = static_cast<TWebPlatform*>(self);
  TWebPlatform::TInput in;
  in.At = ToPlayfield(e);
  in.Shift = ShiftOf(e->shiftKey, e->ctrlKey, e->altKey);
  if (type == EMSCRIPTEN_EVENT_MOUSEDOWN) {
    in.Kind = TWebPlatform::TInput::TKind::MouseDown;
    in.Button = e->button == 2 ? TMouseButton::Right : e->button == 1 ? TMouseButton::Middle : TMouseButton::Left;
  } else {
    in.Kind = TWebPlatform::TInput::TKind::MouseMove;
  }
  platform->Queue(in);
  return EM_FALSE;
}

// A notch of the wheel over the canvas is a press of a wheel "button"; the
// page does not scroll.
EM_BOOL OnWheel(int, const EmscriptenWheelEvent* e, void* self) {
  if (e->deltaY == 0) return EM_FALSE;
  TWebPlatform::TInput in;
  in.Kind = TWebPlatform::TInput::TKind::MouseDown;
  in.At = ToPlayfield(&e->mouse);
  in.Shift = ShiftOf(e->mouse.shiftKey, e->mouse.ctrlKey, e->mouse.altKey);
  in.Button = e->deltaY < 0 ? TMouseButton::WheelUp : TMouseButton::WheelDown;
  static_cast<TWebPlatform*>(self)->Queue(in);
  return EM_TRUE;
}
}  // namespace

TWebPlatform::TWebPlatform(std::vector<std::string> args, std::string exeName)
    : args_(std::move(args)), exeName_(std::move(exeName)), rgba_(static_cast<size_t>(ClientWidth) * ClientHeight) {
  waveOut_ = std::make_unique<TWebWaveOutDevice>(messages_, [this] { return GetTickCount(); });
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_FALSE, OnKey);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_FALSE, OnKey);
  emscripten_set_mousedown_callback("#canvas", this, EM_FALSE, OnMouse);
  emscripten_set_mousemove_callback("#canvas", this, EM_FALSE, OnMouse);
  emscripten_set_wheel_callback("#canvas", this, EM_FALSE, OnWheel);
  // Files in the browser's storage last only once written out to it.
  SetFileSavedHook([](const std::string&) { web_sync_storage(); });
}

TWebPlatform::~TWebPlatform() {
  SetFileSavedHook(nullptr);
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, nullptr);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, nullptr);
  emscripten_set_mousedown_callback("#canvas", nullptr, EM_FALSE, nullptr);
  emscripten_set_mousemove_callback("#canvas", nullptr, EM_FALSE, nullptr);
  emscripten_set_wheel_callback("#canvas", nullptr, EM_FALSE, nullptr);
}

uint32_t TWebPlatform::GetTickCount() { return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now())); }

void TWebPlatform::Sleep(uint32_t ms) { emscripten_sleep(ms); }

void TWebPlatform::SetCaption(const std::string& caption) {
  caption_ = caption;
  web_set_title(caption.c_str());
}

bool TWebPlatform::IsApplicationActive() { return !paused_ && !web_page_hidden(); }

void TWebPlatform::PresentFrame(const TBitmap& frame) {
  const int width = frame.Width(), height = frame.Height();
  const uint32_t* pixels = frame.Pixels().data();
  if (rgba_.size() != static_cast<size_t>(width) * height) {
    rgba_.assign(static_cast<size_t>(width) * height, 0);
    changes_.Invalidate();
  }
  // Only what changed goes to the canvas, made opaque on the way: the
  // frame's fourth byte is unused, the canvas would take it for alpha.
  for (const TRect& r : changes_.Update(pixels, width, height)) {
    for (int y = r.Top; y < r.Bottom; ++y) {
      const uint32_t* from = pixels + static_cast<size_t>(y) * width;
      uint32_t* to = rgba_.data() + static_cast<size_t>(y) * width;
      for (int x = r.Left; x < r.Right; ++x) to[x] = from[x] | OpaqueAlpha;
    }
    web_put_frame(rgba_.data(), width, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  }
  web_presented();
  if (bannerUntil_ != 0 && static_cast<int32_t>(GetTickCount() - bannerUntil_) >= 0) {
    bannerUntil_ = 0;
    ShowBanner();
  }
  web_wait_frame(FrameWaitLimitMs);
}

void TWebPlatform::ShowBanner() {
  if (paused_)
    web_set_banner("PAUSED");
  else if (bannerUntil_ != 0)
    web_set_banner(WaveOut().Muted() ? "SOUND OFF" : "SOUND ON");
  else
    web_set_banner("");
}

void TWebPlatform::SetPaused(bool paused) {
  paused_ = paused;
  ShowBanner();
}

void TWebPlatform::ToggleFullscreen() { web_toggle_fullscreen(); }

bool TWebPlatform::Fullscreen() const { return web_is_fullscreen() != 0; }

void TWebPlatform::PumpEvents() {
  while (!input_.empty()) {
    const TInput in = input_.front();
    input_.pop_front();
    try {
      switch (in.Kind) {
        case TInput::TKind::KeyDown:
        case TInput::TKind::KeyUp: {
          const bool down = in.Kind == TInput::TKind::KeyDown;
          const bool muted = WaveOut().Muted();
          if (HandleDesktopAction(in.Key, in.Shift.Alt, down, in.Repeat)) {
            if (WaveOut().Muted() != muted) {
              bannerUntil_ = GetTickCount() + BannerDuration;
              ShowBanner();
            }
            break;
          }
          if (!sink_) break;
          if (down)
            sink_->KeyDown(in.Key, in.Shift);
          else
            sink_->KeyUp(in.Key, in.Shift);
          break;
        }
        case TInput::TKind::MouseDown:
          if (sink_ && !HoldsPointer()) sink_->MouseDown(in.Button, in.Shift, in.At.X, in.At.Y);
          break;
        case TInput::TKind::MouseMove:
          if (in.At == pointer_) break;
          pointer_ = in.At;
          if (sink_ && !HoldsPointer()) sink_->MouseMove(in.Shift, in.At.X, in.At.Y);
          break;
      }
    } catch (const std::exception& ex) {
      ShowError(Caption(), ex.what());
    }
  }
}

void TWebPlatform::Report(const std::string& title, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  web_show_error((title + ": " + text).c_str());
}

void TWebPlatform::ShowEnded() {
  web_set_banner("");
  web_show_message("Glyphfall has ended. Reload the page to play again.");
}
