// TZRWObject: the base of the visual-effects settings objects. Every setter
// stores a value only when it differs and then calls Change, which tells the
// owner through OnChange.
#pragma once

#include <functional>

class TZRWObject {
 public:
  using TNotifyEvent = std::function<void(TZRWObject* sender)>;

  TZRWObject() = default;
  virtual ~TZRWObject() = default;
  TZRWObject(const TZRWObject&) = delete;
  TZRWObject& operator=(const TZRWObject&) = delete;

  TNotifyEvent OnChange;

 protected:
  virtual void Change() {
    if (OnChange) OnChange(this);
  }

  // Stores `value` in `field` when it differs; true when it changed.
  template <class T>
  bool Store(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
  }
};
