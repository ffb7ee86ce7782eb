#include "platform/Application.h"

#include <algorithm>

#include "platform/Platform.h"

TApplication* Application = nullptr;

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->Insert(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  // Tell everyone who asked; they drop their references to us.
  auto notifies = freeNotifies_;
  freeNotifies_.clear();
  for (TComponent* c : notifies) {
    c->RemoveFreeNotification(this);
    c->Notification(this, TOperation::Remove);
  }
  // Owned components go last-first, as the classic library does.
  while (!components_.empty()) {
    TComponent* c = components_.back();
    components_.pop_back();
    c->owner_ = nullptr;
    delete c;
  }
  if (owner_) owner_->Remove(this);
}

void TComponent::Insert(TComponent* c) {
  components_.push_back(c);
  c->owner_ = this;
}

void TComponent::Remove(TComponent* c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it != components_.end()) components_.erase(it);
  c->owner_ = nullptr;
}

void TComponent::FreeNotification(TComponent* c) {
  if (!c || c == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), c) == freeNotifies_.end()) freeNotifies_.push_back(c);
  if (std::find(c->freeNotifies_.begin(), c->freeNotifies_.end(), this) == c->freeNotifies_.end())
    c->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* c) {
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), c), freeNotifies_.end());
}

void TComponent::Notification(TComponent*, TOperation) {}

TApplication::TApplication(TPlatform& platform) : TComponent(nullptr), platform_(platform) { Application = this; }

TApplication::~TApplication() {
  BeginDestroy();
  // Owned components are destroyed by the base destructor; they may still
  // reach the platform, so Application stays set until then.
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
  if (Application == this) Application = nullptr;
}

void TApplication::ShowException(const std::exception& e) { ShowError(e.what()); }

void TApplication::ShowError(const std::string& text) { platform_.ShowError(Title, text); }

std::string TApplication::ExeName() { return platform_.ExeName(); }
