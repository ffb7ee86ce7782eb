#include "play/Screen.h"

#include "platform/Canvas.h"

void TScreen::Frame(TScreenStack& stack, TScreenHost& host) {
  Update(stack);
  host.BeginFrame();
  Draw(host.Canvas());
  host.PresentFrame();
}

void TScreenStack::Push(std::unique_ptr<TScreen> screen) { pushed_.push_back(std::move(screen)); }

void TScreenStack::Pop() { ++popped_; }

void TScreenStack::ApplyPending() {
  for (; popped_ > 0 && !screens_.empty(); --popped_) {
    screens_.back()->Leave();
    screens_.pop_back();
  }
  popped_ = 0;
  // A screen may push another as it enters: those wait for the next round.
  std::vector<std::unique_ptr<TScreen>> entering;
  entering.swap(pushed_);
  for (std::unique_ptr<TScreen>& s : entering) {
    screens_.push_back(std::move(s));
    screens_.back()->Enter(*this);
  }
}

void TScreenStack::Run(TScreenHost& host, std::unique_ptr<TScreen> first) {
  const size_t base = screens_.size();
  if (first) Push(std::move(first));
  ApplyPending();
  while (screens_.size() > base && !host.Closed()) {
    screens_.back()->Frame(*this, host);
    ApplyPending();
    while (!pushed_.empty()) ApplyPending();
  }
  // The window closed: every screen this run began leaves.
  while (screens_.size() > base) {
    screens_.back()->Leave();
    screens_.pop_back();
  }
  pushed_.clear();
  popped_ = 0;
}

bool TScreenStack::Key(uint16_t key) {
  TScreen* top = Top();
  if (!top || !top->TakesInput()) return false;
  top->Key(*this, key);
  return true;
}

bool TScreenStack::Text(char32_t c) {
  TScreen* top = Top();
  if (!top || !top->TakesInput()) return false;
  top->Text(*this, c);
  return true;
}

bool TScreenStack::Mouse(const TMouse& mouse) {
  TScreen* top = Top();
  if (!top || !top->TakesInput()) return false;
  top->Mouse(*this, mouse);
  return true;
}
