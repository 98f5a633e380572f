#include "eval/arithmetic.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <limits>

#include "eval/trace_points.h"
#include "text/result_text.h"

namespace intcalc {

namespace {

constexpr std::uint64_t kMagnitudeLimit = std::numeric_limits<Magnitude>::max();
constexpr unsigned kMagnitudeBits = 32;
constexpr Magnitude kDecimalBase = 10;
constexpr std::size_t kMostDigits = std::numeric_limits<Magnitude>::digits10 + 1;
constexpr char kStarFill = '*';
constexpr ConstantText kZeroText{"0"};

// SignsMatch: compares the low bytes of two sign flags, the byte that carries a sign in
// the tables. Every flag the reader and the arithmetic store is 0 or 1, so this agrees
// with FormatResult's test of the whole word on every flag either of them is given.
constexpr bool SignsMatch(SignFlag left, SignFlag right) {
  constexpr SignFlag kLowByte = 0xFF;
  return (left & kLowByte) == (right & kLowByte);
}

// Succeed: keeps the value just computed for the evaluator, and reports success.
Outcome Succeed(SignFlag sign, Magnitude magnitude) {
  ArithmeticResult() = {sign, magnitude};
  return Outcome::kSuccess;
}

// AddSigned: subtraction arrives here as addition of the negated right operand.
Outcome AddSigned(SignFlag leftSign, Magnitude leftMagnitude, SignFlag rightSign,
                  Magnitude rightMagnitude) {
  if (SignsMatch(leftSign, rightSign)) {
    const std::uint64_t sum = std::uint64_t{leftMagnitude} + rightMagnitude;
    if (sum > kMagnitudeLimit) return FailWith(kOverflowWord, "the sum is beyond 4294967295");
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
      if ((product >> kMagnitudeBits) != 0) {
        return FailWith(kOverflowWord, "the product is beyond 4294967295");
      }
      return Succeed(sign, static_cast<Magnitude>(product));
    }
    case OperatorCode::kDivide:
      if (rightMagnitude == 0) return FailWith(kErrorWord, "a division by zero");
      return Succeed(sign, leftMagnitude / rightMagnitude);
    case OperatorCode::kRemainder:
      if (rightMagnitude == 0) return FailWith(kErrorWord, "a remainder by zero");
      return Succeed(sign, leftMagnitude % rightMagnitude);
    default:
      return FailWith(kErrorWord, "no operator to apply");
  }
}

Outcome FormatResult(SignFlag sign, Magnitude magnitude, TextSpan destination) {
  if (magnitude == 0) {
    CopyText(kZeroText, destination);
    return Outcome::kSuccess;
  }
  std::array<char, kMostDigits> digits{};  // least significant first
  TextLength count = 0;
  for (; magnitude != 0; magnitude /= kDecimalBase) {
    digits[count++] = static_cast<char>('0' + magnitude % kDecimalBase);
  }
  char* const out = destination.Storage();
  if (count >= destination.Capacity()) {  // the digits must fit with room to spare, sign or not
    std::memset(out, kStarFill, destination.Capacity());
    destination.SetLength(destination.Capacity());
    return Outcome::kFailure;
  }
  // count < capacity, so the sign and the digits fit: at most capacity characters.
  TextLength length = 0;
  if (sign != kPositive) out[length++] = '-';
  while (count > 0)
    out[length++] = digits[--count];
  destination.SetLength(length);
  return Outcome::kSuccess;
}

}  // namespace intcalc
