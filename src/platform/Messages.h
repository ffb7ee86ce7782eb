// Posted messages: the stand-in for a hidden window's message queue.
//
// Any thread may Post; only the game thread dispatches, from the platform's
// ProcessMessages (once per frame) or from a component's private wait loop.
// A message to a target that has been unregistered is dropped, so a component
// that dies with notifications in flight is never called back.
#pragma once
#include <cstdint>
#include <deque>
#include <mutex>
#include <unordered_map>

using THandle = uint32_t;  // 0 is never a valid target

struct TMessage {
  uint32_t Msg = 0;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
};

class TMessageTarget {
 public:
  virtual ~TMessageTarget() = default;
  virtual void WindowProc(TMessage& message) = 0;
};

class TMessageQueue {
 public:
  THandle Register(TMessageTarget* target);
  void Unregister(THandle handle);
  // Thread-safe.
  void Post(THandle handle, const TMessage& message);
  // Delivers the messages pending when called (not those posted meanwhile),
  // in posting order. Returns how many were delivered.
  int DispatchAll();
  // Delivers the pending messages of one target only; others stay queued.
  int DispatchFor(THandle handle);
  size_t Pending() const;
  size_t PendingFor(THandle handle) const;

 private:
  struct Entry {
    THandle Target;
    TMessage Message;
  };
  bool TakeNext(THandle only, Entry& out, uint64_t limit);
  TMessageTarget* Find(THandle handle) const;

  mutable std::mutex mutex_;
  std::deque<std::pair<uint64_t, Entry>> queue_;
  std::unordered_map<THandle, TMessageTarget*> targets_;
  THandle nextHandle_ = 1;
  uint64_t nextSerial_ = 1;
};
