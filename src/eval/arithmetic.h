// Sign-magnitude arithmetic and the decimal result text.
#pragma once

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

// ApplyOperator: computes left `code` right into `value` and succeeds, or writes the word of
// FailureOf(code) into the result text and fails.
Outcome ApplyOperator(SignedMagnitude left, SignedMagnitude right, OperatorCode code,
                      SignedMagnitude& value, ResultTextBuffer& result);

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
    std::memcpy(out.Storage() + length, decimal.Bytes().data(), decimal.Bytes().size());
    length += static_cast<TextLength>(digits.size());
  } else {
    for (const char digit : digits)
      out.Storage()[length++] = digit;  // the sign and the digits fit: checked above
  }
  out.SetLength(length);
  return Outcome::kSuccess;
}

}  // namespace intcalc
