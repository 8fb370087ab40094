// A small owning pointer for COM interfaces.
#pragma once
#include <unknwn.h>

#include <utility>

namespace ui {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ~ComPtr() { reset(); }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T** put() {
    reset();
    return &p_;
  }
  void reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  template <class U>
  ComPtr<U> as(REFIID iid) const {
    ComPtr<U> other;
    if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(other.put()));
    return other;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace ui
