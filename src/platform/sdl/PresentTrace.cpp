#include "platform/sdl/PresentTrace.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <time.h>

#include <cstdlib>

namespace {
int64_t ClockNs(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
}  // namespace

TPresentTrace::TPresentTrace() {
  const char* path = std::getenv("GLYPHFALL_TRACE");
  if (!path || !*path) return;
  out_ = std::fopen(path, "a");
}

void TPresentTrace::Start() {
  // The X server stamps each key press with its monotonic clock in
  // milliseconds; the raw event carries the stamp.
  if (out_) SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

TPresentTrace::~TPresentTrace() {
  if (out_) std::fclose(out_);
}

void TPresentTrace::Event(const SDL_Event& e) {
  if (!out_) return;
#if defined(SDL_VIDEO_DRIVER_X11)
  if (e.type == SDL_SYSWMEVENT && e.syswm.msg && e.syswm.msg->subsystem == SDL_SYSWM_X11 &&
      e.syswm.msg->msg.x11.event.type == KeyPress) {
    keyServerMs_ = static_cast<uint32_t>(e.syswm.msg->msg.x11.event.xkey.time);
    keyArrived_ = true;
  }
#endif
  if (e.type == SDL_KEYDOWN && !e.key.repeat && keyArrived_) keyPending_ = true;
}

void TPresentTrace::Presented() {
  if (!out_) return;
  constexpr uint64_t CountEvery = 16;
  if (++presents_ % CountEvery == 0) std::fprintf(out_, "presents %llu\n", static_cast<unsigned long long>(presents_));
  if (!firstDone_) {
    firstDone_ = true;
    std::fprintf(out_, "first_present_ns %lld\n", static_cast<long long>(ClockNs(CLOCK_REALTIME)));
  }
  if (keyPending_) {
    // The server's stamp is whole milliseconds of the monotonic clock, cut to 32 bits.
    int64_t nowNs = ClockNs(CLOCK_MONOTONIC);
    uint32_t elapsedMs = static_cast<uint32_t>(nowNs / 1000000) - keyServerMs_;
    double ms = elapsedMs + static_cast<double>(nowNs % 1000000) / 1e6;
    std::fprintf(out_, "key_to_present_ms %.2f\n", ms);
    keyPending_ = keyArrived_ = false;
  }
  std::fflush(out_);
}
