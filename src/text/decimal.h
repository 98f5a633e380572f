// Decimal text: the one way a number becomes digits, for results, the terminal's controls
// and the trace alike, and texts made when the program is built that name a limit.
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "text/limits.h"
#include "text/text_buffer.h"

namespace intcalc {

inline constexpr unsigned kDecimalBase = 10;

// Decimal: the digits of `value`, most significant first; "0" for zero. They are counted
// before they are written, so that each is written in its place from the first byte on
// and a copy may take all kMostDigits bytes at once, a length the compiler knows.
template <std::unsigned_integral Number>
class Decimal {
 public:
  static constexpr std::size_t kMostDigits = std::numeric_limits<Number>::digits10 + 1;

  constexpr explicit Decimal(Number value) {
    std::size_t count = 1;
    while (count < kMostDigits && value >= kPowers[count])
      ++count;
    count_ = count;
    for (std::size_t index = count; index-- > 0; value /= kDecimalBase)
      digits_[index] = static_cast<char>('0' + value % kDecimalBase);
  }
  constexpr std::string_view View() const { return {digits_.data(), count_}; }
  // Bytes: the digits, then NULs up to kMostDigits bytes.
  constexpr const std::array<char, kMostDigits>& Bytes() const { return digits_; }

 private:
  // kPowers: entry n is 10 to the n, the least value of n + 1 digits.
  static constexpr std::array<Number, kMostDigits> kPowers = [] {
    std::array<Number, kMostDigits> powers{};
    Number power = 1;
    for (Number& entry : powers) {
      entry = power;
      power = static_cast<Number>(power * kDecimalBase);  // past the last entry it may wrap
    }
    return powers;
  }();

  std::array<char, kMostDigits> digits_{};
  std::size_t count_ = 1;
};

// LimitText: a text fixed when the program is built that names a limit by its value, so
// that what the program says of a limit is the limit it checks. A NUL follows it.
class LimitText {
 public:
  consteval LimitText(std::string_view before, std::uint64_t limit, std::string_view after) {
    const Decimal<std::uint64_t> digits(limit);
    for (const std::string_view part : {before, digits.View(), after}) {
      for (const char byte : part)
        bytes_[length_++] = byte;
    }
    CheckBounds(length_ < bytes_.size());  // a text too long for its NUL fails the build
  }
  constexpr operator std::string_view() const { return {bytes_.data(), length_}; }
  constexpr const char* Text() const { return bytes_.data(); }

 private:
  std::array<char, kLongestLimitText> bytes_{};
  std::size_t length_ = 0;
};

}  // namespace intcalc
