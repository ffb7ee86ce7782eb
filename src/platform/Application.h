// Components with owners, and the application object that owns the
// fire-and-forget ones (sound players, XML documents) and reports errors.
#pragma once
#include <exception>
#include <string>
#include <vector>

#include "Product.h"

class TPlatform;

enum class TOperation { Insert, Remove };

// An owned object in the classic component style: destroying the owner
// destroys what it owns; a component destroyed earlier leaves its owner's list.
class TComponent {
 public:
  explicit TComponent(TComponent* owner);
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  virtual ~TComponent();

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int i) const { return components_[i]; }
  // True once the destructor of this component has begun.
  bool Destroying() const { return destroying_; }

  // Asks to be told (Notification with Remove) when c is destroyed.
  void FreeNotification(TComponent* c);
  void RemoveFreeNotification(TComponent* c);

 protected:
  virtual void Notification(TComponent* component, TOperation operation);
  // Derived destructors call this first so that Destroying() holds while
  // they tear down.
  void BeginDestroy() { destroying_ = true; }

 private:
  void Insert(TComponent* c);
  void Remove(TComponent* c);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  bool destroying_ = false;
};

class TApplication : public TComponent {
 public:
  explicit TApplication(TPlatform& platform);
  ~TApplication() override;

  TPlatform& Platform() { return platform_; }
  // The error report: a message box with the text, and a line on stderr.
  void ShowException(const std::exception& e);
  void ShowError(const std::string& text);
  std::string ExeName();
  std::string Title = GameCaption;

 private:
  TPlatform& platform_;
};

// The one application object; set while a TApplication exists.
extern TApplication* Application;
