// The game's pictures: pixel art compiled into the program as XPM text.
#include <stdexcept>

#include "platform/Assets.h"
#include "platform/Xpm.h"
#include "shell/GlyphfallUnit.h"

namespace {
std::unique_ptr<TBitmap> LoadPicture(const char* name, bool transparent) {
  auto bitmap = std::make_unique<TBitmap>();
  std::string path = std::string("pictures/") + name + ".xpm";
  std::string error;
  if (!ParseXpm(EmbeddedAsset(path), *bitmap, &error))
    throw std::runtime_error("The picture " + path + " built into the program is damaged: " + error);
  bitmap->Transparent = transparent;
  return bitmap;
}
}  // namespace

void TGlyphfallForm::LoadPictures() {
  BrickImage = LoadPicture("brick", false);
  BrickArchImage = LoadPicture("brickarch", false);
  Damaged1Image = LoadPicture("damaged1", true);
  Damaged2Image = LoadPicture("damaged2", true);
  GroundImage = LoadPicture("ground", true);
  GroundImage->SetTransparentColor(clBlack);
  BombImage = LoadPicture("bomb", true);
  GoldBrickImage = LoadPicture("goldbrick", false);
  ClockImage = LoadPicture("clock", true);
  CannonImage = LoadPicture("cannon", true);
  BackImage = LoadPicture("back", true);
  ShieldImage = LoadPicture("shield", true);
  RotateImage = std::make_unique<TBitmap>(100, 100);
  OffscreenRotateImage = std::make_unique<TBitmap>();
  OffscreenRotateImage->Transparent = true;
  OffscreenRotateImage->SetTransparentColor(clBlack);
}
