#include "eval/arithmetic.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>

#include "text/result_text.h"

namespace intcalc {

namespace {

constexpr std::uint64_t kMagnitudeLimit = std::numeric_limits<Magnitude>::max();
constexpr unsigned kMagnitudeBits = 32;
constexpr Magnitude kDecimalBase = 10;
constexpr std::size_t kMostDigits = std::numeric_limits<Magnitude>::digits10 + 1;
constexpr char kStarFill = '*';

// SignsMatch: signs are compared by their low byte only.
constexpr bool SignsMatch(SignFlag left, SignFlag right) {
  constexpr SignFlag kLowByte = 0xFF;
  return (left & kLowByte) == (right & kLowByte);
}

// Succeed: the value goes in with one store, as the steps that follow read it back whole
// at once; a read that spans two stores waits for both to reach the cache.
Outcome Succeed(SignFlag sign, Magnitude magnitude) {
  const auto whole = std::bit_cast<std::uint64_t>(SignedMagnitude{sign, magnitude});
  std::memcpy(static_cast<void*>(&ArithmeticResult()), &whole, sizeof whole);
  return Outcome::kSuccess;
}

// AddSigned: subtraction arrives here as addition of the negated right operand.
Outcome AddSigned(SignFlag leftSign, Magnitude leftMagnitude, SignFlag rightSign,
                  Magnitude rightMagnitude) {
  if (SignsMatch(leftSign, rightSign)) {
    const std::uint64_t sum = std::uint64_t{leftMagnitude} + rightMagnitude;
    if (sum > kMagnitudeLimit) return FailWith(kOverflowWord);
    return Succeed(leftSign, static_cast<Magnitude>(sum));
  }
  // Equal magnitudes give zero with the left operand's sign.
  if (leftMagnitude >= rightMagnitude) return Succeed(leftSign, leftMagnitude - rightMagnitude);
  return Succeed(rightSign, rightMagnitude - leftMagnitude);
}

}  // namespace

Outcome ApplyOperator(SignFlag leftSign, Magnitude leftMagnitude, SignFlag rightSign,
                      Magnitude rightMagnitude, OperatorCode code) {
  switch (code) {
    case OperatorCode::kAdd:
      return AddSigned(leftSign, leftMagnitude, rightSign, rightMagnitude);
    case OperatorCode::kSubtract:
      return AddSigned(leftSign, leftMagnitude, rightSign == kPositive ? kNegative : kPositive,
                       rightMagnitude);
    default:
      break;
  }

  // The strong operators all take the product sign, the remainder included.
  const SignFlag sign = SignsMatch(leftSign, rightSign) ? kPositive : kNegative;
  switch (code) {
    case OperatorCode::kMultiply: {
      const std::uint64_t product = std::uint64_t{leftMagnitude} * rightMagnitude;
      if ((product >> kMagnitudeBits) != 0) return FailWith(kOverflowWord);
      return Succeed(sign, static_cast<Magnitude>(product));
    }
    case OperatorCode::kDivide:
      if (rightMagnitude == 0) return FailWith(kErrorWord);
      return Succeed(sign, leftMagnitude / rightMagnitude);
    case OperatorCode::kRemainder:
      if (rightMagnitude == 0) return FailWith(kErrorWord);
      return Succeed(sign, leftMagnitude % rightMagnitude);
    default:
      return FailWith(kErrorWord);
  }
}

Outcome FormatResult(SignFlag sign, Magnitude magnitude, TextSpan destination) {
  if (magnitude == 0) {
    CopyText("0", destination);
    return Outcome::kSuccess;
  }
  std::array<char, kMostDigits> digits{};  // least significant first
  std::size_t count = 0;
  for (; magnitude != 0; magnitude /= kDecimalBase) {
    digits[count++] = static_cast<char>('0' + magnitude % kDecimalBase);
  }
  if (count >= destination.Capacity()) {
    std::memset(destination.Storage(), kStarFill, destination.Capacity());
    destination.SetLength(destination.Capacity());
    return Outcome::kFailure;
  }
  const bool negative = sign != kPositive;
  const TextLength length = static_cast<TextLength>(count) + (negative ? 1U : 0U);
  destination.SetLength(length);
  char* out = destination.Storage();
  if (negative) *out++ = '-';
  for (std::size_t index = count; index > 0; --index)
    *out++ = digits[index - 1];
  return Outcome::kSuccess;
}

}  // namespace intcalc
