#include "sound/WaveOut.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "platform/Platform.h"

namespace {

TPlatform& ApplicationPlatform() {
  if (!Application) throw EWaveAudioError("There is no application to play sound on");
  return Application->Platform();
}

// Keeps the first error of a sequence of steps that must all run.
struct TFirstError {
  std::exception_ptr Error;
  template <class F>
  void Run(F&& step) {
    try {
      step();
    } catch (...) {
      if (!Error) Error = std::current_exception();
    }
  }
  void Rethrow() {
    if (Error) std::rethrow_exception(Error);
  }
};

}  // namespace

TWaveAudioOut::TWaveAudioOut(TComponent* owner)
    : TWaveAudioOut(owner, ApplicationPlatform().WaveOut(), ApplicationPlatform().Messages()) {}

TWaveAudioOut::TWaveAudioOut(TComponent* owner, TWaveOutDevice& device, TMessageQueue& queue)
    : TWaveAudioIO(owner, queue), device_(device) {}

TWaveAudioOut::~TWaveAudioOut() {
  BeginDestroy();
  try {
    Deactivate();
  } catch (...) {
    // A destructor reports nothing; the device is made to let go below.
  }
  if (handle_ && !closeIssued_) {
    // The device would not close properly: take every record back from it
    // before the memory goes. If even the reset fails the records stay
    // allocated rather than leave the device with dangling pointers.
    if (device_.Reset(handle_) != MMSYSERR_NOERROR) {
      HeaderList.clear();
    } else {
      for (TWaveHdr* record : HeaderList) device_.UnprepareHeader(handle_, record);
    }
    device_.Close(handle_);
  }
  handle_ = 0;
}

// ---- Device queries ----

uint32_t TWaveAudioOut::DeviceCount() { return device_.GetNumDevs(); }

uint32_t TWaveAudioOut::DeviceSupport() {
  TWaveOutCaps caps;
  return device_.GetDevCaps(DeviceNumber(), caps) == MMSYSERR_NOERROR ? caps.dwSupport : 0;
}

std::string TWaveAudioOut::DeviceName() {
  TWaveOutCaps caps;
  return device_.GetDevCaps(DeviceNumber(), caps) == MMSYSERR_NOERROR ? caps.szPname : std::string();
}

TPCMFormats TWaveAudioOut::DeviceFormats() {
  TWaveOutCaps caps;
  if (device_.GetDevCaps(DeviceNumber(), caps) != MMSYSERR_NOERROR) return 0;
  TPCMFormats formats = 0;
  for (TPCMFormat code = 1; code <= 4; ++code) formats |= PcmFormatBit(code);
  for (int i = 0; i < 12; ++i)
    if (caps.dwFormats & (WAVE_FORMAT_1M08 << i)) formats |= PcmFormatBit(5 + i);
  return formats;
}

TMMResult TWaveAudioOut::CheckDevice() {
  TWaveOutCaps caps;
  return device_.GetDevCaps(DeviceNumber(), caps);
}

std::string TWaveAudioOut::ErrorText(TMMResult code) {
  constexpr size_t MaxErrorText = 256;
  std::string text;
  if (device_.GetErrorText(code, text) != MMSYSERR_NOERROR) return std::string();
  if (text.size() > MaxErrorText) text.resize(MaxErrorText);
  return text;
}

uint32_t TWaveAudioOut::Position() {
  if (!IsActive()) return 0;
  TMMTime time;
  time.wType = TIME_MS;
  if (device_.GetPosition(handle_, time) != MMSYSERR_NOERROR) return 0;
  const uint64_t v = time.Value;
  switch (time.wType) {
    case TIME_MS: return time.Value;
    case TIME_SAMPLES: return format_.nSamplesPerSec ? static_cast<uint32_t>(v * 1000 / format_.nSamplesPerSec) : 0;
    case TIME_BYTES: return format_.nAvgBytesPerSec ? static_cast<uint32_t>(v * 1000 / format_.nAvgBytesPerSec) : 0;
    case TIME_SMPTE: return ((time.smpte.hour * 60u + time.smpte.min) * 60u + time.smpte.sec) * 1000u;
    default: return 0;
  }
}

bool TWaveAudioOut::IsFormatSupported(const TWaveFormatEx& format) {
  return device_.Open(nullptr, DeviceNumber(), &format, 0, WAVE_FORMAT_QUERY) == MMSYSERR_NOERROR;
}

// ---- Values pushed to the device ----

uint32_t TWaveAudioOut::VolumeToDevice(uint16_t percent) {
  const uint32_t level = static_cast<uint32_t>(std::clamp(MulDiv(percent, 0xFFFF, 100), 0, 0xFFFF));
  // Both channels alike: a device with separate channel volumes would
  // otherwise play the right one silent.
  return level | level << 16;
}

uint16_t TWaveAudioOut::VolumeFromDevice(uint32_t word) {
  return static_cast<uint16_t>(MulDiv(static_cast<int32_t>(word & 0xFFFF), 100, 0xFFFF));
}

uint32_t TWaveAudioOut::ToFixed(double value) {
  if (!(value > 0)) return 0;
  const double whole = std::min(std::floor(value), 65535.0);
  const uint32_t fraction = static_cast<uint32_t>((value - whole) * 65536.0) & 0xFFFF;
  return static_cast<uint32_t>(whole) << 16 | fraction;
}

double TWaveAudioOut::FromFixed(uint32_t value) { return (value >> 16) + (value & 0xFFFF) / 65536.0; }

void TWaveAudioOut::ApplyOptions() {
  const uint32_t support = DeviceSupport();
  if ((options_ & woSetVolume) && (support & WAVECAPS_VOLUME))
    CheckResult(device_.SetVolume(handle_, VolumeToDevice(volume_)));
  if ((options_ & woSetPitch) && (support & WAVECAPS_PITCH)) CheckResult(device_.SetPitch(handle_, ToFixed(pitch_)));
  if ((options_ & woSetPlaybackRate) && (support & WAVECAPS_PLAYBACKRATE))
    CheckResult(device_.SetPlaybackRate(handle_, ToFixed(playbackRate_)));
}

void TWaveAudioOut::SetOptions(TWaveOutOptions options) {
  options_ = options;
  if (IsActive()) ApplyOptions();
}

uint16_t TWaveAudioOut::Volume() {
  uint32_t word;
  if (IsActive() && (DeviceSupport() & WAVECAPS_VOLUME) && device_.GetVolume(handle_, word) == MMSYSERR_NOERROR)
    return VolumeFromDevice(word);
  return volume_;
}

void TWaveAudioOut::SetVolume(uint16_t percent) {
  volume_ = percent;
  if (IsActive() && (options_ & woSetVolume) && (DeviceSupport() & WAVECAPS_VOLUME))
    CheckResult(device_.SetVolume(handle_, VolumeToDevice(volume_)));
}

double TWaveAudioOut::Pitch() {
  if (!IsActive()) return pitch_;
  uint32_t fixed;
  if (!(DeviceSupport() & WAVECAPS_PITCH)) return 1.0;
  return device_.GetPitch(handle_, fixed) == MMSYSERR_NOERROR ? FromFixed(fixed) : pitch_;
}

void TWaveAudioOut::SetPitch(double pitch) {
  pitch_ = pitch;
  if (IsActive() && (options_ & woSetPitch) && (DeviceSupport() & WAVECAPS_PITCH))
    CheckResult(device_.SetPitch(handle_, ToFixed(pitch_)));
}

double TWaveAudioOut::PlaybackRate() {
  if (!IsActive()) return playbackRate_;
  uint32_t fixed;
  if (!(DeviceSupport() & WAVECAPS_PLAYBACKRATE)) return 1.0;
  return device_.GetPlaybackRate(handle_, fixed) == MMSYSERR_NOERROR ? FromFixed(fixed) : playbackRate_;
}

void TWaveAudioOut::SetPlaybackRate(double rate) {
  playbackRate_ = rate;
  if (IsActive() && (options_ & woSetPlaybackRate) && (DeviceSupport() & WAVECAPS_PLAYBACKRATE))
    CheckResult(device_.SetPlaybackRate(handle_, ToFixed(playbackRate_)));
}

// ---- Open, pause, close ----

bool TWaveAudioOut::Open() {
  if (IsActive()) {
    if (Closing()) return false;
    throw EWaveAudioInvalidOperation("Device is aleardy open");
  }
  std::vector<uint8_t> block;
  if (!GetWaveFormat(block)) {
    CheckResult(WAVERR_BADFORMAT);
    return false;
  }
  const TWaveFormatEx format = WaveFormatFromBlock(block);
  if (!CheckResult(device_.Open(nullptr, DeviceNumber(), &format, 0, WAVE_FORMAT_QUERY))) return false;
  format_ = format;
  format_.cbSize = 0;
  THWaveOut h = 0;
  if (!CheckResult(device_.Open(&h, DeviceNumber(), &format, NotifyHandle(), CALLBACK_WINDOW))) return false;
  handle_ = h;
  closeIssued_ = false;
  return true;
}

bool TWaveAudioOut::Pause() {
  if (paused_) return false;
  if (IsActive() && !CheckResult(device_.Pause(handle_))) return false;
  paused_ = true;
  DoPause();
  return true;
}

bool TWaveAudioOut::Resume() {
  if (!paused_) return false;
  if (IsActive() && !CheckResult(device_.Restart(handle_))) return false;
  paused_ = false;
  DoResume();
  return true;
}

void TWaveAudioOut::SetPaused(bool paused) {
  if (paused)
    Pause();
  else
    Resume();
}

bool TWaveAudioOut::Close() {
  if (Closing()) return false;
  if (!IsActive()) throw EWaveAudioInvalidOperation("Device is aleardy close");
  SetClosing(true);
  try {
    bool ok;
    if (HeaderList.empty()) {
      ok = CheckResult(device_.Close(handle_));
      closeIssued_ = ok;
    } else {
      // The returned buffers are freed as they come back; the last one
      // closes the device (HandleOutDone).
      ok = CheckResult(device_.Reset(handle_));
    }
    if (ok) WaitForClose();
  } catch (...) {
    SetClosing(false);
    throw;
  }
  SetClosing(false);
  return !IsActive();
}

void TWaveAudioOut::WaitForClose() {
  waiting_ = true;
  while (IsActive()) {
    if (queue_.DispatchFor(NotifyHandle()) > 0) continue;
    device_.Poll();
    // Nothing on its way: the device has nothing more to say, and waiting
    // longer would hang the game.
    if (queue_.PendingFor(NotifyHandle()) == 0) break;
  }
  waiting_ = false;
}

void TWaveAudioOut::Deactivate() {
  if (!IsActive() || waiting_) return;
  if (!Closing()) {
    Close();
    return;
  }
  // Playback is ending on its own: cut it short rather than wait it out.
  if (!closeIssued_ && !HeaderList.empty()) device_.Reset(handle_);
  WaitForClose();
}

// ---- Notifications ----

void TWaveAudioOut::WindowProc(TMessage& message) {
  const bool output = message.Msg == MM_WOM_OPEN || message.Msg == MM_WOM_CLOSE || message.Msg == MM_WOM_DONE;
  if (output && (handle_ == 0 || message.WParam != handle_)) return;
  TWaveAudioIO::WindowProc(message);
}

void TWaveAudioOut::HandleOutOpen() {
  // Closed before it ever started: nothing to set up on a dead handle.
  if (closeIssued_ || waiting_) return;
  SetClosing(false);
  TFirstError steps;
  steps.Run([&] { ApplyOptions(); });
  if (paused_) {
    paused_ = false;
    steps.Run([&] { paused_ = CheckResult(device_.Pause(handle_)); });
  }
  // Buffers are queued even after a failed option, or the component would
  // sit open for ever.
  steps.Run([&] { QueueBuffers(); });
  steps.Run([&] { DoActivate(); });
  steps.Rethrow();
}

void TWaveAudioOut::HandleOutClose() {
  handle_ = 0;
  closeIssued_ = false;
  DoDeactivate();
}

void TWaveAudioOut::QueueBuffers() {
  for (size_t i = HeaderList.size(); i < BufferCount() && IsActive() && !Closing(); ++i)
    queue_.Post(NotifyHandle(), TMessage{MM_WOM_DONE, handle_, 0});
}

uint32_t TWaveAudioOut::BufferBytes() {
  const int32_t bytes = MulDiv(BufferLength(), static_cast<int32_t>(format_.nAvgBytesPerSec), 1000);
  if (bytes <= 0) return 0;
  uint32_t n = static_cast<uint32_t>(bytes);
  const uint32_t align = format_.nBlockAlign;
  if (align && n % align) n += align - n % align;
  return n;
}

bool TWaveAudioOut::SetRecordSize(TWaveHdr* record, uint32_t size) {
  if (record->dwUser != reinterpret_cast<uintptr_t>(this)) record->lpData = nullptr;  // not ours to resize
  if (size == 0) size = 1;                                                            // keep a valid block
  void* block = std::realloc(record->lpData, size);
  if (!block) return false;
  record->lpData = static_cast<uint8_t*>(block);
  record->dwUser = reinterpret_cast<uintptr_t>(this);
  return true;
}

void TWaveAudioOut::FreeRecord(TWaveHdr* record) {
  if ((record->dwFlags & WHDR_PREPARED) && handle_) device_.UnprepareHeader(handle_, record);
  DisposeRecord(record);
}

void TWaveAudioOut::HandleOutDone(TWaveHdr* record) {
  TFirstError steps;
  bool attempted = false;  // the buffer was filled and offered to the device
  bool written = false;
  TWaveHdr* rec = record;

  steps.Run([&] {
    if (record) CheckResult(device_.UnprepareHeader(handle_, record));
    if (Closing() || !IsActive()) return;
    // A record beyond BufferCount (the count was lowered) is retired; an
    // empty notification adds a record only while there are too few.
    if (record ? HeaderList.size() > BufferCount() : HeaderList.size() >= BufferCount()) return;
    if (!rec) {
      rec = new (std::nothrow) TWaveHdr{};
      if (!rec) {
        SetClosing(true);
        CheckResult(MMSYSERR_NOMEM);
        return;
      }
      HeaderList.push_back(rec);
    }
    uint32_t count = 0;
    uint32_t loops = 0;
    if (OwnBuffers()) {
      const uint32_t bytes = BufferBytes();
      if (!SetRecordSize(rec, bytes)) {
        SetClosing(true);
        CheckResult(MMSYSERR_NOMEM);
        return;
      }
      rec->dwBufferLength = bytes;
      count = std::min(GetWaveData(rec->lpData, bytes, loops), bytes);
      if (count < bytes) {
        if (count > 0) SetRecordSize(rec, count);  // shrinking keeps the block if it fails
        rec->dwBufferLength = count;
      }
    } else {
      uint8_t* block = nullptr;
      bool freeIt = false;
      count = GetWaveDataPtr(block, loops, freeIt);
      if (!block) count = 0;
      if (rec->dwUser == reinterpret_cast<uintptr_t>(this)) std::free(rec->lpData);
      rec->lpData = block;
      rec->dwBufferLength = count;
      rec->dwUser = freeIt ? reinterpret_cast<uintptr_t>(this) : 0;
    }
    if (count == 0) {
      SetClosing(true);  // the source is exhausted
      return;
    }
    rec->dwFlags &= ~(WHDR_BEGINLOOP | WHDR_ENDLOOP);
    rec->dwLoops = 0;
    if (loops) {
      rec->dwFlags |= WHDR_BEGINLOOP | WHDR_ENDLOOP;
      rec->dwLoops = loops;
    }
    attempted = true;
    written = WriteBuffer(rec);
  });
  // Any other failure on the way ends the playback: the buffers out still
  // come back, and the last of them closes the device.
  if (!attempted && !Closing() && steps.Error && IsActive()) SetClosing(true);

  // A record the device does not hold is freed at once.
  if (rec && !written) steps.Run([&] { FreeRecord(rec); });
  // A buffer the device refused is lost, not the rest of the sound: the next
  // one is asked for in its place, until the source runs dry.
  if (attempted && !written && !Closing() && IsActive()) steps.Run([&] { QueueBuffers(); });

  bool destroy = false;
  if (Closing() && HeaderList.empty() && IsActive() && !closeIssued_) {
    steps.Run([&] { closeIssued_ = CheckResult(device_.Close(handle_)); });
    // Inside Close's wait, or while being destroyed, the component's life
    // is someone else's business.
    destroy = FreeWhenDone() && !waiting_ && !Destroying();
  }
  if (destroy) {
    std::exception_ptr error = steps.Error;
    delete this;
    if (error) std::rethrow_exception(error);
    return;
  }
  steps.Rethrow();
}

bool TWaveAudioOut::WriteBuffer(TWaveHdr* record) {
  bool preparedHere = false;
  if (!(record->dwFlags & WHDR_PREPARED)) {
    if (!CheckResult(device_.PrepareHeader(handle_, record))) return false;
    preparedHere = true;
  }
  bool ok = false;
  try {
    DoFilter(record->lpData, record->dwBufferLength);
    DoLevel(record->lpData, record->dwBufferLength);
    ok = CheckResult(device_.Write(handle_, record));
  } catch (...) {
    if (preparedHere) device_.UnprepareHeader(handle_, record);
    throw;
  }
  if (!ok && preparedHere) device_.UnprepareHeader(handle_, record);
  return ok;
}

bool TWaveAudioOut::WriteData(uint8_t* block, uint32_t count, bool freeIt, uint32_t loops) {
  auto* record = new (std::nothrow) TWaveHdr{};
  if (!record) {
    if (freeIt) std::free(block);
    return CheckResult(MMSYSERR_NOMEM);
  }
  record->lpData = block;
  record->dwBufferLength = count;
  record->dwUser = freeIt ? reinterpret_cast<uintptr_t>(this) : 0;
  if (loops) {
    record->dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
    record->dwLoops = loops;
  }
  HeaderList.push_back(record);
  bool ok = false;
  try {
    ok = WriteBuffer(record);
  } catch (...) {
    FreeRecord(record);
    throw;
  }
  if (!ok) FreeRecord(record);
  return ok;
}

uint32_t TWaveAudioOut::GetWaveData(uint8_t*, uint32_t, uint32_t&) { return 0; }

uint32_t TWaveAudioOut::GetWaveDataPtr(uint8_t*&, uint32_t&, bool&) { return 0; }
