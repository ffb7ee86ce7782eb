#include "platform/sdl/SdlAudio.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <map>
#include <numeric>
#include <vector>

namespace {

constexpr int MixRate = 44100;
constexpr int MixChannels = 2;
// About 12 ms at 44100 Hz: short enough that a key tick follows the key.
constexpr Uint16 MixSamples = 512;

// Sums above this level are bent smoothly towards full scale instead of
// being cut off, so a burst of identical sounds started together (a bomb over
// twenty words) saturates softly rather than crackling.
constexpr float LimiterKnee = 0.75f;

// Frames of real audio the resampler needs on each side of what it outputs
// (its filter reaches a few frames; this is ample).
constexpr uint32_t ContextFrames = 32;

// Largest converted buffer: far above any sound the game plays.
constexpr uint64_t MaxConvertBytes = 256u << 20;

float SoftLimit(float x) {
  const float a = std::fabs(x);
  if (a <= LimiterKnee) return x;
  const float room = 1.0f - LimiterKnee;
  const float y = LimiterKnee + room * std::tanh((a - LimiterKnee) / room);
  return x < 0 ? -y : y;
}

class TSdlWaveOutDevice final : public TVoiceWaveOutDevice {
 public:
  explicit TSdlWaveOutDevice(TMessageQueue& queue) : TVoiceWaveOutDevice(queue) {}
  ~TSdlWaveOutDevice() override;

  uint32_t GetNumDevs() override { return EnsureDevice() ? 1 : 0; }
  void SetMuted(bool muted) override;
  TMMResult GetDevCaps(int32_t deviceId, TWaveOutCaps& caps) override;

 protected:
  uint32_t Support() override { return WAVECAPS_VOLUME | WAVECAPS_LRVOLUME | WAVECAPS_SAMPLEACCURATE; }
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
  // A voice as the mixer sees it.
  struct TChunk {
    std::vector<int16_t> Samples;  // interleaved stereo at MixRate
    size_t Pos = 0;
  };
  struct TVoice {
    TWaveFormatEx Format;
    std::deque<TChunk> Chunks;
    size_t Finished = 0;
    uint64_t FramesPlayed = 0;
    bool Paused = false;
    float GainLeft = 1.0f;
    float GainRight = 1.0f;
  };

  // Game thread only: how a voice's buffers are converted, and the end of
  // the last one, which the next one is joined to.
  struct TConverter {
    TWaveFormatEx Format;
    std::vector<uint8_t> Carry;  // the last frames of the previous buffers
    size_t CarryFrames = 0;
    size_t HeldFrames = 0;  // of those, the ones not yet output
  };
  TMMResult Convert(TConverter& c, const uint8_t* data, uint32_t length, std::vector<int16_t>& out);

  bool EnsureDevice();
  static void SDLCALL Callback(void* self, Uint8* stream, int len);
  void Mix(int16_t* out, int frames);
  TVoice* Voice(THWaveOut h) {
    auto it = voices_.find(h);
    return it == voices_.end() ? nullptr : it->second.get();
  }

  class TLock {
   public:
    explicit TLock(SDL_AudioDeviceID dev) : dev_(dev) { SDL_LockAudioDevice(dev_); }
    ~TLock() { SDL_UnlockAudioDevice(dev_); }

   private:
    SDL_AudioDeviceID dev_;
  };

  bool tried_ = false;
  SDL_AudioDeviceID dev_ = 0;
  std::map<THWaveOut, TConverter> converters_;
  std::vector<float> mix_;  // audio thread only
  // Shared with the audio thread: touched only with the device locked.
  std::map<THWaveOut, std::unique_ptr<TVoice>> voices_;
  bool mixMuted_ = false;
};

TSdlWaveOutDevice::~TSdlWaveOutDevice() {
  if (dev_) {
    SDL_CloseAudioDevice(dev_);  // waits for a running callback
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
}

bool TSdlWaveOutDevice::EnsureDevice() {
  if (tried_) return dev_ != 0;
  tried_ = true;  // a missing device stays missing: no retry per sound
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    SDL_Log("No sound: %s", SDL_GetError());
    return false;
  }
  SDL_AudioSpec want{};
  want.freq = MixRate;
  want.format = AUDIO_S16SYS;
  want.channels = MixChannels;
  want.samples = MixSamples;
  want.callback = &TSdlWaveOutDevice::Callback;
  want.userdata = this;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts to whatever the hardware wants.
  dev_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (!dev_) {
    SDL_Log("No sound: %s", SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(dev_, 0);
  return true;
}

void TSdlWaveOutDevice::SetMuted(bool muted) {
  TVoiceWaveOutDevice::SetMuted(muted);
  if (!dev_) {
    mixMuted_ = muted;  // no audio thread yet
    return;
  }
  TLock lock(dev_);
  mixMuted_ = muted;
}

TMMResult TSdlWaveOutDevice::GetDevCaps(int32_t deviceId, TWaveOutCaps& caps) {
  if (!EnsureDevice()) return MMSYSERR_NODRIVER;
  if (deviceId != WAVE_MAPPER && deviceId != 0) return MMSYSERR_BADDEVICEID;
  caps = TWaveOutCaps{};
  const char* driver = SDL_GetCurrentAudioDriver();
  caps.szPname = std::string("SDL ") + (driver ? driver : "audio");
  if (caps.szPname.size() > 31) caps.szPname.resize(31);
  caps.vDriverVersion = 0x0200;
  caps.dwFormats = WAVE_FORMATS_STANDARD;
  caps.wChannels = MixChannels;
  caps.dwSupport = Support();
  return MMSYSERR_NOERROR;
}

TMMResult TSdlWaveOutDevice::StartVoice(THWaveOut h, const TWaveFormatEx& format) {
  if (!EnsureDevice()) return MMSYSERR_NODRIVER;
  auto v = std::make_unique<TVoice>();
  v->Format = format;
  converters_[h] = TConverter{format, {}, 0, 0};
  TLock lock(dev_);
  voices_[h] = std::move(v);
  return MMSYSERR_NOERROR;
}

void TSdlWaveOutDevice::StopVoice(THWaveOut h) {
  converters_.erase(h);
  std::unique_ptr<TVoice> gone;
  TLock lock(dev_);
  auto it = voices_.find(h);
  if (it == voices_.end()) return;
  gone = std::move(it->second);  // freed after the lock is released
  voices_.erase(it);
}

TMMResult TSdlWaveOutDevice::SubmitBuffer(THWaveOut h, const TWaveHdr& hdr) {
  auto it = converters_.find(h);
  if (it == converters_.end()) return MMSYSERR_INVALHANDLE;
  // Converted outside the lock, so the audio thread never waits for it.
  TChunk chunk;
  if (TMMResult r = Convert(it->second, hdr.lpData, hdr.dwBufferLength, chunk.Samples)) return r;
  TLock lock(dev_);
  TVoice* v = Voice(h);
  if (!v) return MMSYSERR_INVALHANDLE;
  v->Chunks.push_back(std::move(chunk));
  return MMSYSERR_NOERROR;
}

// Each buffer is converted whole with SDL_AudioCVT, which keeps every frame
// (a streaming converter holds back the resampler's tail of each buffer).
// To join buffers without a click the resampler must see real audio on both
// sides of what it outputs: the last frames of a buffer are held back and
// output with the next one, after real context. At the very end of a sound
// the held frames (a millisecond or two of its fade-out) go unheard.
TMMResult TSdlWaveOutDevice::Convert(TConverter& c, const uint8_t* data, uint32_t length, std::vector<int16_t>& out) {
  const TWaveFormatEx& f = c.Format;
  const size_t align = f.nBlockAlign;
  const uint32_t rate = f.nSamplesPerSec;
  const size_t frames = length / align;  // a ragged tail is not a sample
  out.clear();
  if (frames == 0) return MMSYSERR_NOERROR;
  // Whole steps of the rate ratio keep the kept output on the sample grid.
  const uint32_t step = rate / std::gcd(rate, static_cast<uint32_t>(MixRate));
  const size_t margin = (ContextFrames + step - 1) / step * step;

  std::vector<uint8_t> input(c.Carry);
  input.insert(input.end(), data, data + frames * align);
  const size_t total = input.size() / align;
  const size_t from = c.CarryFrames - c.HeldFrames;  // first frame not yet output
  const size_t to = std::max(from, total > margin ? total - margin : 0);

  if (to > from) {
    SDL_AudioCVT cvt;
    const int needed =
        SDL_BuildAudioCVT(&cvt, f.wBitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB, static_cast<Uint8>(f.nChannels),
                          static_cast<int>(rate), AUDIO_S16SYS, MixChannels, MixRate);
    if (needed < 0) return WAVERR_BADFORMAT;
    const uint64_t room = static_cast<uint64_t>(input.size()) * static_cast<uint64_t>(std::max(1, cvt.len_mult));
    if (room > MaxConvertBytes) return MMSYSERR_NOMEM;
    std::vector<int16_t> converted(static_cast<size_t>(room / sizeof(int16_t) + 1));
    std::memcpy(converted.data(), input.data(), input.size());
    size_t bytes = input.size();
    if (needed > 0) {
      cvt.buf = reinterpret_cast<Uint8*>(converted.data());
      cvt.len = static_cast<int>(input.size());
      if (SDL_ConvertAudio(&cvt) != 0) return MMSYSERR_NOMEM;
      bytes = static_cast<size_t>(cvt.len_cvt);
    }
    const size_t available = bytes / sizeof(int16_t) / MixChannels;
    const size_t first = std::min<size_t>(available, static_cast<uint64_t>(from) * MixRate / rate);
    const size_t last = std::min<size_t>(available, static_cast<uint64_t>(to) * MixRate / rate);
    out.assign(converted.begin() + static_cast<ptrdiff_t>(first * MixChannels),
               converted.begin() + static_cast<ptrdiff_t>(last * MixChannels));
  }
  // Keep the held frames and real context before them for the next buffer.
  const size_t keepFrom = to > margin ? to - margin : 0;
  c.Carry.assign(input.begin() + static_cast<ptrdiff_t>(keepFrom * align), input.end());
  c.CarryFrames = total - keepFrom;
  c.HeldFrames = total - to;
  return MMSYSERR_NOERROR;
}

size_t TSdlWaveOutDevice::TakeFinished(THWaveOut h) {
  std::vector<TChunk> gone;  // freed after the lock is released
  TLock lock(dev_);
  TVoice* v = Voice(h);
  if (!v) return 0;
  const size_t n = v->Finished;
  for (size_t i = 0; i < n; ++i) {
    gone.push_back(std::move(v->Chunks.front()));
    v->Chunks.pop_front();
  }
  v->Finished = 0;
  return n;
}

void TSdlWaveOutDevice::FlushVoice(THWaveOut h) {
  auto c = converters_.find(h);
  if (c != converters_.end()) c->second = TConverter{c->second.Format, {}, 0, 0};  // what follows starts afresh
  std::deque<TChunk> gone;
  TLock lock(dev_);
  TVoice* v = Voice(h);
  if (!v) return;
  gone.swap(v->Chunks);
  v->Finished = 0;
  v->FramesPlayed = 0;
}

void TSdlWaveOutDevice::PauseVoice(THWaveOut h, bool paused) {
  TLock lock(dev_);
  if (TVoice* v = Voice(h)) v->Paused = paused;
}

void TSdlWaveOutDevice::VoiceVolumeChanged(THWaveOut h, uint32_t volume) {
  TLock lock(dev_);
  if (TVoice* v = Voice(h)) {
    v->GainLeft = static_cast<float>(volume & 0xFFFF) / 65535.0f;
    v->GainRight = static_cast<float>(volume >> 16) / 65535.0f;
  }
}

uint64_t TSdlWaveOutDevice::PlayedBytes(THWaveOut h) {
  TLock lock(dev_);
  TVoice* v = Voice(h);
  if (!v) return 0;
  const uint64_t frames = v->FramesPlayed * v->Format.nSamplesPerSec / MixRate;
  return frames * v->Format.nBlockAlign;
}

uint32_t TSdlWaveOutDevice::PositionUnit(uint32_t requested) {
  return requested == TIME_BYTES ? TIME_BYTES : TIME_SAMPLES;
}

void SDLCALL TSdlWaveOutDevice::Callback(void* self, Uint8* stream, int len) {
  static_cast<TSdlWaveOutDevice*>(self)->Mix(reinterpret_cast<int16_t*>(stream),
                                             len / static_cast<int>(sizeof(int16_t) * MixChannels));
}

void TSdlWaveOutDevice::Mix(int16_t* out, int frames) {
  const size_t samples = static_cast<size_t>(frames) * MixChannels;
  mix_.assign(samples, 0.0f);
  for (auto& [h, vp] : voices_) {
    TVoice& v = *vp;
    if (v.Paused) continue;
    size_t at = 0;
    // Finished chunks stay at the front until the game thread takes them, so
    // this thread never frees memory.
    while (v.Finished < v.Chunks.size()) {
      TChunk& c = v.Chunks[v.Finished];
      const size_t take = std::min(samples - at, c.Samples.size() - c.Pos);
      for (size_t i = 0; i < take; i += MixChannels) {
        mix_[at + i] += c.Samples[c.Pos + i] * v.GainLeft;
        mix_[at + i + 1] += c.Samples[c.Pos + i + 1] * v.GainRight;
      }
      c.Pos += take;
      at += take;
      v.FramesPlayed += take / MixChannels;
      if (c.Pos < c.Samples.size()) break;  // the callback's buffer is full
      ++v.Finished;
    }
  }
  // Muted: the voices play on in silence, so every sound still ends on time.
  if (mixMuted_) {
    std::fill(out, out + samples, int16_t{0});
    return;
  }
  for (size_t i = 0; i < samples; ++i) {
    const float y = SoftLimit(mix_[i] / 32768.0f);
    out[i] = static_cast<int16_t>(std::lround(std::clamp(y * 32767.0f, -32768.0f, 32767.0f)));
  }
}

}  // namespace

std::unique_ptr<TWaveOutDevice> CreateSdlWaveOutDevice(TMessageQueue& queue) {
  return std::make_unique<TSdlWaveOutDevice>(queue);
}
