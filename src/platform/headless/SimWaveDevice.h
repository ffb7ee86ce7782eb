// The simulated wave-output device used by the headless platform and tests.
//
// It plays nothing: each open handle consumes its written buffers at the
// format's byte rate against the clock it was given, and Poll hands back the
// buffers whose time has come. It records what it was given and can be told
// to fail chosen calls, so every error path of the sound engine is reachable.
#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/Messages.h"
#include "platform/WaveDevice.h"

class TSimWaveOutDevice : public TVoiceWaveOutDevice {
 public:
  TSimWaveOutDevice(TMessageQueue& queue, std::function<uint32_t()> clock);

  uint32_t GetNumDevs() override;
  TMMResult GetDevCaps(int32_t deviceId, TWaveOutCaps& caps) override;

  // ---- Configuration ----
  void SetDeviceCount(uint32_t count) { deviceCount_ = count; }
  void SetSupport(uint32_t support) { support_ = support; }
  void SetFormats(uint32_t formats) { formats_ = formats; }
  // The unit GetPosition answers in, whatever is asked (0: as asked).
  void SetPositionUnit(uint32_t unit) { positionUnit_ = unit; }
  // Fails the call after letting `skip` further calls of it succeed, `times`
  // times in a row (0: for ever).
  void FailCall(TWaveCall call, TMMResult code, int skip = 0, int times = 1);
  void ClearFailures();

  // ---- What it was given ----
  // Only the latest RecordLimit writes and opens are kept, so that a long
  // soak does not keep a copy of every sound it played.
  static constexpr size_t RecordLimit = 256;
  struct TWrite {
    THWaveOut Handle = 0;
    std::vector<uint8_t> Data;
  };
  // The latest buffers written, oldest first.
  const std::deque<TWrite>& Writes() const { return writes_; }
  // Every buffer ever written, counted.
  uint64_t WriteCount() const { return writeCount_; }
  int Calls(TWaveCall call) const { return calls_[static_cast<size_t>(call)]; }
  // Formats of the latest successful opens, in order.
  const std::deque<TWaveFormatEx>& Opened() const { return opened_; }
  // Last volume, pitch and rate set on a handle (open or closed), if any.
  bool VolumeSet(THWaveOut h, uint32_t& volume) const;
  bool PitchSet(THWaveOut h, uint32_t& pitch) const;
  bool RateSet(THWaveOut h, uint32_t& rate) const;
  // Buffers still queued on a handle.
  size_t QueuedBuffers(THWaveOut h) const;
  size_t QueuedBuffers() const;

  TMMResult SetVolume(THWaveOut h, uint32_t volume) override;
  TMMResult SetPitch(THWaveOut h, uint32_t pitch) override;
  TMMResult SetPlaybackRate(THWaveOut h, uint32_t rate) override;

 protected:
  TMMResult BeforeCall(TWaveCall call) override;
  uint32_t Support() override { return support_; }
  TMMResult StartVoice(THWaveOut h, const TWaveFormatEx& format) override;
  void StopVoice(THWaveOut h) override;
  TMMResult SubmitBuffer(THWaveOut h, const TWaveHdr& hdr) override;
  size_t TakeFinished(THWaveOut h) override;
  void FlushVoice(THWaveOut h) override;
  void PauseVoice(THWaveOut h, bool paused) override;
  uint64_t PlayedBytes(THWaveOut h) override;
  uint32_t PositionUnit(uint32_t requested) override;

 private:
  struct TSimVoice {
    uint32_t BytesPerSec = 0;
    std::deque<uint32_t> Pending;  // lengths of the buffers not yet played
    uint64_t IntoFront = 0;        // bytes of the front buffer played
    uint64_t Played = 0;           // since open or reset
    uint64_t Remainder = 0;        // byte-time carried between polls (ms * rate)
    uint32_t LastTick = 0;
    bool Paused = false;
  };
  struct TFailure {
    TMMResult Code = 0;
    int Skip = 0;
    int Times = 0;
  };
  void Advance(TSimVoice& v);

  std::function<uint32_t()> clock_;
  uint32_t deviceCount_ = 1;
  uint32_t support_ =
      WAVECAPS_VOLUME | WAVECAPS_LRVOLUME | WAVECAPS_PITCH | WAVECAPS_PLAYBACKRATE | WAVECAPS_SAMPLEACCURATE;
  uint32_t formats_ = WAVE_FORMATS_STANDARD;
  uint32_t positionUnit_ = 0;
  std::map<THWaveOut, TSimVoice> voices_;
  std::map<TWaveCall, TFailure> failures_;
  std::array<int, static_cast<size_t>(TWaveCall::Count)> calls_{};
  std::deque<TWrite> writes_;
  uint64_t writeCount_ = 0;
  std::deque<TWaveFormatEx> opened_;
  std::map<THWaveOut, uint32_t> volumes_, pitches_, rates_;
};

std::unique_ptr<TSimWaveOutDevice> CreateSimWaveOutDevice(TMessageQueue& queue, std::function<uint32_t()> clock);
