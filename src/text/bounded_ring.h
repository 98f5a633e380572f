// BoundedRing: the latest kCapacity elements put in, in storage of a fixed size; putting
// one in past the capacity forgets the oldest. Elements are reached by age, 0 the newest,
// and the one bound is checked here, as BoundedArray checks its own.
#pragma once

#include <array>
#include <cstddef>

#include "text/text_buffer.h"

namespace intcalc {

template <typename Element, std::size_t kCapacity>
class BoundedRing {
 public:
  static constexpr std::size_t Capacity() { return kCapacity; }
  constexpr std::size_t Size() const { return size_; }
  constexpr bool IsEmpty() const { return size_ == 0; }

  // Newest: the element put in `age` puts ago, 0 the newest; age < Size().
  constexpr const Element& Newest(std::size_t age = 0) const { return elements_[At(age)]; }
  constexpr Element& Newest(std::size_t age = 0) { return elements_[At(age)]; }

  constexpr void Clear() { size_ = 0; }
  // Put: a new newest element; the oldest is forgotten when the ring is full.
  constexpr void Put(const Element& element) {
    elements_[next_] = element;
    next_ = (next_ + 1) % kCapacity;
    if (size_ < kCapacity) ++size_;
  }
  // TakeNewest: forgets the newest element; the ring is not empty.
  constexpr void TakeNewest() {
    CheckBounds(size_ > 0);
    next_ = (next_ + kCapacity - 1) % kCapacity;
    --size_;
  }

 private:
  constexpr std::size_t At(std::size_t age) const {
    CheckBounds(age < size_);
    return (next_ + kCapacity - 1 - age) % kCapacity;
  }

  std::array<Element, kCapacity> elements_{};
  std::size_t next_ = 0;  // where the next element goes
  std::size_t size_ = 0;
};

}  // namespace intcalc
