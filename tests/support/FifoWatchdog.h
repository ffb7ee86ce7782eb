// For tests that plant a FIFO where the program expects a file. Code that
// opened it blocking would wait for ever for the other end; after a generous
// deadline the watchdog opens the FIFO for a moment, which releases such an
// open, so a regression fails the test instead of hanging it.
#pragma once
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

class TFifoWatchdog {
 public:
  explicit TFifoWatchdog(const std::string& path)
      : thread_([this, path] {
          constexpr int Steps = 200;  // of 100 ms: twenty seconds
          for (int i = 0; i < Steps && !done_; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
          if (done_) return;
          fired_ = true;
          int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK);  // both ends at once
          if (fd >= 0) ::close(fd);
        }) {}
  ~TFifoWatchdog() {
    done_ = true;
    thread_.join();
  }
  // Whether it had to step in: the code under test blocked on the FIFO.
  bool Fired() const { return fired_; }

 private:
  std::atomic<bool> done_{false}, fired_{false};
  std::thread thread_;
};
