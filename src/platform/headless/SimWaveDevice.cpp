#include "platform/headless/SimWaveDevice.h"

std::unique_ptr<TWaveOutDevice> CreateSimWaveOutDevice(TMessageQueue&, std::function<uint32_t()>) {
  return std::make_unique<TWaveOutDevice>();
}
