// The reference the text benchmark compares our canvas with: SDL_ttf's
// blended rendering plus a blit onto a 32-bit surface of the same size.
#pragma once
#include <memory>
#include <string>

class TTtfReference {
 public:
  // fontData must outlive the object (the embedded font does).
  TTtfReference(const void* fontData, size_t size, int width, int height);
  ~TTtfReference();
  bool Ok() const;
  // Renders text at pointSize (at 96 dpi, as the canvas does) and blits it.
  void Draw(const std::string& text, int pointSize, int x, int y, uint32_t colour);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
