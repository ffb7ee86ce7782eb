// The wave-output device: the stand-in for the desktop's multimedia wave-out
// interface, in that interface's own terms (handles, header records, result
// codes, posted notifications).
//
// Every call is made on the game thread. Notifications are Posted to the
// target handle given at open and so reach the owner only through the message
// pump (TPlatform::ProcessMessages or a component's own wait loop):
//   MM_WOM_OPEN  after a successful open,
//   MM_WOM_DONE  once for every written header, in the order written, with the
//                header in LParam (after play, or at once by Reset),
//   MM_WOM_CLOSE after a successful close.
// WParam always carries the device handle.
#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>

#include "platform/Messages.h"

using TMMResult = uint32_t;
using THWaveOut = uint32_t;  // 0 is no device

// Result codes.
constexpr TMMResult MMSYSERR_NOERROR = 0;
constexpr TMMResult MMSYSERR_ERROR = 1;
constexpr TMMResult MMSYSERR_BADDEVICEID = 2;
constexpr TMMResult MMSYSERR_NOTENABLED = 3;
constexpr TMMResult MMSYSERR_ALLOCATED = 4;
constexpr TMMResult MMSYSERR_INVALHANDLE = 5;
constexpr TMMResult MMSYSERR_NODRIVER = 6;
constexpr TMMResult MMSYSERR_NOMEM = 7;
constexpr TMMResult MMSYSERR_NOTSUPPORTED = 8;
constexpr TMMResult MMSYSERR_INVALFLAG = 10;
constexpr TMMResult MMSYSERR_INVALPARAM = 11;
constexpr TMMResult WAVERR_BADFORMAT = 32;
constexpr TMMResult WAVERR_STILLPLAYING = 33;
constexpr TMMResult WAVERR_UNPREPARED = 34;

// The device the system picks.
constexpr int32_t WAVE_MAPPER = -1;

// Open flags.
constexpr uint32_t WAVE_FORMAT_QUERY = 0x0001;  // only ask whether the format plays
constexpr uint32_t CALLBACK_WINDOW = 0x10000;   // notify the given target

// Notifications.
constexpr uint32_t MM_WOM_OPEN = 0x3BB;
constexpr uint32_t MM_WOM_CLOSE = 0x3BC;
constexpr uint32_t MM_WOM_DONE = 0x3BD;
constexpr uint32_t MM_WIM_OPEN = 0x3BE;
constexpr uint32_t MM_WIM_CLOSE = 0x3BF;
constexpr uint32_t MM_WIM_DATA = 0x3C0;

// Header flags.
constexpr uint32_t WHDR_DONE = 0x01;
constexpr uint32_t WHDR_PREPARED = 0x02;
constexpr uint32_t WHDR_BEGINLOOP = 0x04;
constexpr uint32_t WHDR_ENDLOOP = 0x08;
constexpr uint32_t WHDR_INQUEUE = 0x10;

// Capability flags (TWaveOutCaps::dwSupport).
constexpr uint32_t WAVECAPS_PITCH = 0x01;
constexpr uint32_t WAVECAPS_PLAYBACKRATE = 0x02;
constexpr uint32_t WAVECAPS_VOLUME = 0x04;
constexpr uint32_t WAVECAPS_LRVOLUME = 0x08;
constexpr uint32_t WAVECAPS_SYNC = 0x10;
constexpr uint32_t WAVECAPS_SAMPLEACCURATE = 0x20;

// Standard format flags (TWaveOutCaps::dwFormats): 11025, 22050, 44100 Hz,
// each mono 8, stereo 8, mono 16, stereo 16 bit.
constexpr uint32_t WAVE_FORMAT_1M08 = 0x001;
constexpr uint32_t WAVE_FORMAT_4S16 = 0x800;
constexpr uint32_t WAVE_FORMATS_STANDARD = 0xFFF;

// Position units (TMMTime::wType).
constexpr uint32_t TIME_MS = 0x01;
constexpr uint32_t TIME_SAMPLES = 0x02;
constexpr uint32_t TIME_BYTES = 0x04;
constexpr uint32_t TIME_SMPTE = 0x08;
constexpr uint32_t TIME_MIDI = 0x10;
constexpr uint32_t TIME_TICKS = 0x20;

constexpr uint16_t WAVE_FORMAT_PCM = 1;

struct TWaveFormatEx {
  uint16_t wFormatTag = 0;
  uint16_t nChannels = 0;
  uint32_t nSamplesPerSec = 0;
  uint32_t nAvgBytesPerSec = 0;
  uint16_t nBlockAlign = 0;
  uint16_t wBitsPerSample = 0;
  uint16_t cbSize = 0;
};

// A buffer record. The owner fills lpData / dwBufferLength / dwUser and the
// loop fields; the device owns the flags' DONE, PREPARED and INQUEUE bits and
// the last two fields.
struct TWaveHdr {
  uint8_t* lpData = nullptr;
  uint32_t dwBufferLength = 0;
  uint32_t dwBytesRecorded = 0;
  uintptr_t dwUser = 0;
  uint32_t dwFlags = 0;
  uint32_t dwLoops = 0;
  TWaveHdr* lpNext = nullptr;
  uintptr_t reserved = 0;
};

struct TWaveOutCaps {
  uint16_t wMid = 0;
  uint16_t wPid = 0;
  uint32_t vDriverVersion = 0;
  std::string szPname;  // at most 31 characters
  uint32_t dwFormats = 0;
  uint16_t wChannels = 0;
  uint32_t dwSupport = 0;
};

struct TMMTime {
  uint32_t wType = TIME_MS;
  uint32_t Value = 0;  // ms, sample or cb, as wType says
  struct {
    uint8_t hour = 0, min = 0, sec = 0, frame = 0, fps = 0;
  } smpte;
};

class TWaveOutDevice {
 public:
  virtual ~TWaveOutDevice() = default;

  // Called by the platform before it dispatches messages, on the game thread:
  // hands back the buffers that have finished playing (posts MM_WOM_DONE).
  virtual void Poll() {}

  virtual uint32_t GetNumDevs() = 0;
  // deviceId is WAVE_MAPPER or 0 .. GetNumDevs() - 1.
  virtual TMMResult GetDevCaps(int32_t deviceId, TWaveOutCaps& caps) = 0;
  // With WAVE_FORMAT_QUERY nothing is opened and handle may be null; with
  // CALLBACK_WINDOW, MM_WOM_OPEN is posted to notify on success.
  virtual TMMResult Open(THWaveOut* handle, int32_t deviceId, const TWaveFormatEx* format, THandle notify,
                         uint32_t flags) = 0;
  // Fails with WAVERR_STILLPLAYING while written headers are still queued.
  virtual TMMResult Close(THWaveOut h) = 0;
  virtual TMMResult PrepareHeader(THWaveOut h, TWaveHdr* hdr) = 0;
  // Fails with WAVERR_STILLPLAYING while the header is queued.
  virtual TMMResult UnprepareHeader(THWaveOut h, TWaveHdr* hdr) = 0;
  // Queues a prepared header; the device reads lpData during this call only.
  virtual TMMResult Write(THWaveOut h, TWaveHdr* hdr) = 0;
  // Stops output, posts MM_WOM_DONE for every queued header at once and puts
  // the position back to 0.
  virtual TMMResult Reset(THWaveOut h) = 0;
  virtual TMMResult Pause(THWaveOut h) = 0;
  virtual TMMResult Restart(THWaveOut h) = 0;
  // Answers in time.wType if the device can, otherwise changes wType.
  virtual TMMResult GetPosition(THWaveOut h, TMMTime& time) = 0;
  // Low word left, high word right, 0 .. 0xFFFF each.
  virtual TMMResult GetVolume(THWaveOut h, uint32_t& volume) = 0;
  virtual TMMResult SetVolume(THWaveOut h, uint32_t volume) = 0;
  // Pitch and rate are 16.16 fixed point.
  virtual TMMResult GetPitch(THWaveOut h, uint32_t& pitch) = 0;
  virtual TMMResult SetPitch(THWaveOut h, uint32_t pitch) = 0;
  virtual TMMResult GetPlaybackRate(THWaveOut h, uint32_t& rate) = 0;
  virtual TMMResult SetPlaybackRate(THWaveOut h, uint32_t rate) = 0;
  virtual TMMResult GetErrorText(TMMResult code, std::string& text) = 0;

  // Silences every voice; the players keep running (the window's mute key).
  virtual void SetMuted(bool muted) { muted_ = muted; }
  bool Muted() const { return muted_; }

 protected:
  bool muted_ = false;
};

// Device operations, named for failure injection and call logs.
enum class TWaveCall {
  GetNumDevs,
  GetDevCaps,
  Query,
  Open,
  Close,
  Prepare,
  Unprepare,
  Write,
  Reset,
  Pause,
  Restart,
  GetPosition,
  GetVolume,
  SetVolume,
  GetPitch,
  SetPitch,
  GetPlaybackRate,
  SetPlaybackRate,
  Count
};

// The bookkeeping every backend shares: handles, header flags, the order of
// queued headers, notifications, format checks and error texts. A backend
// supplies the voices that actually consume the audio. Game thread only.
class TVoiceWaveOutDevice : public TWaveOutDevice {
 public:
  explicit TVoiceWaveOutDevice(TMessageQueue& queue);

  void Poll() override;
  TMMResult Open(THWaveOut* handle, int32_t deviceId, const TWaveFormatEx* format, THandle notify,
                 uint32_t flags) override;
  TMMResult Close(THWaveOut h) override;
  TMMResult PrepareHeader(THWaveOut h, TWaveHdr* hdr) override;
  TMMResult UnprepareHeader(THWaveOut h, TWaveHdr* hdr) override;
  TMMResult Write(THWaveOut h, TWaveHdr* hdr) override;
  TMMResult Reset(THWaveOut h) override;
  TMMResult Pause(THWaveOut h) override;
  TMMResult Restart(THWaveOut h) override;
  TMMResult GetPosition(THWaveOut h, TMMTime& time) override;
  TMMResult GetVolume(THWaveOut h, uint32_t& volume) override;
  TMMResult SetVolume(THWaveOut h, uint32_t volume) override;
  TMMResult GetPitch(THWaveOut h, uint32_t& pitch) override;
  TMMResult SetPitch(THWaveOut h, uint32_t pitch) override;
  TMMResult GetPlaybackRate(THWaveOut h, uint32_t& rate) override;
  TMMResult SetPlaybackRate(THWaveOut h, uint32_t rate) override;
  TMMResult GetErrorText(TMMResult code, std::string& text) override;

  // Open handles right now.
  size_t OpenCount() const { return voices_.size(); }

  // Upper bound on simultaneous handles, so a flood of sounds cannot exhaust
  // the mixer; later opens fail with MMSYSERR_ALLOCATED.
  static constexpr size_t MaxVoices = 128;

 protected:
  // The first check of every call: a non-zero result fails the call with no
  // effect. The simulated device uses it to fail calls on request.
  virtual TMMResult BeforeCall(TWaveCall) { return MMSYSERR_NOERROR; }
  // Whether the format can play: PCM, 1 or 2 channels, 8 or 16 bits,
  // 4000 .. 192000 Hz and consistent block and byte rates.
  virtual TMMResult CheckFormat(const TWaveFormatEx& format);
  // Capabilities the shared calls honour (volume, pitch, rate).
  virtual uint32_t Support() = 0;

  // The backend's voices. StartVoice may refuse (no audio device).
  virtual TMMResult StartVoice(THWaveOut h, const TWaveFormatEx& format) = 0;
  virtual void StopVoice(THWaveOut h) = 0;
  // Takes a copy of the header's data for playing; may fail (no memory).
  virtual TMMResult SubmitBuffer(THWaveOut h, const TWaveHdr& hdr) = 0;
  // How many submitted buffers have finished since the last call, in order.
  virtual size_t TakeFinished(THWaveOut h) = 0;
  // Drops every submitted buffer and finished count; position back to 0.
  virtual void FlushVoice(THWaveOut h) = 0;
  virtual void PauseVoice(THWaveOut h, bool paused) = 0;
  virtual void VoiceVolumeChanged(THWaveOut, uint32_t) {}
  // Bytes of the voice's own format played since open or the last reset.
  virtual uint64_t PlayedBytes(THWaveOut h) = 0;
  // Unit the device reports positions in when asked for time.wType.
  virtual uint32_t PositionUnit(uint32_t requested);

  TMessageQueue& queue_;

 private:
  struct TVoiceState {
    THandle Notify = 0;
    TWaveFormatEx Format;
    std::deque<TWaveHdr*> Queued;
    bool Paused = false;
    uint32_t Volume = 0xFFFFFFFF;
    uint32_t Pitch = 0x10000;
    uint32_t Rate = 0x10000;
  };
  TVoiceState* Find(THWaveOut h);
  void Done(THWaveOut h, TVoiceState& v, size_t count);

  std::map<THWaveOut, TVoiceState> voices_;
  THWaveOut nextHandle_ = 1;
};
