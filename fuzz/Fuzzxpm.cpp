// The picture parser over arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Canvas.h"
#include "platform/Xpm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TBitmap bitmap;
  std::string error;
  ParseXpm(std::string_view(reinterpret_cast<const char*>(data), size), bitmap, &error);
  return 0;
}
