// The wave-output device: stand-in for the desktop's multimedia wave-out
// interface. Placeholder until the sound engine lands.
#pragma once
#include <memory>

class TWaveOutDevice {
 public:
  virtual ~TWaveOutDevice() = default;
  // Called by the platform before it dispatches messages, on the game thread.
  virtual void Poll() {}
};
