// The simulated wave-output device used by the headless platform.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/Messages.h"
#include "platform/WaveDevice.h"

std::unique_ptr<TWaveOutDevice> CreateSimWaveOutDevice(TMessageQueue& queue, std::function<uint32_t()> clock);
