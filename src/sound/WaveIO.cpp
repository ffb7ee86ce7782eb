#include "sound/WaveIO.h"

#include <cstdlib>

TWaveAudioIO::TWaveAudioIO(TComponent* owner, TMessageQueue& queue) : TComponent(owner), queue_(queue) {
  window_ = queue_.Register(this);
}

TWaveAudioIO::~TWaveAudioIO() {
  BeginDestroy();
  // Whatever the device still has to say to us is dropped with the target.
  queue_.Unregister(window_);
  for (TWaveHdr* record : HeaderList) {
    if (record->dwUser == reinterpret_cast<uintptr_t>(this)) std::free(record->lpData);
    delete record;
  }
  HeaderList.clear();
}

void TWaveAudioIO::SetBufferLength(uint16_t ms) {
  bufferLength_ = ms < MinBufferLength ? MinBufferLength : ms;
  if (IsActive()) QueueBuffers();
}

void TWaveAudioIO::SetBufferCount(uint16_t count) {
  bufferCount_ = count < 1 ? 1 : count;
  if (IsActive()) QueueBuffers();
}

void TWaveAudioIO::SetActive(bool active) {
  if (active == IsActive()) return;
  if (active)
    Open();
  else
    Close();
}

bool TWaveAudioIO::IsPcmFormatSupported(TPCMFormat code) {
  TWaveFormatEx format;
  return SetPCMAudioFormat(format, code) && IsFormatSupported(format);
}

void TWaveAudioIO::WindowProc(TMessage& message) {
  // Nothing here may touch the component after a handler returns: the end of
  // playback may have destroyed it.
  try {
    switch (message.Msg) {
      case MM_WOM_OPEN: HandleOutOpen(); break;
      case MM_WOM_CLOSE: HandleOutClose(); break;
      case MM_WOM_DONE: HandleOutDone(reinterpret_cast<TWaveHdr*>(message.LParam)); break;
      case MM_WIM_OPEN: HandleInOpen(); break;
      case MM_WIM_CLOSE: HandleInClose(); break;
      case MM_WIM_DATA: HandleInData(reinterpret_cast<TWaveHdr*>(message.LParam)); break;
      default: break;
    }
  } catch (const std::exception& e) {
    if (Application) Application->ShowException(e);
  } catch (...) {
    if (Application) Application->ShowError("Unknown sound error");
  }
}

bool TWaveAudioIO::CheckResult(TMMResult result) {
  lastError_ = static_cast<int32_t>(result);
  if (result == MMSYSERR_NOERROR) return true;
  DoError();
  return false;
}

void TWaveAudioIO::DoActivate() {
  if (OnActivate) OnActivate(this);
}

void TWaveAudioIO::DoDeactivate() {
  DoLevel(nullptr, 0);
  closing_ = false;
  if (OnDeactivate && !Destroying()) OnDeactivate(this);
}

void TWaveAudioIO::DoPause() {
  if (OnPause) OnPause(this);
}

void TWaveAudioIO::DoResume() {
  if (OnResume) OnResume(this);
}

void TWaveAudioIO::DoError() {
  if (OnError) {
    OnError(this);
    return;
  }
  std::string text = ErrorText(static_cast<TMMResult>(lastError_));
  if (text.empty()) text = "Sound device error " + std::to_string(lastError_);
  throw EWaveAudioSysError(text);
}

void TWaveAudioIO::DoLevel(const uint8_t* data, uint32_t count) {
  if (!OnLevel || Destroying() || format_.wFormatTag != WAVE_FORMAT_PCM) return;
  OnLevel(this, GetWaveAudioPeakLevel(data, count, format_.wBitsPerSample));
}

void TWaveAudioIO::DoFilter(uint8_t* data, uint32_t count) {
  if (OnFilter && !Destroying()) OnFilter(this, data, count);
}

void TWaveAudioIO::DisposeRecord(TWaveHdr* record) {
  for (auto it = HeaderList.begin(); it != HeaderList.end(); ++it) {
    if (*it == record) {
      HeaderList.erase(it);
      break;
    }
  }
  if (record->dwUser == reinterpret_cast<uintptr_t>(this)) std::free(record->lpData);
  delete record;
}
