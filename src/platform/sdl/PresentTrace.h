// Timing of the real window for scripts/measure-cpu. When the environment
// variable GLYPHFALL_TRACE names a file, the platform appends to it the wall
// clock of the first presented frame ("first_present_ns N") and, for every
// key press, the time from the X server's timestamp of the press to the end
// of the first present after the game handled it ("key_to_present_ms F"),
// and every 16 frames the count of frames presented ("presents N").
// Without the variable every call returns at once.
#pragma once
#include <cstdint>
#include <cstdio>

union SDL_Event;

class TPresentTrace {
 public:
  TPresentTrace();
  ~TPresentTrace();
  TPresentTrace(const TPresentTrace&) = delete;
  TPresentTrace& operator=(const TPresentTrace&) = delete;

  // Once SDL's video has started, which resets the raw events to off.
  void Start();
  // Every event the platform takes from SDL, before it is handled.
  void Event(const SDL_Event& e);
  // After each frame has gone to the window.
  void Presented();

 private:
  std::FILE* out_ = nullptr;
  bool firstDone_ = false;
  uint64_t presents_ = 0;
  bool keyPending_ = false;   // a press was handled since the last present
  bool keyArrived_ = false;   // a press's server time is known
  uint32_t keyServerMs_ = 0;  // X server time of that press (milliseconds)
};
