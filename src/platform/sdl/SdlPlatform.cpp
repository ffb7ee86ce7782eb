#include "platform/sdl/SdlPlatform.h"

#include <SDL.h>
#include <time.h>

#include <algorithm>
#include <iostream>
#include <stdexcept>

#include "Product.h"
#include "platform/Assets.h"
#include "platform/Canvas.h"
#include "platform/Utf8.h"
#include "platform/Xpm.h"
#include "platform/sdl/SdlAudio.h"

namespace {
constexpr int ClientWidth = 800;
constexpr int ClientHeight = 600;
constexpr uint32_t BannerDuration = 1500;
constexpr uint32_t PausedRedraw = 250;
// Room for the window frame and caption when sizing the window.
constexpr int FrameAllowanceX = 8;
constexpr int FrameAllowanceY = 26;

TShiftState ShiftFrom(uint16_t mod) {
  TShiftState s;
  s.Shift = (mod & KMOD_SHIFT) != 0;
  s.Ctrl = (mod & KMOD_CTRL) != 0;
  s.Alt = (mod & KMOD_ALT) != 0;
  return s;
}
}  // namespace

uint16_t TranslateSdlKey(int32_t keycode, int32_t scancode) {
  if (keycode >= SDLK_a && keycode <= SDLK_z) return static_cast<uint16_t>('A' + (keycode - SDLK_a));
  if (keycode >= SDLK_0 && keycode <= SDLK_9) return static_cast<uint16_t>('0' + (keycode - SDLK_0));
  // A layout without Latin letters (Cyrillic, Greek, ...): the key in the
  // place of a Latin letter sends that letter, so the game stays playable.
  bool nonAscii = keycode >= 128 && !(keycode & SDLK_SCANCODE_MASK);
  if (nonAscii && scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
    return static_cast<uint16_t>('A' + (scancode - SDL_SCANCODE_A));
  if (nonAscii && scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_0)
    return scancode == SDL_SCANCODE_0 ? '0' : static_cast<uint16_t>('1' + (scancode - SDL_SCANCODE_1));
  // Keypad digits send the main digits: the classic keypad codes (96-105)
  // would read as lower-case letters to the words.
  if (keycode >= SDLK_KP_1 && keycode <= SDLK_KP_9) return static_cast<uint16_t>('1' + (keycode - SDLK_KP_1));
  if (keycode == SDLK_KP_0) return '0';
  if (keycode >= SDLK_F1 && keycode <= SDLK_F12) return static_cast<uint16_t>(112 + (keycode - SDLK_F1));
  switch (keycode) {
    case SDLK_BACKSPACE: return vk::Back;
    case SDLK_TAB: return vk::Tab;
    case SDLK_RETURN:
    case SDLK_RETURN2:
    case SDLK_KP_ENTER: return vk::Return;
    case SDLK_ESCAPE: return vk::Escape;
    case SDLK_SPACE: return vk::Space;
    case SDLK_PAGEUP: return 33;
    case SDLK_PAGEDOWN: return 34;
    case SDLK_END: return 35;
    case SDLK_HOME: return 36;
    case SDLK_LEFT: return vk::Left;
    case SDLK_UP: return vk::Up;
    case SDLK_RIGHT: return vk::Right;
    case SDLK_DOWN: return vk::Down;
    case SDLK_INSERT: return 45;
    case SDLK_DELETE:
    case SDLK_KP_PERIOD: return vk::Delete;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return 16;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return 17;
    case SDLK_LALT:
    case SDLK_RALT: return 18;
    case SDLK_PAUSE: return 19;
    case SDLK_MINUS: return 189;
    case SDLK_EQUALS: return 187;
    case SDLK_COMMA: return 188;
    case SDLK_PERIOD: return 190;
    case SDLK_SLASH: return 191;
    case SDLK_SEMICOLON: return 186;
    default: break;
  }
  switch (scancode) {
    case SDL_SCANCODE_KP_ENTER: return vk::Return;
    default: return 0;
  }
}

TKeyboardLayout TSdlPlatform::KeyboardLayout() {
  // The keys by their place on the keyboard, as a US keyboard names them.
  static constexpr SDL_Scancode Top[] = {SDL_SCANCODE_Q, SDL_SCANCODE_W, SDL_SCANCODE_E,           SDL_SCANCODE_R,
                                         SDL_SCANCODE_T, SDL_SCANCODE_Y, SDL_SCANCODE_U,           SDL_SCANCODE_I,
                                         SDL_SCANCODE_O, SDL_SCANCODE_P, SDL_SCANCODE_LEFTBRACKET, SDL_SCANCODE_RIGHTBRACKET};
  static constexpr SDL_Scancode Home[] = {SDL_SCANCODE_A, SDL_SCANCODE_S, SDL_SCANCODE_D, SDL_SCANCODE_F,
                                          SDL_SCANCODE_G, SDL_SCANCODE_H, SDL_SCANCODE_J, SDL_SCANCODE_K,
                                          SDL_SCANCODE_L, SDL_SCANCODE_SEMICOLON, SDL_SCANCODE_APOSTROPHE};
  static constexpr SDL_Scancode Bottom[] = {SDL_SCANCODE_Z, SDL_SCANCODE_X, SDL_SCANCODE_C,     SDL_SCANCODE_V,
                                            SDL_SCANCODE_B, SDL_SCANCODE_N, SDL_SCANCODE_M,     SDL_SCANCODE_COMMA,
                                            SDL_SCANCODE_PERIOD, SDL_SCANCODE_SLASH};
  auto row = [](const auto& keys) {
    std::u32string typed;
    for (SDL_Scancode key : keys) {
      const SDL_Keycode code = SDL_GetKeyFromScancode(key);
      // Keys without a character have codes marked as scancodes.
      typed.push_back(code > 0 && !(code & SDLK_SCANCODE_MASK) && code <= 0x10FFFF ? static_cast<char32_t>(code) : 0);
    }
    return typed;
  };
  return MakeKeyboardLayout(row(Top), row(Home), row(Bottom));
}

TSdlPlatform::TSdlPlatform(std::vector<std::string> args, std::string exeName)
    : args_(std::move(args)), exeName_(std::move(exeName)) {
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
    throw std::runtime_error(std::string("Cannot open the game's window: ") + SDL_GetError());
  videoOk_ = true;
  trace_.Start();
  pixelExact_ = std::find(args_.begin(), args_.end(), "--pixel-exact") != args_.end();
  // Under X11 the window's surface is shared memory the X server shows
  // directly. Left to itself SDL would put a 3D renderer behind it, which
  // without a graphics processor costs several times the game's own work.
  if (std::string_view(SDL_GetCurrentVideoDriver()) == "x11") SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Rect usable{};
  TSize size{ClientWidth, ClientHeight};
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0)
    size = WindowSizeFor(TSize{usable.w, usable.h}, TSize{FrameAllowanceX, FrameAllowanceY}, ClientWidth, ClientHeight,
                         pixelExact_);
  window_ = SDL_CreateWindow(GameCaption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size.cx, size.cy,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!window_) throw std::runtime_error(std::string("Cannot create the game's window: ") + SDL_GetError());
  TSize least = MinimumWindowSize(ClientWidth, ClientHeight);
  SDL_SetWindowMinimumSize(window_, least.cx, least.cy);
  if (!SDL_GetWindowSurface(window_))
    throw std::runtime_error(std::string("Cannot draw in the game's window: ") + SDL_GetError());
  screen_ = std::make_unique<TSdlScreen>(window_, ClientWidth, ClientHeight, pixelExact_);
  SetIcon();
  waveOut_ = CreateSdlWaveOutDevice(messages_);
}

TSdlPlatform::~TSdlPlatform() {
  waveOut_.reset();
  screen_.reset();
  if (window_) SDL_DestroyWindow(window_);
  if (videoOk_) SDL_Quit();
}

void TSdlPlatform::SetIcon() {
  TBitmap icon;
  if (!ParseXpm(EmbeddedAsset("pictures/icon.xpm"), icon)) return;
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(icon.Pixels().data(), icon.Width(), icon.Height(), 32,
                                                      icon.Width() * 4, SDL_PIXELFORMAT_XBGR8888);
  if (!s) return;
  SDL_SetWindowIcon(window_, s);
  SDL_FreeSurface(s);
}

uint32_t TSdlPlatform::GetTickCount() {
  // Milliseconds since the system started, wrapping as the classic counter.
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

void TSdlPlatform::Sleep(uint32_t ms) { SDL_Delay(ms); }

void TSdlPlatform::ShowWindow() {
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  SDL_GetGlobalMouseState(&pointer_.X, &pointer_.Y);
  visible_ = true;
  focused_ = true;
  minimised_ = false;
}

void TSdlPlatform::HideWindow() {
  SDL_HideWindow(window_);
  visible_ = false;
}

void TSdlPlatform::SetCaption(const std::string& caption) {
  caption_ = caption;
  SDL_SetWindowTitle(window_, caption.c_str());
}

void TSdlPlatform::SetWindowPos(int left, int top) {
  // The game centres an 800 x 600 window; a larger one is centred anew.
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  if (w == ClientWidth && h == ClientHeight)
    SDL_SetWindowPosition(window_, left, top);
  else
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

bool TSdlPlatform::IsApplicationActive() { return focused_ && !minimised_ && !paused_; }

TSize TSdlPlatform::WorkAreaSize() {
  SDL_Rect r{};
  int display = SDL_GetWindowDisplayIndex(window_);
  if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &r) != 0) return TSize{ClientWidth, ClientHeight};
  return TSize{r.w, r.h};
}

TSize TSdlPlatform::OuterSize() {
  int top = 0, left = 0, bottom = 0, right = 0;
  SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right);
  return TSize{ClientWidth + left + right, ClientHeight + top + bottom};
}

TPoint TSdlPlatform::CursorPos() {
  int x = 0, y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  return TPoint{x, y};
}

TPoint TSdlPlatform::ScreenToClient(TPoint p) {
  int wx = 0, wy = 0;
  SDL_GetWindowPosition(window_, &wx, &wy);
  return ToPlayfield(p.X - wx, p.Y - wy);
}

TPoint TSdlPlatform::ToPlayfield(int x, int y) {
  return WindowToPlayfield(screen_->Viewport(), x, y, ClientWidth, ClientHeight);
}

void TSdlPlatform::PresentFrame(const TBitmap& frame) {
  screen_->Show(&frame, Banner());
  trace_.Presented();
  // Without waiting for the display the loop would draw frames nobody sees.
  screen_->WaitForNextFrame();
}

void TSdlPlatform::Render() { screen_->Show(nullptr, Banner()); }

std::string TSdlPlatform::Banner() {
  if (paused_) return "PAUSED";
  if (!banner_.empty() && static_cast<int32_t>(bannerUntil_ - GetTickCount()) > 0) return banner_;
  return std::string();
}

void TSdlPlatform::SetPaused(bool paused) {
  paused_ = paused;
  lastPausedRender_ = 0;
  Render();
}

bool TSdlPlatform::HandleDesktopKey(const SDL_Event& e) {
  if (e.type != SDL_KEYDOWN && e.type != SDL_KEYUP) return false;
  const SDL_Keysym& k = e.key.keysym;
  uint16_t key = TranslateSdlKey(k.sym, k.scancode);
  bool alt = (k.mod & KMOD_ALT) != 0;
  bool muted = WaveOut().Muted();
  if (!HandleDesktopAction(key, alt, e.type == SDL_KEYDOWN, e.key.repeat != 0)) return false;
  if (WaveOut().Muted() != muted) {
    banner_ = WaveOut().Muted() ? "SOUND OFF" : "SOUND ON";
    bannerUntil_ = GetTickCount() + BannerDuration;
    Render();
  }
  return true;
}

void TSdlPlatform::SetPixelExact(bool on) {
  if (on == pixelExact_) return;
  pixelExact_ = on;
  screen_->SetPixelExact(on);
  Render();
}

void TSdlPlatform::ToggleFullscreen() {
  fullscreen_ = !fullscreen_;
  int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
  if (fullscreen_) {
    SDL_GetWindowPosition(window_, &saved_.x, &saved_.y);
    SDL_GetWindowSize(window_, &saved_.w, &saved_.h);
    SDL_Rect r{};
    SDL_GetDisplayBounds(display, &r);
    // A window manager draws a frame round a bordered window. Without one the
    // fullscreen request does nothing, and a borderless window over the whole
    // display does the same job.
    int top = 0, left = 0, bottom = 0, right = 0;
    bool managed =
        SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) == 0 && (top | left | bottom | right);
    if (managed) {
      SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
      SDL_SetWindowBordered(window_, SDL_FALSE);
      SDL_SetWindowPosition(window_, r.x, r.y);
      SDL_SetWindowSize(window_, r.w, r.h);
    }
  } else {
    SDL_SetWindowFullscreen(window_, 0);
    SDL_SetWindowBordered(window_, SDL_TRUE);
    SDL_SetWindowSize(window_, saved_.w, saved_.h);
    SDL_SetWindowPosition(window_, saved_.x, saved_.y);
  }
  screen_->Invalidate();
  screen_->UpdateRefreshRate();
  Render();
}

void TSdlPlatform::PumpEvents() {
  // While paused the game draws nothing; keep the picture and its banner up.
  if (paused_ && visible_ && GetTickCount() - lastPausedRender_ >= PausedRedraw) {
    lastPausedRender_ = GetTickCount();
    Render();
  }
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    trace_.Event(e);
    if (HandleDesktopKey(e)) continue;
    try {
      HandleEvent(e);
    } catch (const std::exception& ex) {
      ShowError(GameCaption, ex.what());
    }
  }
}

void TSdlPlatform::HandleEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT: CloseWindow(); break;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: CloseWindow(); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: focused_ = true; break;
        case SDL_WINDOWEVENT_FOCUS_LOST: focused_ = false; break;
        case SDL_WINDOWEVENT_MINIMIZED: minimised_ = true; break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED: minimised_ = false; break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          screen_->Invalidate();
          Render();
          break;
        case SDL_WINDOWEVENT_DISPLAY_CHANGED: screen_->UpdateRefreshRate(); break;
        default: break;
      }
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      uint16_t key = TranslateSdlKey(e.key.keysym.sym, e.key.keysym.scancode);
      // The text a held key repeats is no more typed than the key is.
      if (e.type == SDL_KEYDOWN) textRepeats_ = e.key.repeat != 0;
      if (key == 0 || !sink_) break;
      if (e.type == SDL_KEYDOWN)
        sink_->KeyDown(key, ShiftFrom(e.key.keysym.mod));
      else
        sink_->KeyUp(key, ShiftFrom(e.key.keysym.mod));
      break;
    }
    case SDL_TEXTINPUT: {
      if (!sink_ || paused_ || textRepeats_) break;
      std::string_view text(e.text.text);
      for (size_t i = 0; i < text.size();) sink_->TextInput(NextChar(text, i));
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
      if (sink_ && !HoldsPointer()) {
        TMouseButton b = e.button.button == SDL_BUTTON_RIGHT    ? TMouseButton::Right
                         : e.button.button == SDL_BUTTON_MIDDLE ? TMouseButton::Middle
                                                                : TMouseButton::Left;
        TPoint p = ToPlayfield(e.button.x, e.button.y);
        sink_->MouseDown(b, ShiftFrom(static_cast<uint16_t>(SDL_GetModState())), p.X, p.Y);
      }
      break;
    case SDL_MOUSEWHEEL:
      // One press per event, whatever its size: a touchpad sends many small ones.
      if (sink_ && !HoldsPointer() && e.wheel.y != 0) {
        bool up = (e.wheel.y > 0) != (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED);
        int x = 0, y = 0;
        SDL_GetMouseState(&x, &y);
        TPoint p = ToPlayfield(x, y);
        sink_->MouseDown(up ? TMouseButton::WheelUp : TMouseButton::WheelDown,
                         ShiftFrom(static_cast<uint16_t>(SDL_GetModState())), p.X, p.Y);
      }
      break;
    case SDL_MOUSEMOTION: {
      // A window that appears, grows or moves under a resting pointer gets
      // a motion too; only a pointer that moved on the screen is a move.
      int wx = 0, wy = 0;
      SDL_GetWindowPosition(window_, &wx, &wy);
      TPoint screen{wx + e.motion.x, wy + e.motion.y};
      if (screen == pointer_) break;
      pointer_ = screen;
      if (sink_ && !HoldsPointer()) {
        TPoint p = ToPlayfield(e.motion.x, e.motion.y);
        sink_->MouseMove(ShiftFrom(static_cast<uint16_t>(SDL_GetModState())), p.X, p.Y);
      }
      break;
    }
    default: break;
  }
}

TWaveOutDevice& TSdlPlatform::WaveOut() { return *waveOut_; }

void TSdlPlatform::Report(const std::string& title, const std::string& text) {
  std::cerr << title << ": " << text << std::endl;
  // The game shows its notices on its own menu. A message box would block
  // the game, and on a plain X desktop it fails without a helper program; it
  // is only a last try for an error that ends the program.
  if (!notices_.GameShowsThem && window_ && std::getenv("CI") == nullptr)
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), visible_ ? window_ : nullptr);
}
