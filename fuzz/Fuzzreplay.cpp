// The replay reader over arbitrary file contents.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "replay/ReplayUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    TReplay replay = DecodeReplay(std::string_view(reinterpret_cast<const char*>(data), size));
    // What was read is what was there: written again, it reads back the same.
    if (DecodeReplay(EncodeReplay(replay)) != replay) __builtin_trap();
    if (replay.Frames.size() > size || replay.Events.size() > size) __builtin_trap();
  } catch (const EReplayError&) {
  }
  return 0;
}
