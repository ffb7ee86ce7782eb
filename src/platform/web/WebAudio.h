// The browser's wave-output device: every written buffer is handed to Web
// Audio to play at its place on the voice's timeline, and is done when the
// game's clock passes its end. The bookkeeping runs on the game's clock, not
// the audio context's, so a page whose audio the browser refuses or has not
// started yet (no key or click so far) plays silently at the same pace and
// no player ever waits for a buffer that cannot finish.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/Messages.h"
#include "platform/WaveDevice.h"

class TWebWaveOutDevice final : public TVoiceWaveOutDevice {
 public:
  // clock gives the game's milliseconds.
  TWebWaveOutDevice(TMessageQueue& queue, std::function<uint32_t()> clock);
  ~TWebWaveOutDevice() override;

  uint32_t GetNumDevs() override { return 1; }
  TMMResult GetDevCaps(int32_t deviceId, TWaveOutCaps& caps) override;
  void SetMuted(bool muted) override;

 protected:
  uint32_t Support() override { return WAVECAPS_VOLUME | WAVECAPS_LRVOLUME; }
  TMMResult StartVoice(THWaveOut h, const TWaveFormatEx& format) override;
  void StopVoice(THWaveOut h) override;
  TMMResult SubmitBuffer(THWaveOut h, const TWaveHdr& hdr) override;
  size_t TakeFinished(THWaveOut h) override;
  void FlushVoice(THWaveOut h) override;
  void PauseVoice(THWaveOut h, bool paused) override;
  void VoiceVolumeChanged(THWaveOut h, uint32_t volume) override;
  uint64_t PlayedBytes(THWaveOut h) override;
  uint32_t PositionUnit(uint32_t requested) override;

 private:
  struct TBuffer {
    std::vector<uint8_t> Data;  // kept to play again after a pause
    double Start = 0;           // on the game's clock, ms
    double Length = 0;          // ms
  };
  struct TVoice {
    TWaveFormatEx Format;
    std::deque<TBuffer> Queued;
    uint64_t BytesDone = 0;  // of the buffers already finished
    bool Paused = false;
    double PausedAt = 0;
    float GainLeft = 1.0f;
    float GainRight = 1.0f;
  };
  double Now() const { return clock_(); }
  // Hands the buffer to the browser to start at its place on the timeline.
  void Play(THWaveOut h, const TVoice& v, const TBuffer& b);
  TVoice* Find(THWaveOut h);

  std::function<uint32_t()> clock_;
  std::map<THWaveOut, TVoice> voices_;
};
