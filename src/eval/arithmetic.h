// Sign-magnitude arithmetic and the decimal result text.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "eval/evaluation_tables.h"
#include "text/decimal.h"
#include "text/result_text.h"

namespace intcalc {

// OperatorFailure: the one way an operator can fail: the word ApplyOperator writes into the
// result text, and why, in words, for whoever watches.
struct OperatorFailure {
  TextView word;
  std::string_view why;
};

// FailureOf: how operator `code` fails when it does: a sum or a product beyond the range is
// "OVERFLOW", a division or a remainder by zero "ERROR", and so is a code of no operator.
OperatorFailure FailureOf(OperatorCode code);

// OperatorFailed: writes the word of FailureOf(code) into the result text and fails. Out of
// line and cold, as failures are rare.
[[gnu::noinline, gnu::cold]] Outcome OperatorFailed(ResultTextBuffer& result, OperatorCode code);

namespace detail {

constexpr unsigned kMagnitudeBits = 32;

// SignsMatch: compares the low bytes of two sign flags, the byte that carries a sign in
// the tables. Every flag the reader and the arithmetic store is 0 or 1, so this agrees
// with FormatResult's test of the whole word on every flag either of them is given.
constexpr bool SignsMatch(SignFlag left, SignFlag right) {
  constexpr SignFlag kLowByte = 0xFF;
  return (left & kLowByte) == (right & kLowByte);
}

// AddSigned: subtraction arrives here as addition of the negated right operand.
inline Outcome AddSigned(SignedMagnitude left, SignedMagnitude right, SignedMagnitude& value,
                         ResultTextBuffer& result) {
  if (SignsMatch(left.sign, right.sign)) {
    const std::uint64_t sum = std::uint64_t{left.magnitude} + right.magnitude;
    if (sum > kLargestMagnitude) return OperatorFailed(result, OperatorCode::kAdd);
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

}  // namespace detail

// ApplyOperator: computes left `code` right into `value` and succeeds, or writes the word of
// FailureOf(code) into the result text and fails. Defined here, inline, so that each
// precedence pass applies its operators in place of a call, and the strong pass tests no
// weak code: it pays 64 instructions an expression, 6.5% of the 977 an expression takes
// with a call (results form, callgrind, lines of 2 to 7 operands).
inline Outcome ApplyOperator(SignedMagnitude left, SignedMagnitude right, OperatorCode code,
                             SignedMagnitude& value, ResultTextBuffer& result) {
  switch (code) {
    case OperatorCode::kAdd:
      return detail::AddSigned(left, right, value, result);
    case OperatorCode::kSubtract:
      right.sign = right.sign == kPositive ? kNegative : kPositive;
      return detail::AddSigned(left, right, value, result);
    default:
      break;
  }

  // The strong operators all take the product sign, the remainder included.
  const SignFlag sign = detail::SignsMatch(left.sign, right.sign) ? kPositive : kNegative;
  switch (code) {
    case OperatorCode::kMultiply: {
      const std::uint64_t product = std::uint64_t{left.magnitude} * right.magnitude;
      if ((product >> detail::kMagnitudeBits) != 0) return OperatorFailed(result, code);
      value = {sign, static_cast<Magnitude>(product)};
      return Outcome::kSuccess;
    }
    case OperatorCode::kDivide:
      if (right.magnitude == 0) return OperatorFailed(result, code);
      value = {sign, left.magnitude / right.magnitude};
      return Outcome::kSuccess;
    case OperatorCode::kRemainder:
      if (right.magnitude == 0) return OperatorFailed(result, code);
      value = {sign, left.magnitude % right.magnitude};
      return Outcome::kSuccess;
    default:  // kNone: the evaluator applies only live operators, so this never happens
      return OperatorFailed(result, code);
  }
}

// FormatResult: writes the value as decimal text, "-" before the digits of a negative one;
// a magnitude of 0 is "0" whatever the sign. When the digits are not fewer than the
// destination's capacity, it fills the destination with "*" and fails: never in the result
// text, which a sign and ten digits always fit, so there the test costs nothing.
template <TextLength kCapacity>
Outcome FormatResult(SignedMagnitude value, TextBuffer<kCapacity>& destination) {
  constexpr char kStarFill = '*';
  const Decimal decimal(value.magnitude);
  const std::string_view digits = decimal.View();
  const TextSpan out = destination;
  if (digits.size() >= kCapacity) {
    for (TextLength index = 0; index < kCapacity; ++index)
      out.Storage()[index] = kStarFill;
    out.SetLength(kCapacity);
    return Outcome::kFailure;
  }
  TextLength length = 0;
  if (value.sign != kPositive && value.magnitude != 0) out.Storage()[length++] = '-';
  if constexpr (kCapacity > Decimal<Magnitude>::kMostDigits) {
    // Room for a sign and every decimal byte: they go at once, a length the compiler knows.
    std::memcpy(out.Storage() + length, decimal.Bytes(), Decimal<Magnitude>::kMostDigits);
    length += static_cast<TextLength>(digits.size());
  } else {
    for (const char digit : digits)
      out.Storage()[length++] = digit;  // the sign and the digits fit: checked above
  }
  out.SetLength(length);
  return Outcome::kSuccess;
}

}  // namespace intcalc
