// The wave-output device: stand-in for the desktop's multimedia wave-out
// interface. Placeholder until the sound engine lands.
#pragma once
#include <memory>

class TWaveOutDevice {
 public:
  virtual ~TWaveOutDevice() = default;
  // Called by the platform before it dispatches messages, on the game thread.
  virtual void Poll() {}
  // Silences every voice; the players keep running.
  virtual void SetMuted(bool muted) { muted_ = muted; }
  bool Muted() const { return muted_; }

 protected:
  bool muted_ = false;
};
