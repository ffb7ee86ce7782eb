// WaveOut: wave output over the platform's wave-output device. Buffers are
// handed to the device a few at a time; each one the device hands back is
// refilled from the data source (GetWaveData) until the source is exhausted,
// then the device is closed. No threads: everything runs from notifications
// delivered by the message pump.
#pragma once
#include <cstdint>

#include "sound/WaveIO.h"

enum TWaveOutOption : uint8_t { woSetVolume = 1, woSetPitch = 2, woSetPlaybackRate = 4 };
using TWaveOutOptions = uint8_t;  // a set of TWaveOutOption

class TWaveAudioOut : public TWaveAudioIO {
 public:
  static constexpr uint16_t DefaultVolume = 75;  // percent

  // Plays on the application's platform device.
  explicit TWaveAudioOut(TComponent* owner);
  TWaveAudioOut(TComponent* owner, TWaveOutDevice& device, TMessageQueue& queue);
  ~TWaveAudioOut() override;

  uint32_t DeviceCount() override;
  bool IsActive() override { return handle_ != 0; }
  bool IsPaused() override { return paused_; }
  std::string DeviceName() override;
  TPCMFormats DeviceFormats() override;
  uint32_t Position() override;
  std::string ErrorText(TMMResult code) override;
  TMMResult CheckDevice() override;
  // Asks the data source for its format and opens the device; playback
  // starts when the open notification arrives.
  bool Open() override;
  // Stops at once: hands every queued buffer back, closes the device and
  // waits (dispatching this component's notifications only) until closed.
  bool Close() override;
  bool Pause() override;
  bool Resume() override;
  bool IsFormatSupported(const TWaveFormatEx& format) override;
  // Output notifications of a handle no longer ours are stale and dropped.
  void WindowProc(TMessage& message) override;

  bool Paused() const { return paused_; }
  void SetPaused(bool paused);
  uint16_t Volume();
  void SetVolume(uint16_t percent);
  double Pitch();
  void SetPitch(double pitch);
  double PlaybackRate();
  void SetPlaybackRate(double rate);
  TWaveOutOptions Options() const { return options_; }
  void SetOptions(TWaveOutOptions options);
  bool OwnBuffers() const { return ownBuffers_; }
  void SetOwnBuffers(bool own) { ownBuffers_ = own; }
  // Destroy the component once playback has run to its end.
  bool FreeWhenDone() const { return freeWhenDone_; }
  void SetFreeWhenDone(bool free) { freeWhenDone_ = free; }
  THWaveOut Handle() const { return handle_; }

  // Bytes per buffer: BufferLength of audio, whole blocks.
  uint32_t BufferBytes();
  // Writes a caller's block in a record of its own; with freeIt the block
  // (from std::malloc) is the component's to free.
  bool WriteData(uint8_t* block, uint32_t count, bool freeIt, uint32_t loops = 0);

  // The device's volume and 16.16 conversions.
  static uint32_t VolumeToDevice(uint16_t percent);
  static uint16_t VolumeFromDevice(uint32_t word);
  static uint32_t ToFixed(double value);
  static double FromFixed(uint32_t value);

 protected:
  void HandleOutOpen() override;
  void HandleOutClose() override;
  void HandleOutDone(TWaveHdr* record) override;
  void QueueBuffers() override;
  bool GetWaveFormat(std::vector<uint8_t>& format) override = 0;

  // Pushes the enabled values the device can take.
  void ApplyOptions();
  bool WriteBuffer(TWaveHdr* record);
  // Fills buffer with up to count bytes; 0 ends the playback.
  virtual uint32_t GetWaveData(uint8_t* buffer, uint32_t count, uint32_t& loops);
  // For sources with blocks of their own (OwnBuffers false): hands out a
  // block; with freeIt it came from std::malloc and is the component's.
  virtual uint32_t GetWaveDataPtr(uint8_t*& block, uint32_t& loops, bool& freeIt);

  // Makes the component inactive whatever it is doing: a Close, or when the
  // playback is already ending, a reset and the same wait. Never nests.
  void Deactivate();

  TWaveOutDevice& device_;

 private:
  uint32_t DeviceSupport();
  bool SetRecordSize(TWaveHdr* record, uint32_t size);
  void FreeRecord(TWaveHdr* record);
  void WaitForClose();

  THWaveOut handle_ = 0;
  bool paused_ = false;
  uint16_t volume_ = DefaultVolume;
  double pitch_ = 1.0;
  double playbackRate_ = 1.0;
  TWaveOutOptions options_ = 0;
  bool ownBuffers_ = true;
  bool freeWhenDone_ = false;
  // The device has been told to close; only its notification is to come.
  bool closeIssued_ = false;
  // Close is waiting for the device: nothing may destroy the component.
  bool waiting_ = false;
};
