#include "eval/arithmetic.h"

#include <cstdint>

namespace intcalc {

namespace {

constexpr unsigned kMagnitudeBits = 32;

constexpr LimitText kSumBeyond{"the sum is beyond ", kLargestMagnitude, ""};
constexpr LimitText kProductBeyond{"the product is beyond ", kLargestMagnitude, ""};

// SignsMatch: compares the low bytes of two sign flags, the byte that carries a sign in
// the tables. Every flag the reader and the arithmetic store is 0 or 1, so this agrees
// with FormatResult's test of the whole word on every flag either of them is given.
constexpr bool SignsMatch(SignFlag left, SignFlag right) {
  constexpr SignFlag kLowByte = 0xFF;
  return (left & kLowByte) == (right & kLowByte);
}

// Fail: operator `code`'s failure, its word into the result text. Out of line and cold,
// as failures are rare.
[[gnu::noinline, gnu::cold]] Outcome Fail(ResultTextBuffer& result, OperatorCode code) {
  SetResultText(result, FailureOf(code).word);
  return Outcome::kFailure;
}

// AddSigned: subtraction arrives here as addition of the negated right operand.
Outcome AddSigned(SignedMagnitude left, SignedMagnitude right, SignedMagnitude& value,
                  ResultTextBuffer& result) {
  if (SignsMatch(left.sign, right.sign)) {
    const std::uint64_t sum = std::uint64_t{left.magnitude} + right.magnitude;
    if (sum > kLargestMagnitude) return Fail(result, OperatorCode::kAdd);
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

OperatorFailure FailureOf(OperatorCode code) {
  switch (code) {
    case OperatorCode::kSubtract:
    case OperatorCode::kAdd:
      return {kOverflowWord, kSumBeyond};
    case OperatorCode::kMultiply:
      return {kOverflowWord, kProductBeyond};
    case OperatorCode::kDivide:
      return {kErrorWord, "a division by zero"};
    case OperatorCode::kRemainder:
      return {kErrorWord, "a remainder by zero"};
    case OperatorCode::kNone:
      break;
  }
  return {kErrorWord, "no operator to apply"};
}

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
      if ((product >> kMagnitudeBits) != 0) return Fail(result, code);
      value = {sign, static_cast<Magnitude>(product)};
      return Outcome::kSuccess;
    }
    case OperatorCode::kDivide:
      if (right.magnitude == 0) return Fail(result, code);
      value = {sign, left.magnitude / right.magnitude};
      return Outcome::kSuccess;
    case OperatorCode::kRemainder:
      if (right.magnitude == 0) return Fail(result, code);
      value = {sign, left.magnitude % right.magnitude};
      return Outcome::kSuccess;
    default:  // kNone: the evaluator applies only live operators, so this never happens
      return Fail(result, code);
  }
}

}  // namespace intcalc
