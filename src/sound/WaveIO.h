// WaveIO: the device-independent part of a wave-audio component: buffer
// records, events, error handling and the notification target through which
// the device's notifications arrive (only while messages are pumped).
#pragma once
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Messages.h"
#include "platform/WaveDevice.h"
#include "sound/WaveUtils.h"

class EWaveAudioError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A device call failed; the message is the device's text for the code.
class EWaveAudioSysError : public EWaveAudioError {
 public:
  using EWaveAudioError::EWaveAudioError;
};

class EWaveAudioInvalidOperation : public EWaveAudioError {
 public:
  using EWaveAudioError::EWaveAudioError;
};

class TWaveAudioIO;
using TWaveAudioEvent = std::function<void(TWaveAudioIO* sender)>;
using TWaveAudioLevelEvent = std::function<void(TWaveAudioIO* sender, int level)>;
using TWaveAudioFilterEvent = std::function<void(TWaveAudioIO* sender, uint8_t* data, uint32_t count)>;

class TWaveAudioIO : public TComponent, public TMessageTarget {
 public:
  static constexpr uint16_t DefaultBufferLength = 1000;  // ms
  static constexpr uint16_t MinBufferLength = 10;
  static constexpr uint16_t DefaultBufferCount = 2;

  TWaveAudioIO(TComponent* owner, TMessageQueue& queue);
  ~TWaveAudioIO() override;

  int32_t DeviceNumber() const { return deviceNumber_; }
  void SetDeviceNumber(int32_t device) { deviceNumber_ = device; }
  int32_t LastError() const { return lastError_; }
  uint16_t BufferLength() const { return bufferLength_; }
  // At least MinBufferLength; when active the queue is topped up at once.
  void SetBufferLength(uint16_t ms);
  uint16_t BufferCount() const { return bufferCount_; }
  // At least one: a component without buffers could never finish.
  void SetBufferCount(uint16_t count);
  bool Closing() const { return closing_; }
  THandle NotifyHandle() const { return window_; }
  const TWaveFormatEx& Format() const { return format_; }
  size_t HeaderCount() const { return HeaderList.size(); }

  bool Active() { return IsActive(); }
  void SetActive(bool active);

  TWaveAudioEvent OnActivate, OnDeactivate, OnPause, OnResume, OnError;
  TWaveAudioLevelEvent OnLevel;
  TWaveAudioFilterEvent OnFilter;

  // Dispatches the device's notifications to the handlers below. An error
  // raised by a handler goes to the application's error report.
  void WindowProc(TMessage& message) override;

  virtual uint32_t DeviceCount() = 0;
  virtual bool IsActive() = 0;
  virtual bool IsPaused() = 0;
  virtual std::string DeviceName() = 0;
  virtual TPCMFormats DeviceFormats() = 0;
  virtual uint32_t Position() = 0;  // ms
  virtual std::string ErrorText(TMMResult code) = 0;
  virtual TMMResult CheckDevice() = 0;
  virtual bool Open() = 0;
  virtual bool Close() = 0;
  virtual bool Pause() = 0;
  virtual bool Resume() = 0;
  virtual bool IsFormatSupported(const TWaveFormatEx& format) = 0;
  bool IsPcmFormatSupported(TPCMFormat code);

 protected:
  virtual void HandleInOpen() {}
  virtual void HandleInClose() {}
  virtual void HandleInData(TWaveHdr*) {}
  virtual void HandleOutOpen() {}
  virtual void HandleOutClose() {}
  virtual void HandleOutDone(TWaveHdr*) {}
  // The format to play, from the data source.
  virtual bool GetWaveFormat(std::vector<uint8_t>& format) = 0;
  virtual void QueueBuffers() = 0;

  virtual void DoActivate();
  virtual void DoDeactivate();
  virtual void DoPause();
  virtual void DoResume();
  // OnError when set, otherwise raises EWaveAudioSysError with ErrorText.
  virtual void DoError();
  virtual void DoLevel(const uint8_t* data, uint32_t count);
  virtual void DoFilter(uint8_t* data, uint32_t count);

  // Stores the code in LastError; 0 is success, anything else goes to
  // DoError and yields false.
  bool CheckResult(TMMResult result);

  void SetClosing(bool closing) { closing_ = closing; }
  // Frees a record and, when the component owns it, its block.
  void DisposeRecord(TWaveHdr* record);

  TMessageQueue& queue_;
  TWaveFormatEx format_;  // PCM part of what is playing
  // Allocated buffer records, in allocation order.
  std::vector<TWaveHdr*> HeaderList;

 private:
  int32_t deviceNumber_ = WAVE_MAPPER;
  int32_t lastError_ = 0;
  uint16_t bufferLength_ = DefaultBufferLength;
  uint16_t bufferCount_ = DefaultBufferCount;
  bool closing_ = false;
  THandle window_ = 0;
};
