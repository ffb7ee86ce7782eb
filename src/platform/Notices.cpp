#include "platform/Notices.h"

#include <algorithm>

void TNotices::Add(const std::string& text) {
  if (text.empty() || waiting_.size() >= MaxWaiting) return;
  if (std::find(waiting_.begin(), waiting_.end(), text) != waiting_.end()) return;
  waiting_.push_back(text);
}

void TNotices::Dismiss() {
  waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(std::min(PerScreen, waiting_.size())));
}
