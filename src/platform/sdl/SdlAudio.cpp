#include "platform/sdl/SdlAudio.h"

std::unique_ptr<TWaveOutDevice> CreateSdlWaveOutDevice(TMessageQueue&) { return std::make_unique<TWaveOutDevice>(); }
