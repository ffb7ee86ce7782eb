#include "platform/sdl/SdlScreen.h"

#include <SDL.h>
#include <time.h>

#include <algorithm>

#include "Product.h"

namespace {
constexpr int BannerWidth = 360;
constexpr int BannerHeight = 70;
constexpr int BannerFontSize = 30;
constexpr TColor BannerColour = 0x202020;
constexpr int DefaultRefreshRate = 60;
constexpr int HighestRefreshRate = 500;

int64_t NowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
}  // namespace

TSdlScreen::TSdlScreen(SDL_Window* window, int playW, int playH, bool pixelExact)
    : window_(window), playW_(playW), playH_(playH), pixelExact_(pixelExact), composite_(playW, playH) {
  UpdateRefreshRate();
}

TViewport TSdlScreen::Viewport() const {
  int w = playW_, h = playH_;
  SDL_GetWindowSize(window_, &w, &h);
  return FitPlayfield(w, h, playW_, playH_, pixelExact_);
}

void TSdlScreen::ComposeBanner(const std::string& text) {
  // Drawn by the platform over the game's frame, never into it.
  std::copy(changes_.Last(), changes_.Last() + static_cast<size_t>(playW_) * playH_, composite_.Pixels().begin());
  TCanvas& c = composite_.Canvas();
  const int left = (playW_ - BannerWidth) / 2, top = (playH_ - BannerHeight) / 2;
  c.Brush.Style = TBrushStyle::Solid;
  c.Brush.Color = BannerColour;
  c.FillRect({left, top, left + BannerWidth, top + BannerHeight});
  c.Brush.Style = TBrushStyle::Clear;
  c.Font.Name = GameFontFace;
  c.Font.Bold = true;
  c.Font.Smooth = true;
  c.Font.Size = BannerFontSize;
  TSize ext = c.TextExtent(text);
  int x = left + (BannerWidth - ext.cx) / 2, y = top + (BannerHeight - ext.cy) / 2;
  c.Font.Color = clYellow;
  c.TextOut(x + 2, y + 2, text);
  c.Font.Color = clWhite;
  c.TextOut(x, y, text);
}

void TSdlScreen::Show(const TBitmap* frame, const std::string& banner) {
  SDL_Surface* s = SDL_GetWindowSurface(window_);
  if (!s) return;
  std::vector<TRect> rects;
  if (frame && frame->Width() == playW_ && frame->Height() == playH_)
    rects = changes_.Update(frame->Pixels().data(), playW_, playH_);
  if (!changes_.Last()) return;  // no frame yet
  // A new surface (after a resize SDL makes one, perhaps at the old address).
  if (s != surface_ || s->w != surfaceSize_.cx || s->h != surfaceSize_.cy) redrawAll_ = true;
  surface_ = s;
  surfaceSize_ = TSize{s->w, s->h};
  const TRect whole{0, 0, playW_, playH_};
  if (redrawAll_) rects.assign(1, whole);
  if (banner != bannerShown_) {
    const int left = (playW_ - BannerWidth) / 2, top = (playH_ - BannerHeight) / 2;
    rects.push_back(TRect{left, top, left + BannerWidth, top + BannerHeight});
    bannerShown_ = banner;
  }
  if (rects.empty()) return;
  const uint32_t* src = changes_.Last();
  if (!banner.empty()) {
    ComposeBanner(banner);
    src = composite_.Pixels().data();
  }

  TViewport v = FitPlayfield(s->w, s->h, playW_, playH_, pixelExact_);
  scaler_.Configure(playW_, playH_, v.W, v.H);
  const uint32_t fmt = s->format->format;
  const bool swap = fmt == SDL_PIXELFORMAT_XRGB8888 || fmt == SDL_PIXELFORMAT_ARGB8888;
  const bool direct = swap || fmt == SDL_PIXELFORMAT_XBGR8888 || fmt == SDL_PIXELFORMAT_ABGR8888;
  if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) {
    redrawAll_ = true;  // the changes just taken in are not on the screen
    return;
  }
  if (redrawAll_) SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 0));
  auto* pixels = static_cast<uint8_t*>(s->pixels);
  std::vector<SDL_Rect> sent;
  sent.reserve(rects.size());
  for (const TRect& r : rects) {
    TRect o;
    if (direct) {
      auto* origin = reinterpret_cast<uint32_t*>(pixels + static_cast<ptrdiff_t>(v.Y) * s->pitch) + v.X;
      o = scaler_.Scale(src, playW_, r, origin, s->pitch / 4, swap);
    } else {
      // Another layout (a 16-bit screen): scale, then let SDL convert.
      staging_.resize(static_cast<size_t>(v.W) * v.H);
      o = scaler_.Scale(src, playW_, r, staging_.data(), v.W, false);
      if (o.Width() > 0)
        SDL_ConvertPixels(o.Width(), o.Height(), SDL_PIXELFORMAT_XBGR8888,
                          staging_.data() + static_cast<size_t>(o.Top) * v.W + o.Left, v.W * 4, fmt,
                          pixels + static_cast<ptrdiff_t>(v.Y + o.Top) * s->pitch +
                              static_cast<ptrdiff_t>(v.X + o.Left) * s->format->BytesPerPixel,
                          s->pitch);
    }
    if (o.Width() > 0) sent.push_back(SDL_Rect{v.X + o.Left, v.Y + o.Top, o.Width(), o.Height()});
  }
  if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
  if (redrawAll_)
    SDL_UpdateWindowSurface(window_);
  else if (!sent.empty())
    SDL_UpdateWindowSurfaceRects(window_, sent.data(), static_cast<int>(sent.size()));
  redrawAll_ = false;
}

void TSdlScreen::UpdateRefreshRate() {
  SDL_DisplayMode mode{};
  int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
  int rate = DefaultRefreshRate;
  if (SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0 &&
      mode.refresh_rate <= HighestRefreshRate)
    rate = mode.refresh_rate;
  periodNs_ = 1000000000 / rate;
}

bool TSdlScreen::InputWaiting() const {
  SDL_Event e;
  for (uint32_t type : {SDL_KEYDOWN, SDL_MOUSEBUTTONDOWN, SDL_QUIT, SDL_WINDOWEVENT})
    if (SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, type, type) > 0) return true;
  return false;
}

void TSdlScreen::WaitForNextFrame() {
  int64_t now = NowNs();
  // A frame shown early (the answer to a key) keeps the time the next one is
  // due; one shown late does not make the following ones hurry.
  if (now >= dueNs_) dueNs_ = dueNs_ + periodNs_ > now ? dueNs_ + periodNs_ : now + periodNs_;
  while (now < dueNs_) {
    int ms = static_cast<int>((dueNs_ - now + 999999) / 1000000);
    if (SDL_WaitEventTimeout(nullptr, ms)) {
      if (InputWaiting()) return;
      // Something else came (the pointer moved): it is handled with the
      // frame, so sleep out the rest rather than wake on it again.
      SDL_Delay(static_cast<uint32_t>(std::max<int64_t>(0, (dueNs_ - NowNs()) / 1000000)));
      return;
    }
    now = NowNs();
  }
}
