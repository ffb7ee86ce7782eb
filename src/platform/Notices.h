// What the player must be told (a damaged file, scores not kept, a word list
// that fell back): every error report lands here, and the game shows the
// waiting ones on its menu until the player presses a key or clicks.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

class TNotices {
 public:
  // Shown together on one screen; the rest follow once these are dismissed.
  static constexpr size_t PerScreen = 4;
  // Beyond this many waiting, more are only on stderr.
  static constexpr size_t MaxWaiting = 32;

  // A text already waiting is not added twice.
  void Add(const std::string& text);
  const std::vector<std::string>& Waiting() const { return waiting_; }
  bool Empty() const { return waiting_.empty(); }
  // The ones on screen (the first PerScreen) are gone.
  void Dismiss();

  // Set while a game window is there to show them; the platform reports
  // them its own way as well while it is not.
  bool GameShowsThem = false;

 private:
  std::vector<std::string> waiting_;
};
