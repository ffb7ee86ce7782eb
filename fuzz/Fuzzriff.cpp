// The RIFF WAVE reader, through a player on the simulated device: the header
// is read, the device opened and the data played to its end.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Messages.h"
#include "platform/headless/SimWaveDevice.h"
#include "sound/WavePlayers.h"
#include "sound/WaveUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint32_t clock = 1000;
  TMessageQueue queue;
  auto device = CreateSimWaveOutDevice(queue, [&clock] { return clock; });
  auto player = std::make_unique<TStockAudioPlayer>(nullptr, *device, queue);
  auto* stream = new TMemoryStream(std::vector<uint8_t>(data, data + size));
  try {
    player->PlayStream(stream, true);
  } catch (...) {
    return 0;  // refused: the player closed the stream itself
  }
  // Play it out: at most a minute of virtual time.
  for (int i = 0; i < 600 && (player->HasStream() || queue.Pending() > 0); ++i) {
    clock += 100;
    device->Poll();
    queue.DispatchAll();
  }
  return 0;
}
