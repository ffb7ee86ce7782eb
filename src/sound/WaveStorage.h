// WaveStorage: the abstract store of wave data a player may refer to.
#pragma once
#include <memory>

#include "platform/Application.h"
#include "sound/WaveUtils.h"

class TCustomWaveStorage : public TComponent {
 public:
  explicit TCustomWaveStorage(TComponent* owner) : TComponent(owner) {}

  // Number of stored waves, and a new stream over one of them holding a
  // whole RIFF WAVE file (null when the index is out of range).
  virtual int WaveCount() const = 0;
  virtual std::unique_ptr<TStream> OpenWave(int index) = 0;
};
