#include "platform/headless/SimWaveDevice.h"

TSimWaveOutDevice::TSimWaveOutDevice(TMessageQueue& queue, std::function<uint32_t()> clock)
    : TVoiceWaveOutDevice(queue), clock_(std::move(clock)) {}

std::unique_ptr<TSimWaveOutDevice> CreateSimWaveOutDevice(TMessageQueue& queue, std::function<uint32_t()> clock) {
  return std::make_unique<TSimWaveOutDevice>(queue, std::move(clock));
}

void TSimWaveOutDevice::FailCall(TWaveCall call, TMMResult code, int skip, int times) {
  failures_[call] = TFailure{code, skip, times};
}

void TSimWaveOutDevice::ClearFailures() { failures_.clear(); }

TMMResult TSimWaveOutDevice::BeforeCall(TWaveCall call) {
  ++calls_[static_cast<size_t>(call)];
  auto it = failures_.find(call);
  if (it == failures_.end()) return MMSYSERR_NOERROR;
  TFailure& f = it->second;
  if (f.Skip > 0) {
    --f.Skip;
    return MMSYSERR_NOERROR;
  }
  TMMResult code = f.Code;
  if (f.Times > 0 && --f.Times == 0) failures_.erase(it);
  return code;
}

uint32_t TSimWaveOutDevice::GetNumDevs() {
  ++calls_[static_cast<size_t>(TWaveCall::GetNumDevs)];
  return deviceCount_;
}

TMMResult TSimWaveOutDevice::GetDevCaps(int32_t deviceId, TWaveOutCaps& caps) {
  if (TMMResult r = BeforeCall(TWaveCall::GetDevCaps)) return r;
  if (deviceCount_ == 0) return MMSYSERR_NODRIVER;
  if (deviceId != WAVE_MAPPER && (deviceId < 0 || static_cast<uint32_t>(deviceId) >= deviceCount_))
    return MMSYSERR_BADDEVICEID;
  caps = TWaveOutCaps{};
  caps.szPname = "Simulated wave output";
  caps.vDriverVersion = 0x0100;
  caps.dwFormats = formats_;
  caps.wChannels = 2;
  caps.dwSupport = support_;
  return MMSYSERR_NOERROR;
}

TMMResult TSimWaveOutDevice::StartVoice(THWaveOut h, const TWaveFormatEx& format) {
  TSimVoice& v = voices_[h];
  v = TSimVoice{};
  v.BytesPerSec = format.nAvgBytesPerSec;
  v.LastTick = clock_();
  opened_.push_back(format);
  if (opened_.size() > RecordLimit) opened_.pop_front();
  return MMSYSERR_NOERROR;
}

void TSimWaveOutDevice::StopVoice(THWaveOut h) { voices_.erase(h); }

TMMResult TSimWaveOutDevice::SubmitBuffer(THWaveOut h, const TWaveHdr& hdr) {
  auto it = voices_.find(h);
  if (it == voices_.end()) return MMSYSERR_INVALHANDLE;
  TSimVoice& v = it->second;
  // An idle voice starts playing now, not when it last ran dry.
  if (v.Pending.empty()) {
    v.LastTick = clock_();
    v.Remainder = 0;
  }
  v.Pending.push_back(hdr.dwBufferLength);
  writes_.push_back(TWrite{h, std::vector<uint8_t>(hdr.lpData, hdr.lpData + hdr.dwBufferLength)});
  if (writes_.size() > RecordLimit) writes_.pop_front();
  ++writeCount_;
  return MMSYSERR_NOERROR;
}

void TSimWaveOutDevice::Advance(TSimVoice& v) {
  const uint32_t now = clock_();
  const uint32_t elapsed = now - v.LastTick;
  v.LastTick = now;
  if (v.Paused || v.Pending.empty()) {
    v.Remainder = 0;
    return;
  }
  // Byte time in units of 1/1000 byte, so no fraction is lost between polls.
  const uint64_t total = static_cast<uint64_t>(elapsed) * v.BytesPerSec + v.Remainder;
  uint64_t bytes = total / 1000;
  v.Remainder = total % 1000;
  while (!v.Pending.empty()) {
    const uint64_t left = v.Pending.front() - v.IntoFront;
    if (bytes < left) {
      v.IntoFront += bytes;
      v.Played += bytes;
      return;
    }
    bytes -= left;
    v.Played += left;
    v.IntoFront = 0;
    v.Pending.pop_front();
  }
  v.Remainder = 0;  // ran dry: the rest of the time was silence
}

size_t TSimWaveOutDevice::TakeFinished(THWaveOut h) {
  auto it = voices_.find(h);
  if (it == voices_.end()) return 0;
  TSimVoice& v = it->second;
  const size_t before = v.Pending.size();
  Advance(v);
  return before - v.Pending.size();
}

void TSimWaveOutDevice::FlushVoice(THWaveOut h) {
  auto it = voices_.find(h);
  if (it == voices_.end()) return;
  TSimVoice& v = it->second;
  v.Pending.clear();
  v.IntoFront = 0;
  v.Played = 0;
  v.Remainder = 0;
}

void TSimWaveOutDevice::PauseVoice(THWaveOut h, bool paused) {
  auto it = voices_.find(h);
  if (it == voices_.end()) return;
  Advance(it->second);  // time until now still counts at the old state
  it->second.Paused = paused;
}

uint64_t TSimWaveOutDevice::PlayedBytes(THWaveOut h) {
  auto it = voices_.find(h);
  return it == voices_.end() ? 0 : it->second.Played;
}

uint32_t TSimWaveOutDevice::PositionUnit(uint32_t requested) {
  return positionUnit_ ? positionUnit_ : TVoiceWaveOutDevice::PositionUnit(requested);
}

TMMResult TSimWaveOutDevice::SetVolume(THWaveOut h, uint32_t volume) {
  TMMResult r = TVoiceWaveOutDevice::SetVolume(h, volume);
  if (r == MMSYSERR_NOERROR) volumes_[h] = volume;
  return r;
}

TMMResult TSimWaveOutDevice::SetPitch(THWaveOut h, uint32_t pitch) {
  TMMResult r = TVoiceWaveOutDevice::SetPitch(h, pitch);
  if (r == MMSYSERR_NOERROR) pitches_[h] = pitch;
  return r;
}

TMMResult TSimWaveOutDevice::SetPlaybackRate(THWaveOut h, uint32_t rate) {
  TMMResult r = TVoiceWaveOutDevice::SetPlaybackRate(h, rate);
  if (r == MMSYSERR_NOERROR) rates_[h] = rate;
  return r;
}

namespace {
bool Lookup(const std::map<THWaveOut, uint32_t>& m, THWaveOut h, uint32_t& out) {
  auto it = m.find(h);
  if (it == m.end()) return false;
  out = it->second;
  return true;
}
}  // namespace

bool TSimWaveOutDevice::VolumeSet(THWaveOut h, uint32_t& volume) const { return Lookup(volumes_, h, volume); }
bool TSimWaveOutDevice::PitchSet(THWaveOut h, uint32_t& pitch) const { return Lookup(pitches_, h, pitch); }
bool TSimWaveOutDevice::RateSet(THWaveOut h, uint32_t& rate) const { return Lookup(rates_, h, rate); }

size_t TSimWaveOutDevice::QueuedBuffers(THWaveOut h) const {
  auto it = voices_.find(h);
  return it == voices_.end() ? 0 : it->second.Pending.size();
}

size_t TSimWaveOutDevice::QueuedBuffers() const {
  size_t n = 0;
  for (auto& [h, v] : voices_) n += v.Pending.size();
  return n;
}
