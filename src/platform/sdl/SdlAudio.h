// The SDL wave-output device: one audio device mixing every open handle.
#pragma once
#include <memory>

#include "platform/Messages.h"
#include "platform/WaveDevice.h"

std::unique_ptr<TWaveOutDevice> CreateSdlWaveOutDevice(TMessageQueue& queue);
