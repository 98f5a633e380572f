#include "eval/arithmetic.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>

#include "eval/digit_runs.h"
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

// DigitCount: how many decimal digits a magnitude above zero has; no branch on its value.
// The bit width leaves two counts possible: 1233 / 4096 is log10(2) to four places, so the
// estimate from it is the count less one, or the count itself when the magnitude lies
// below the estimate's power of ten.
constexpr unsigned DigitCount(Magnitude magnitude) {
  constexpr std::array<Magnitude, kMostDigits> kPowersOfTen = {
      1, 10, 100, 1'000, 10'000, 100'000, 1'000'000, 10'000'000, 100'000'000, 1'000'000'000};
  constexpr unsigned kLog10Of2Scaled = 1233;
  constexpr unsigned kLog10Of2Shift = 12;
  const unsigned estimate =
      (static_cast<unsigned>(std::bit_width(magnitude)) * kLog10Of2Scaled) >> kLog10Of2Shift;
  return estimate + (magnitude >= kPowersOfTen[estimate] ? 1U : 0U);
}

// WriteDigits: the `count` digits of magnitude at out, most significant first. Eight at a
// time where chunks work; the stores may reach kChunkBytes past out, into a text's slack.
void WriteDigits(Magnitude magnitude, unsigned count, char* out) {
  if constexpr (kChunksWork) {
    static_assert(kTextSlack >= kChunkBytes);
    if (count <= kChunkBytes) {
      // The leading zeros are the chunk's first bytes; shifting them out brings NULs in.
      StoreChunk(out, DigitChunkOf(magnitude) >> (8 * (kChunkBytes - count)));
      return;
    }
    const Magnitude leading = magnitude / kChunkLimit;  // one or two digits
    if (count == kMostDigits) *out++ = static_cast<char>('0' + leading / kDecimalBase);
    *out++ = static_cast<char>('0' + leading % kDecimalBase);
    StoreChunk(out, DigitChunkOf(magnitude % kChunkLimit));
  } else {
    for (unsigned index = count; index > 0; --index, magnitude /= kDecimalBase) {
      out[index - 1] = static_cast<char>('0' + magnitude % kDecimalBase);
    }
  }
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
  const unsigned count = DigitCount(magnitude);
  if (count >= destination.Capacity()) {
    std::memset(destination.Storage(), kStarFill, destination.Capacity());
    destination.SetLength(destination.Capacity());
    return Outcome::kFailure;
  }
  const bool negative = sign != kPositive;
  char* out = destination.Storage();
  if (negative) *out++ = '-';
  WriteDigits(magnitude, count, out);
  destination.SetLength(count + (negative ? 1U : 0U));
  return Outcome::kSuccess;
}

}  // namespace intcalc
