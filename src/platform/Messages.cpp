#include "platform/Messages.h"

THandle TMessageQueue::Register(TMessageTarget* target) {
  std::lock_guard lock(mutex_);
  THandle h = nextHandle_++;
  if (nextHandle_ == 0) nextHandle_ = 1;
  targets_[h] = target;
  return h;
}

void TMessageQueue::Unregister(THandle handle) {
  std::lock_guard lock(mutex_);
  targets_.erase(handle);
  // Drop what is still queued for it: nobody is there to receive it.
  for (auto it = queue_.begin(); it != queue_.end();) {
    if (it->second.Target == handle)
      it = queue_.erase(it);
    else
      ++it;
  }
}

void TMessageQueue::Post(THandle handle, const TMessage& message) {
  std::lock_guard lock(mutex_);
  if (!targets_.count(handle)) return;
  queue_.push_back({nextSerial_++, Entry{handle, message}});
}

bool TMessageQueue::TakeNext(THandle only, Entry& out, uint64_t limit) {
  std::lock_guard lock(mutex_);
  for (auto it = queue_.begin(); it != queue_.end(); ++it) {
    if (it->first >= limit) return false;
    if (only != 0 && it->second.Target != only) continue;
    out = it->second;
    queue_.erase(it);
    return true;
  }
  return false;
}

TMessageTarget* TMessageQueue::Find(THandle handle) const {
  std::lock_guard lock(mutex_);
  auto it = targets_.find(handle);
  return it == targets_.end() ? nullptr : it->second;
}

int TMessageQueue::DispatchAll() {
  uint64_t limit;
  {
    std::lock_guard lock(mutex_);
    limit = nextSerial_;
  }
  int n = 0;
  Entry e;
  while (TakeNext(0, e, limit)) {
    // Looked up per message: a handler may unregister a later target.
    if (TMessageTarget* t = Find(e.Target)) {
      t->WindowProc(e.Message);
      ++n;
    }
  }
  return n;
}

int TMessageQueue::DispatchFor(THandle handle) {
  uint64_t limit;
  {
    std::lock_guard lock(mutex_);
    limit = nextSerial_;
  }
  int n = 0;
  Entry e;
  while (TakeNext(handle, e, limit)) {
    if (TMessageTarget* t = Find(e.Target)) {
      t->WindowProc(e.Message);
      ++n;
    }
  }
  return n;
}

size_t TMessageQueue::Pending() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

size_t TMessageQueue::PendingFor(THandle handle) const {
  std::lock_guard lock(mutex_);
  size_t n = 0;
  for (auto& q : queue_)
    if (q.second.Target == handle) ++n;
  return n;
}
