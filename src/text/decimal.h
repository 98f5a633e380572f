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

// Decimal: the digits of `value`, most significant first; "0" for zero. They are written
// from the last place back, so that none need be counted first, and end where kMostDigits
// bytes more follow, so that a copy may take kMostDigits bytes from the first digit at
// once, a length the compiler knows.
template <std::unsigned_integral Number>
class Decimal {
 public:
  static constexpr std::size_t kMostDigits = std::numeric_limits<Number>::digits10 + 1;

  constexpr explicit Decimal(Number value) {
    std::size_t first = kMostDigits;
    do {
      bytes_[--first] = static_cast<char>('0' + value % kDecimalBase);
      value /= kDecimalBase;
    } while (value != 0);
    first_ = first;
  }
  constexpr std::string_view View() const { return {bytes_.data() + first_, kMostDigits - first_}; }
  // Bytes: kMostDigits bytes from the first digit: the digits, then NULs.
  constexpr const char* Bytes() const { return bytes_.data() + first_; }

 private:
  std::array<char, 2 * kMostDigits> bytes_{};  // the digits end at kMostDigits
  std::size_t first_ = kMostDigits;
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
