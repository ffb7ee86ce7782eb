#include "platform/sdl/bench/TtfReference.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <map>

struct TTtfReference::Impl {
  const void* data = nullptr;
  size_t size = 0;
  SDL_Surface* target = nullptr;
  std::map<int, TTF_Font*> fonts;
  bool ok = false;
  TTF_Font* Font(int points) {
    auto it = fonts.find(points);
    if (it != fonts.end()) return it->second;
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    // Points at 96 dpi, as our canvas measures them.
    TTF_Font* f = TTF_OpenFontDPIRW(rw, 1, points, 96, 96);
    if (f) TTF_SetFontStyle(f, TTF_STYLE_NORMAL);
    fonts[points] = f;
    return f;
  }
};

TTtfReference::TTtfReference(const void* fontData, size_t size, int width, int height) : impl_(new Impl) {
  impl_->data = fontData;
  impl_->size = size;
  if (TTF_Init() != 0) return;
  impl_->target = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_XBGR8888);
  impl_->ok = impl_->target != nullptr;
}

TTtfReference::~TTtfReference() {
  for (auto& [size, f] : impl_->fonts)
    if (f) TTF_CloseFont(f);
  if (impl_->target) SDL_FreeSurface(impl_->target);
  TTF_Quit();
}

bool TTtfReference::Ok() const { return impl_->ok; }

void TTtfReference::Draw(const std::string& text, int pointSize, int x, int y, uint32_t colour) {
  TTF_Font* f = impl_->Font(pointSize);
  if (!f || text.empty()) return;
  SDL_Color c{static_cast<Uint8>(colour & 0xFF), static_cast<Uint8>((colour >> 8) & 0xFF),
              static_cast<Uint8>((colour >> 16) & 0xFF), 255};
  SDL_Surface* s = TTF_RenderUTF8_Blended(f, text.c_str(), c);
  if (!s) return;
  SDL_Rect dst{x, y, s->w, s->h};
  SDL_BlitSurface(s, nullptr, impl_->target, &dst);
  SDL_FreeSurface(s);
}
