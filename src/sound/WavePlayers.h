// WavePlayers: TStockAudioPlayer, which plays a RIFF WAVE stream (normally a
// file) through the wave output engine. It owns the stream for the time of
// the playback when asked to.
#pragma once
#include <memory>
#include <string>

#include "sound/WaveOut.h"
#include "sound/WaveStorage.h"
#include "sound/WaveUtils.h"

class TStockAudioPlayer : public TWaveAudioOut {
 public:
  explicit TStockAudioPlayer(TComponent* owner);
  TStockAudioPlayer(TComponent* owner, TWaveOutDevice& device, TMessageQueue& queue);
  ~TStockAudioPlayer() override;

  // Opens the file for reading and plays it; any error on the way, up to
  // opening the device, gives false. "\" in the path is a folder separator.
  bool PlayFile(const std::string& path);
  // True when playback has started. With ownsStream the player deletes the
  // stream when done with it, whatever happens.
  virtual bool PlayStream(TStream* stream, bool ownsStream);
  // Releases the reader and, when owned, the stream.
  virtual void CloseStream();

  TCustomWaveStorage* Stock() const { return stock_; }
  void SetStock(TCustomWaveStorage* stock);

  uint32_t DataRemaining() const { return dataRemaining_; }
  uint32_t DataOffset() const { return dataOffset_; }
  bool OwnsStream() const { return ownsStream_; }
  bool HasStream() const { return stream_ != nullptr; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void HandleOutClose() override;
  bool GetWaveFormat(std::vector<uint8_t>& format) override;
  void DoError() override;
  uint32_t GetWaveData(uint8_t* buffer, uint32_t count, uint32_t& loops) override;

 private:
  std::unique_ptr<TRiffReader> reader_;
  uint32_t dataRemaining_ = 0;
  uint32_t dataOffset_ = 0;
  TStream* stream_ = nullptr;
  bool ownsStream_ = false;
  TCustomWaveStorage* stock_ = nullptr;
};

// The platform's spelling of a path the game writes with "\" separators.
std::string NativePath(const std::string& path);
