// The evaluation's shared types and tables: signed magnitudes, operator codes, the
// operand pairs and operators the flat reader lays out and the precedence evaluator reduces.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "text/result_text.h"

namespace intcalc {

// Outcome: how every step that can fail reports; the words a person sees are in the
// result text, written once by the step that owns the failure.
enum class [[nodiscard]] Outcome : std::uint8_t{kFailure, kSuccess};

using SignFlag = std::uint32_t;  // 0 positive, 1 negative
using Magnitude = std::uint32_t;

inline constexpr SignFlag kPositive = 0;
inline constexpr SignFlag kNegative = 1;

// SignedMagnitude: zero may carry either sign and always prints as "0".
struct SignedMagnitude {
  SignFlag sign = kPositive;
  Magnitude magnitude = 0;
};

enum class OperatorCode : std::uint32_t {
  kNone = 0,  // no operator followed an operand; in the tables, an operator already applied
  kSubtract = 1,
  kAdd = 2,
  kMultiply = 3,
  kDivide = 4,
  kRemainder = 5,
};

// What a group's inner text is, by the first character that decides it.
enum class GroupKind : std::uint8_t {
  kNotANumber = 0,     // empty, or it starts with neither a sign nor a digit
  kTooManyDigits = 1,  // more than 20 digits
  kExpression = 2,     // something other than a digit after the first character
  kPlainNumber,        // an optional sign and at most 20 digits
};

// The positions of one group's "(" and ")" in the working text.
struct GroupBounds {
  TextLength open = 0;
  TextLength close = 0;
};

// IsDigit and IsSign: the characters an operand is made of.
constexpr bool IsDigit(char character) {
  return character >= '0' && character <= '9';
}
constexpr bool IsSign(char character) {
  return character == '-' || character == '+';
}

// IsStrong: multiplication, division and remainder bind tighter than the other two.
constexpr bool IsStrong(OperatorCode code) {
  return code >= OperatorCode::kMultiply;
}

// OperandPair: the operands on both sides of one operator.
struct OperandPair {
  SignFlag leftSign = kPositive;
  Magnitude leftMagnitude = 0;
  SignFlag rightSign = kPositive;
  Magnitude rightMagnitude = 0;
};

// The most operators one flat evaluation takes; more give "ERROR".
inline constexpr std::uint32_t kTableCapacity = 200;

// kNoOperator: an index that names no operator of the tables.
inline constexpr std::uint32_t kNoOperator = kTableCapacity;

// PairList: pair k holds operands k and k + 1. The last operand's left half is written
// one record past the last operator, hence the extra record.
struct PairList {
  static constexpr std::uint32_t kCapacity = kTableCapacity;
  std::uint32_t count = 0;
  std::array<OperandPair, kCapacity + 1> pairs{};
};

// OperatorList: entry k is the operator between pair k's two operands.
struct OperatorList {
  static constexpr std::uint32_t kCapacity = kTableCapacity;
  std::uint32_t count = 0;
  std::array<OperatorCode, kCapacity> codes{};
};

// The shared tables, alive for the whole run and reset by count for every evaluation.
inline PairList& Pairs() {
  static constinit PairList pairList;
  return pairList;
}

inline OperatorList& Operators() {
  static constinit OperatorList operatorList;
  return operatorList;
}

// ArithmeticResult: where every arithmetic step writes its value; never reset.
inline SignedMagnitude& ArithmeticResult() {
  static constinit SignedMagnitude arithmeticResult;
  return arithmeticResult;
}

}  // namespace intcalc
