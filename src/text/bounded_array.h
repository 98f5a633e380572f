// BoundedArray: up to kCapacity elements, in order, in storage of a fixed size. Every write
// checks its bound here, as TextSpan does for texts, so that no caller's arithmetic can
// take a write past the storage; callers that meet a limit in their input test it first.
#pragma once

#include <algorithm>
#include <array>
#include <concepts>
#include <cstddef>
#include <span>
#include <string_view>

#include "text/text_buffer.h"

namespace intcalc {

template <typename Element, std::size_t kCapacity>
class BoundedArray {
 public:
  static constexpr std::size_t Capacity() { return kCapacity; }
  constexpr std::size_t Size() const { return size_; }
  constexpr bool IsEmpty() const { return size_ == 0; }
  constexpr std::size_t Room() const { return kCapacity - size_; }

  constexpr const Element& operator[](std::size_t index) const {
    CheckBounds(index < size_);
    return elements_[index];
  }
  constexpr std::span<const Element> Elements() const { return {elements_.data(), size_}; }
  constexpr std::string_view View() const requires std::same_as<Element, char> {
    return {elements_.data(), size_};
  }

  constexpr void Clear() { size_ = 0; }
  constexpr void Push(const Element& element) {
    CheckBounds(size_ < kCapacity);
    elements_[size_++] = element;
  }
  constexpr void Append(std::span<const Element> elements) { Insert(size_, elements); }
  // Insert: the elements before the one at `index`.
  constexpr void Insert(std::size_t index, std::span<const Element> elements) {
    CheckBounds(index <= size_ && elements.size() <= Room());
    std::copy_backward(elements_.begin() + static_cast<std::ptrdiff_t>(index),
                       elements_.begin() + static_cast<std::ptrdiff_t>(size_),
                       elements_.begin() + static_cast<std::ptrdiff_t>(size_ + elements.size()));
    std::copy(elements.begin(), elements.end(),
              elements_.begin() + static_cast<std::ptrdiff_t>(index));
    size_ += elements.size();
  }
  // Erase: the elements from `first` up to `last`.
  constexpr void Erase(std::size_t first, std::size_t last) {
    CheckBounds(first <= last && last <= size_);
    std::copy(elements_.begin() + static_cast<std::ptrdiff_t>(last),
              elements_.begin() + static_cast<std::ptrdiff_t>(size_),
              elements_.begin() + static_cast<std::ptrdiff_t>(first));
    size_ -= last - first;
  }
  // Truncate: the first `size` elements are kept.
  constexpr void Truncate(std::size_t size) {
    CheckBounds(size <= size_);
    size_ = size;
  }
  constexpr void Assign(std::span<const Element> elements) {
    Clear();
    Append(elements);
  }

  // Unfilled, Filled: the room after the elements, for a read to fill, and how much of it
  // the read filled.
  constexpr std::span<Element> Unfilled() { return {elements_.data() + size_, Room()}; }
  constexpr void Filled(std::size_t count) {
    CheckBounds(count <= Room());
    size_ += count;
  }

 private:
  std::array<Element, kCapacity> elements_{};
  std::size_t size_ = 0;
};

}  // namespace intcalc
