#include "eval/arithmetic.h"

#include <array>
#include <cstdint>

namespace intcalc {

namespace {

constexpr unsigned kMagnitudeBits = 32;
constexpr Magnitude kDecimalBase = 10;
static_assert(kMagnitudeDigits + 1 < kResultCapacity, "a sign and the digits fit the result");

// SignsMatch: compares the low bytes of two sign flags, the byte that carries a sign in
// the tables. Every flag the reader and the arithmetic store is 0 or 1, so this agrees
// with FormatResult's test of the whole word on every flag either of them is given.
constexpr bool SignsMatch(SignFlag left, SignFlag right) {
  constexpr SignFlag kLowByte = 0xFF;
  return (left & kLowByte) == (right & kLowByte);
}

Outcome Fail(ResultTextBuffer& result, TextView word) {
  SetResultText(result, word);
  return Outcome::kFailure;
}

// AddSigned: subtraction arrives here as addition of the negated right operand.
Outcome AddSigned(SignedMagnitude left, SignedMagnitude right, SignedMagnitude& value,
                  ResultTextBuffer& result) {
  if (SignsMatch(left.sign, right.sign)) {
    const std::uint64_t sum = std::uint64_t{left.magnitude} + right.magnitude;
    if (sum > kLargestMagnitude) return Fail(result, kOverflowWord);
    value = {left.sign, static_cast<Magnitude>(sum)};
    return Outcome::kSuccess;
  }
  // Equal magnitudes give zero with the left operand's sign.
  if (left.magnitude >= right.magnitude) {
    value = {left.sign, left.magnitude - right.magnitude};
  } else {
    value = {right.sign, right.magnitude - left.magnitude};
  }
  return Outcome::kSuccess;
}

}  // namespace

Outcome ApplyOperator(SignedMagnitude left, SignedMagnitude right, OperatorCode code,
                      SignedMagnitude& value, ResultTextBuffer& result) {
  switch (code) {
    case OperatorCode::kAdd:
      return AddSigned(left, right, value, result);
    case OperatorCode::kSubtract:
      right.sign = right.sign == kPositive ? kNegative : kPositive;
      return AddSigned(left, right, value, result);
    default:
      break;
  }

  // The strong operators all take the product sign, the remainder included.
  const SignFlag sign = SignsMatch(left.sign, right.sign) ? kPositive : kNegative;
  switch (code) {
    case OperatorCode::kMultiply: {
      const std::uint64_t product = std::uint64_t{left.magnitude} * right.magnitude;
      if ((product >> kMagnitudeBits) != 0) return Fail(result, kOverflowWord);
      value = {sign, static_cast<Magnitude>(product)};
      return Outcome::kSuccess;
    }
    case OperatorCode::kDivide:
      if (right.magnitude == 0) return Fail(result, kErrorWord);
      value = {sign, left.magnitude / right.magnitude};
      return Outcome::kSuccess;
    case OperatorCode::kRemainder:
      if (right.magnitude == 0) return Fail(result, kErrorWord);
      value = {sign, left.magnitude % right.magnitude};
      return Outcome::kSuccess;
    default:  // kNone: the evaluator applies only live operators, so this never happens
      return Fail(result, kErrorWord);
  }
}

void FormatResult(SignedMagnitude value, ResultTextBuffer& destination) {
  // The digits are written from the end of a text of their own, least significant first,
  // then moved into place in one copy.
  std::array<char, kMagnitudeDigits + 1> text{};
  std::size_t first = text.size();
  Magnitude magnitude = value.magnitude;
  do {
    text[--first] = static_cast<char>('0' + magnitude % kDecimalBase);
    magnitude /= kDecimalBase;
  } while (magnitude != 0);
  if (value.sign != kPositive && value.magnitude != 0) {
    CheckBounds(first > 0);  // the sign's place before the widest value's digits
    text[--first] = '-';
  }
  const std::size_t length = text.size() - first;
  const TextSpan out = destination;
  for (std::size_t index = 0; index < length; ++index)
    out.Storage()[index] = text[first + index];  // length <= 11 < the result text's capacity
  out.SetLength(static_cast<TextLength>(length));
}

}  // namespace intcalc
