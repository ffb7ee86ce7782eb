#include "framework/GameEvents.h"

#include <algorithm>

void TGameEvents::Add(TGameObserver& observer) {
  if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end()) observers_.push_back(&observer);
}

void TGameEvents::Remove(TGameObserver& observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

void TGameEvents::EndKey(uint32_t time, uint16_t key) {
  if (!Listening()) return;
  TKeyTyped e{time, key, !hits_.empty(), hits_};
  Raise(&TGameObserver::KeyTyped, e);
}

void TGameEvents::BombKey(uint32_t time, uint16_t key, bool detonated) {
  if (!Listening()) return;
  TKeyTyped e{time, key, detonated, {}};
  Raise(&TGameObserver::KeyTyped, e);
}
