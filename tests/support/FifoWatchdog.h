// For tests that plant a FIFO where the program expects a file. A build that
// opened it blocking would wait for ever for the other end; after a generous
// deadline the watchdog opens the FIFO for a moment, which releases such an
// open, so a regression fails the test instead of hanging it.
#pragma once
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class TFifoWatchdog {
 public:
  explicit TFifoWatchdog(std::string path, std::chrono::seconds deadline = std::chrono::seconds(20))
      : path_(std::move(path)), thread_([this, deadline] { Watch(deadline); }) {}
  ~TFifoWatchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  // Whether it had to step in: the code under test blocked on the FIFO.
  bool Fired() {
    std::lock_guard<std::mutex> lock(mutex_);
    return fired_;
  }

 private:
  void Watch(std::chrono::seconds deadline) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (wake_.wait_for(lock, deadline, [this] { return done_; })) return;
    fired_ = true;
    // Both ends at once, without blocking: releases a waiting reader or writer.
    int fd = ::open(path_.c_str(), O_RDWR | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
  }

  std::string path_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  bool fired_ = false;
  std::thread thread_;
};
