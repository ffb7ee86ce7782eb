#include "platform/web/WebAudio.h"

#include <algorithm>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

// The page's side: Module.glyphfallAudio (see the page's script) owns the
// AudioContext and plays what it is handed while the context runs.
EM_JS(void, web_audio_play,
      (int voice, const uint8_t* data, int bytes, int channels, int bits, int rate, double delayMs, double gainLeft,
       double gainRight),
      { Module.glyphfallAudio.play(voice, HEAPU8.subarray(data, data + bytes), channels, bits, rate, delayMs, gainLeft,
                                   gainRight); });
EM_JS(void, web_audio_stop, (int voice), { Module.glyphfallAudio.stop(voice); });
EM_JS(void, web_audio_mute, (int muted), { Module.glyphfallAudio.mute(!!muted); });
#else
// On the desktop (the device's tests) the timeline runs without sound.
void web_audio_play(int, const uint8_t*, int, int, int, int, double, double, double) {}
void web_audio_stop(int) {}
void web_audio_mute(int) {}
#endif

TWebWaveOutDevice::TWebWaveOutDevice(TMessageQueue& queue, std::function<uint32_t()> clock)
    : TVoiceWaveOutDevice(queue), clock_(std::move(clock)) {}

TWebWaveOutDevice::~TWebWaveOutDevice() {
  for (auto& [h, v] : voices_) web_audio_stop(static_cast<int>(h));
}

TWebWaveOutDevice::TVoice* TWebWaveOutDevice::Find(THWaveOut h) {
  auto it = voices_.find(h);
  return it == voices_.end() ? nullptr : &it->second;
}

TMMResult TWebWaveOutDevice::GetDevCaps(int32_t deviceId, TWaveOutCaps& caps) {
  if (deviceId != WAVE_MAPPER && deviceId != 0) return MMSYSERR_BADDEVICEID;
  caps = TWaveOutCaps{};
  caps.szPname = "Web Audio";
  caps.vDriverVersion = 0x0100;
  caps.dwFormats = WAVE_FORMATS_STANDARD;
  caps.wChannels = 2;
  caps.dwSupport = Support();
  return MMSYSERR_NOERROR;
}

void TWebWaveOutDevice::SetMuted(bool muted) {
  TVoiceWaveOutDevice::SetMuted(muted);
  web_audio_mute(muted ? 1 : 0);
}

TMMResult TWebWaveOutDevice::StartVoice(THWaveOut h, const TWaveFormatEx& format) {
  voices_[h] = TVoice{format, {}, 0, false, 0, 1.0f, 1.0f};
  return MMSYSERR_NOERROR;
}

void TWebWaveOutDevice::StopVoice(THWaveOut h) {
  web_audio_stop(static_cast<int>(h));
  voices_.erase(h);
}

void TWebWaveOutDevice::Play(THWaveOut h, const TVoice& v, const TBuffer& b) {
  if (v.Paused) return;
  web_audio_play(static_cast<int>(h), b.Data.data(), static_cast<int>(b.Data.size()), v.Format.nChannels,
                 v.Format.wBitsPerSample, static_cast<int>(v.Format.nSamplesPerSec), std::max(0.0, b.Start - Now()),
                 v.GainLeft, v.GainRight);
}

TMMResult TWebWaveOutDevice::SubmitBuffer(THWaveOut h, const TWaveHdr& hdr) {
  TVoice* v = Find(h);
  if (!v) return MMSYSERR_INVALHANDLE;
  TBuffer b;
  b.Data.assign(hdr.lpData, hdr.lpData + hdr.dwBufferLength);
  // Whole frames only: a torn last frame would not play anywhere.
  b.Data.resize(b.Data.size() - b.Data.size() % std::max<uint16_t>(1, v->Format.nBlockAlign));
  b.Length = 1000.0 * static_cast<double>(b.Data.size()) / std::max<uint32_t>(1, v->Format.nAvgBytesPerSec);
  const double now = v->Paused ? v->PausedAt : Now();
  b.Start = v->Queued.empty() ? now : std::max(now, v->Queued.back().Start + v->Queued.back().Length);
  v->Queued.push_back(std::move(b));
  Play(h, *v, v->Queued.back());
  return MMSYSERR_NOERROR;
}

size_t TWebWaveOutDevice::TakeFinished(THWaveOut h) {
  TVoice* v = Find(h);
  if (!v || v->Paused) return 0;
  size_t done = 0;
  const double now = Now();
  while (!v->Queued.empty() && v->Queued.front().Start + v->Queued.front().Length <= now) {
    v->BytesDone += v->Queued.front().Data.size();
    v->Queued.pop_front();
    ++done;
  }
  return done;
}

void TWebWaveOutDevice::FlushVoice(THWaveOut h) {
  TVoice* v = Find(h);
  if (!v) return;
  web_audio_stop(static_cast<int>(h));
  v->Queued.clear();
  v->BytesDone = 0;
}

void TWebWaveOutDevice::PauseVoice(THWaveOut h, bool paused) {
  TVoice* v = Find(h);
  if (!v || v->Paused == paused) return;
  if (paused) {
    v->Paused = true;
    v->PausedAt = Now();
    web_audio_stop(static_cast<int>(h));
    return;
  }
  // The timeline resumes where it stopped: what was playing starts again
  // from its beginning, everything after it follows.
  v->Paused = false;
  const double shift = Now() - v->PausedAt;
  for (TBuffer& b : v->Queued) b.Start += shift;
  if (!v->Queued.empty() && v->Queued.front().Start < Now()) {
    const double back = Now() - v->Queued.front().Start;
    for (TBuffer& b : v->Queued) b.Start += back;
  }
  for (const TBuffer& b : v->Queued) Play(h, *v, b);
}

void TWebWaveOutDevice::VoiceVolumeChanged(THWaveOut h, uint32_t volume) {
  TVoice* v = Find(h);
  if (!v) return;
  v->GainLeft = static_cast<float>(volume & 0xFFFF) / 0xFFFF;
  v->GainRight = static_cast<float>(volume >> 16) / 0xFFFF;
}

uint64_t TWebWaveOutDevice::PlayedBytes(THWaveOut h) {
  TVoice* v = Find(h);
  if (!v) return 0;
  uint64_t bytes = v->BytesDone;
  if (!v->Queued.empty()) {
    const TBuffer& b = v->Queued.front();
    const double at = (v->Paused ? v->PausedAt : Now()) - b.Start;
    if (at > 0 && b.Length > 0) {
      const uint32_t align = std::max<uint16_t>(1, v->Format.nBlockAlign);
      const auto part = static_cast<uint64_t>(std::min(at / b.Length, 1.0) * static_cast<double>(b.Data.size()));
      bytes += part - part % align;
    }
  }
  return bytes;
}

uint32_t TWebWaveOutDevice::PositionUnit(uint32_t requested) {
  return requested == TIME_BYTES ? TIME_BYTES : TIME_SAMPLES;
}
