#include "platform/WaveDevice.h"

namespace {

constexpr uint32_t MinRate = 4000;
constexpr uint32_t MaxRate = 192000;

}  // namespace

TVoiceWaveOutDevice::TVoiceWaveOutDevice(TMessageQueue& queue) : queue_(queue) {}

TVoiceWaveOutDevice::TVoiceState* TVoiceWaveOutDevice::Find(THWaveOut h) {
  auto it = voices_.find(h);
  return it == voices_.end() ? nullptr : &it->second;
}

TMMResult TVoiceWaveOutDevice::CheckFormat(const TWaveFormatEx& f) {
  if (f.wFormatTag != WAVE_FORMAT_PCM) return WAVERR_BADFORMAT;
  if (f.nChannels < 1 || f.nChannels > 2) return WAVERR_BADFORMAT;
  if (f.wBitsPerSample != 8 && f.wBitsPerSample != 16) return WAVERR_BADFORMAT;
  if (f.nSamplesPerSec < MinRate || f.nSamplesPerSec > MaxRate) return WAVERR_BADFORMAT;
  if (f.nBlockAlign != f.nChannels * f.wBitsPerSample / 8) return WAVERR_BADFORMAT;
  if (f.nAvgBytesPerSec != f.nSamplesPerSec * f.nBlockAlign) return WAVERR_BADFORMAT;
  return MMSYSERR_NOERROR;
}

uint32_t TVoiceWaveOutDevice::PositionUnit(uint32_t requested) {
  switch (requested) {
    case TIME_MS:
    case TIME_SAMPLES:
    case TIME_BYTES: return requested;
    default: return TIME_BYTES;
  }
}

TMMResult TVoiceWaveOutDevice::Open(THWaveOut* handle, int32_t deviceId, const TWaveFormatEx* format, THandle notify,
                                    uint32_t flags) {
  const bool query = flags & WAVE_FORMAT_QUERY;
  if (TMMResult r = BeforeCall(query ? TWaveCall::Query : TWaveCall::Open)) return r;
  if (!format) return MMSYSERR_INVALPARAM;
  if (!query && !handle) return MMSYSERR_INVALPARAM;
  if (deviceId != WAVE_MAPPER && (deviceId < 0 || static_cast<uint32_t>(deviceId) >= GetNumDevs()))
    return MMSYSERR_BADDEVICEID;
  if (GetNumDevs() == 0) return MMSYSERR_NODRIVER;
  if (TMMResult r = CheckFormat(*format)) return r;
  if (query) return MMSYSERR_NOERROR;
  if (voices_.size() >= MaxVoices) return MMSYSERR_ALLOCATED;

  THWaveOut h = nextHandle_++;
  while (h == 0 || voices_.count(h)) h = nextHandle_++;
  if (TMMResult r = StartVoice(h, *format)) return r;
  TVoiceState& v = voices_[h];
  v.Notify = (flags & CALLBACK_WINDOW) ? notify : 0;
  v.Format = *format;
  *handle = h;
  if (v.Notify) queue_.Post(v.Notify, TMessage{MM_WOM_OPEN, h, 0});
  return MMSYSERR_NOERROR;
}

TMMResult TVoiceWaveOutDevice::Close(THWaveOut h) {
  if (TMMResult r = BeforeCall(TWaveCall::Close)) return r;
  TVoiceState* v = Find(h);
  if (!v) return MMSYSERR_INVALHANDLE;
  // Take what has finished meanwhile, so only truly queued buffers block.
  Done(h, *v, TakeFinished(h));
  if (!v->Queued.empty()) return WAVERR_STILLPLAYING;
  THandle notify = v->Notify;
  StopVoice(h);
  voices_.erase(h);
  if (notify) queue_.Post(notify, TMessage{MM_WOM_CLOSE, h, 0});
  return MMSYSERR_NOERROR;
}

TMMResult TVoiceWaveOutDevice::PrepareHeader(THWaveOut h, TWaveHdr* hdr) {
  if (TMMResult r = BeforeCall(TWaveCall::Prepare)) return r;
  if (!Find(h)) return MMSYSERR_INVALHANDLE;
  if (!hdr) return MMSYSERR_INVALPARAM;
  hdr->dwFlags |= WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

TMMResult TVoiceWaveOutDevice::UnprepareHeader(THWaveOut h, TWaveHdr* hdr) {
  if (TMMResult r = BeforeCall(TWaveCall::Unprepare)) return r;
  if (!Find(h)) return MMSYSERR_INVALHANDLE;
  if (!hdr) return MMSYSERR_INVALPARAM;
  if (hdr->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  hdr->dwFlags &= ~WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

TMMResult TVoiceWaveOutDevice::Write(THWaveOut h, TWaveHdr* hdr) {
  if (TMMResult r = BeforeCall(TWaveCall::Write)) return r;
  TVoiceState* v = Find(h);
  if (!v) return MMSYSERR_INVALHANDLE;
  if (!hdr || (!hdr->lpData && hdr->dwBufferLength)) return MMSYSERR_INVALPARAM;
  if (!(hdr->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
  if (hdr->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  if (TMMResult r = SubmitBuffer(h, *hdr)) return r;
  hdr->dwFlags = (hdr->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
  v->Queued.push_back(hdr);
  return MMSYSERR_NOERROR;
}

void TVoiceWaveOutDevice::Done(THWaveOut h, TVoiceState& v, size_t count) {
  while (count-- > 0 && !v.Queued.empty()) {
    TWaveHdr* hdr = v.Queued.front();
    v.Queued.pop_front();
    hdr->dwFlags = (hdr->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    if (v.Notify) queue_.Post(v.Notify, TMessage{MM_WOM_DONE, h, reinterpret_cast<intptr_t>(hdr)});
  }
}

void TVoiceWaveOutDevice::Poll() {
  for (auto& [h, v] : voices_) Done(h, v, TakeFinished(h));
}

TMMResult TVoiceWaveOutDevice::Reset(THWaveOut h) {
  if (TMMResult r = BeforeCall(TWaveCall::Reset)) return r;
  TVoiceState* v = Find(h);
  if (!v) return MMSYSERR_INVALHANDLE;
  FlushVoice(h);
  Done(h, *v, v->Queued.size());
  return MMSYSERR_NOERROR;
}

TMMResult TVoiceWaveOutDevice::Pause(THWaveOut h) {
  if (TMMResult r = BeforeCall(TWaveCall::Pause)) return r;
  TVoiceState* v = Find(h);
  if (!v) return MMSYSERR_INVALHANDLE;
  v->Paused = true;
  PauseVoice(h, true);
  return MMSYSERR_NOERROR;
}

TMMResult TVoiceWaveOutDevice::Restart(THWaveOut h) {
  if (TMMResult r = BeforeCall(TWaveCall::Restart)) return r;
  TVoiceState* v = Find(h);
  if (!v) return MMSYSERR_INVALHANDLE;
  v->Paused = false;
  PauseVoice(h, false);
  return MMSYSERR_NOERROR;
}

TMMResult TVoiceWaveOutDevice::GetPosition(THWaveOut h, TMMTime& time) {
  if (TMMResult r = BeforeCall(TWaveCall::GetPosition)) return r;
  TVoiceState* v = Find(h);
  if (!v) return MMSYSERR_INVALHANDLE;
  const uint64_t bytes = PlayedBytes(h);
  const TWaveFormatEx& f = v->Format;
  const uint64_t samples = f.nBlockAlign ? bytes / f.nBlockAlign : 0;
  const uint64_t ms = f.nSamplesPerSec ? samples * 1000 / f.nSamplesPerSec : 0;
  time = TMMTime{};
  time.wType = PositionUnit(time.wType);
  switch (time.wType) {
    case TIME_MS: time.Value = static_cast<uint32_t>(ms); break;
    case TIME_SAMPLES: time.Value = static_cast<uint32_t>(samples); break;
    case TIME_SMPTE: {
      const uint64_t s = ms / 1000;
      time.smpte.hour = static_cast<uint8_t>(s / 3600);
      time.smpte.min = static_cast<uint8_t>(s / 60 % 60);
      time.smpte.sec = static_cast<uint8_t>(s % 60);
      time.smpte.fps = 30;
      time.smpte.frame = static_cast<uint8_t>(ms % 1000 * 30 / 1000);
      break;
    }
    case TIME_MIDI:
    case TIME_TICKS:
      time.Value = 0;  // no song position or ticks for wave output
      break;
    default:
      time.wType = TIME_BYTES;
      time.Value = static_cast<uint32_t>(bytes);
      break;
  }
  return MMSYSERR_NOERROR;
}

TMMResult TVoiceWaveOutDevice::GetVolume(THWaveOut h, uint32_t& volume) {
  if (TMMResult r = BeforeCall(TWaveCall::GetVolume)) return r;
  TVoiceState* v = Find(h);
  if (!v) return MMSYSERR_INVALHANDLE;
  if (!(Support() & WAVECAPS_VOLUME)) return MMSYSERR_NOTSUPPORTED;
  volume = v->Volume;
  return MMSYSERR_NOERROR;
}

TMMResult TVoiceWaveOutDevice::SetVolume(THWaveOut h, uint32_t volume) {
  if (TMMResult r = BeforeCall(TWaveCall::SetVolume)) return r;
  TVoiceState* v = Find(h);
  if (!v) return MMSYSERR_INVALHANDLE;
  const uint32_t support = Support();
  if (!(support & WAVECAPS_VOLUME)) return MMSYSERR_NOTSUPPORTED;
  // Without separate channels the low word speaks for both.
  if (!(support & WAVECAPS_LRVOLUME)) volume = (volume & 0xFFFF) | (volume << 16);
  v->Volume = volume;
  VoiceVolumeChanged(h, volume);
  return MMSYSERR_NOERROR;
}

TMMResult TVoiceWaveOutDevice::GetPitch(THWaveOut h, uint32_t& pitch) {
  if (TMMResult r = BeforeCall(TWaveCall::GetPitch)) return r;
  TVoiceState* v = Find(h);
  if (!v) return MMSYSERR_INVALHANDLE;
  if (!(Support() & WAVECAPS_PITCH)) return MMSYSERR_NOTSUPPORTED;
  pitch = v->Pitch;
  return MMSYSERR_NOERROR;
}

TMMResult TVoiceWaveOutDevice::SetPitch(THWaveOut h, uint32_t pitch) {
  if (TMMResult r = BeforeCall(TWaveCall::SetPitch)) return r;
  TVoiceState* v = Find(h);
  if (!v) return MMSYSERR_INVALHANDLE;
  if (!(Support() & WAVECAPS_PITCH)) return MMSYSERR_NOTSUPPORTED;
  v->Pitch = pitch;
  return MMSYSERR_NOERROR;
}

TMMResult TVoiceWaveOutDevice::GetPlaybackRate(THWaveOut h, uint32_t& rate) {
  if (TMMResult r = BeforeCall(TWaveCall::GetPlaybackRate)) return r;
  TVoiceState* v = Find(h);
  if (!v) return MMSYSERR_INVALHANDLE;
  if (!(Support() & WAVECAPS_PLAYBACKRATE)) return MMSYSERR_NOTSUPPORTED;
  rate = v->Rate;
  return MMSYSERR_NOERROR;
}

TMMResult TVoiceWaveOutDevice::SetPlaybackRate(THWaveOut h, uint32_t rate) {
  if (TMMResult r = BeforeCall(TWaveCall::SetPlaybackRate)) return r;
  TVoiceState* v = Find(h);
  if (!v) return MMSYSERR_INVALHANDLE;
  if (!(Support() & WAVECAPS_PLAYBACKRATE)) return MMSYSERR_NOTSUPPORTED;
  v->Rate = rate;
  return MMSYSERR_NOERROR;
}

TMMResult TVoiceWaveOutDevice::GetErrorText(TMMResult code, std::string& text) {
  switch (code) {
    case MMSYSERR_NOERROR: text = "The command completed successfully."; break;
    case MMSYSERR_ERROR: text = "The sound device reported an unspecified error."; break;
    case MMSYSERR_BADDEVICEID: text = "There is no sound output device with that number."; break;
    case MMSYSERR_NOTENABLED: text = "The sound driver could not be enabled."; break;
    case MMSYSERR_ALLOCATED: text = "The sound output device is busy."; break;
    case MMSYSERR_INVALHANDLE: text = "The sound output handle is not open."; break;
    case MMSYSERR_NODRIVER: text = "No sound output device is available."; break;
    case MMSYSERR_NOMEM: text = "There is not enough memory for the sound buffers."; break;
    case MMSYSERR_NOTSUPPORTED: text = "The sound output device does not support this function."; break;
    case MMSYSERR_INVALFLAG: text = "An invalid flag was passed to the sound output device."; break;
    case MMSYSERR_INVALPARAM: text = "An invalid parameter was passed to the sound output device."; break;
    case WAVERR_BADFORMAT: text = "The sound output device cannot play this wave format."; break;
    case WAVERR_STILLPLAYING: text = "The sound output device is still playing buffers."; break;
    case WAVERR_UNPREPARED: text = "The sound buffer has not been prepared."; break;
    default: text.clear(); return MMSYSERR_INVALPARAM;
  }
  return MMSYSERR_NOERROR;
}
