// Makes the desktop icons from the game's own pixel art: an XPM picture
// scaled by a whole factor (crisp pixels) and written as PNG.
// Usage: glyphfall-mkicons PICTURE.xpm FACTOR OUT.png
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/Canvas.h"
#include "platform/Xpm.h"
#include "png/Png.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s PICTURE.xpm FACTOR OUT.png\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  TBitmap picture;
  std::string error;
  if (!ParseXpm(text.str(), picture, &error)) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
    return 1;
  }
  int factor = std::atoi(argv[2]);
  if (factor < 1 || factor > 64) {
    std::fprintf(stderr, "factor must be 1 to 64\n");
    return 2;
  }
  TBitmap icon(picture.Width() * factor, picture.Height() * factor);
  icon.Canvas().CopyRect({0, 0, icon.Width(), icon.Height()}, picture, {0, 0, picture.Width(), picture.Height()});
  if (!WritePng(icon, argv[3])) {
    std::fprintf(stderr, "cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
