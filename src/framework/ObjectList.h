// The owning object list every list of the game derives from: removing or
// deleting an element destroys it, and so does destroying the list.
#pragma once
#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

template <class T>
class TCustomObjectList {
 public:
  TCustomObjectList() = default;
  TCustomObjectList(const TCustomObjectList&) = delete;
  TCustomObjectList& operator=(const TCustomObjectList&) = delete;
  virtual ~TCustomObjectList() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  T* Items(int i) const { return items_[static_cast<size_t>(i)].get(); }
  T* operator[](int i) const { return Items(i); }

  // Appends and takes ownership; returns the object.
  virtual T* AddObject(T* object) {
    items_.emplace_back(object);
    return object;
  }
  T* Add(std::unique_ptr<T> object) { return AddObject(object.release()); }
  void Insert(int index, T* object) { items_.insert(items_.begin() + index, std::unique_ptr<T>(object)); }
  // Destroys the element at index.
  void Delete(int index) { items_.erase(items_.begin() + index); }
  // Destroys object if the list holds it; returns its former index or -1.
  int Remove(T* object) {
    int i = IndexOf(object);
    if (i >= 0) Delete(i);
    return i;
  }
  // Takes object out without destroying it.
  std::unique_ptr<T> Extract(int index) {
    std::unique_ptr<T> p = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
    return p;
  }
  int IndexOf(const T* object) const {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i].get() == object) return static_cast<int>(i);
    return -1;
  }
  void Clear() { items_.clear(); }

  int FirstIndex() const { return 0; }
  int LastIndex() const { return Count() - 1; }

 private:
  std::vector<std::unique_ptr<T>> items_;
};

// LastIndex of a list that may be absent.
template <class L>
int LastIndexOf(const L* list) {
  return list ? list->LastIndex() : -1;
}
