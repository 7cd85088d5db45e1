// An owner of one handle of any kind: released through Traits::close in the scope that took it.
#pragma once
#include <utility>

namespace tb {

template <class T, class Traits>
class Owned {
 public:
  Owned() = default;
  explicit Owned(T h) : h_(h) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Traits::invalid()));
    return *this;
  }
  ~Owned() { reset(); }
  T get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::invalid(); }
  T release() { return std::exchange(h_, Traits::invalid()); }
  void reset(T h = Traits::invalid()) {
    if (h_ != Traits::invalid()) Traits::close(h_);
    h_ = h;
  }

 private:
  T h_ = Traits::invalid();
};

}  // namespace tb
