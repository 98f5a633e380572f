// The evaluation's types and tables: signed magnitudes, operator codes, and the operand
// pairs and operators the flat reader lays out and the precedence evaluator reduces.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "text/limits.h"
#include "text/text_buffer.h"

namespace intcalc {

// Outcome: how every step that can fail reports; the words a person sees are in the
// result text, written once by the step that owns the failure.
enum class [[nodiscard]] Outcome : std::uint8_t{kFailure, kSuccess};

using SignFlag = std::uint32_t;  // 0 positive, 1 negative
using Magnitude = std::uint32_t;
static_assert(std::numeric_limits<Magnitude>::max() == kLargestMagnitude);

inline constexpr SignFlag kPositive = 0;
inline constexpr SignFlag kNegative = 1;

// SignedMagnitude: zero may carry either sign and always prints as "0".
struct SignedMagnitude {
  SignFlag sign = kPositive;
  Magnitude magnitude = 0;
};

// OperatorCode: one of the five operators. In the tables, kNone marks a strong operator
// already applied; a weak one keeps its code after it is applied, as nothing looks for it
// again.
enum class OperatorCode : std::uint32_t {
  kNone = 0,  // also: no operator followed an operand
  kSubtract = 1,
  kAdd = 2,
  kMultiply = 3,
  kDivide = 4,
  kRemainder = 5,
};

// kOperatorSymbols: entry k is the character that stands for OperatorCode k; the reader's
// table of codes and the trace's symbols are both made from it.
inline constexpr std::array<char, 6> kOperatorSymbols = {'\0', '-', '+', '*', '/', '\\'};
static_assert(kOperatorSymbols.size() == static_cast<std::size_t>(OperatorCode::kRemainder) + 1);
static_assert(kOperatorSymbols[static_cast<std::size_t>(OperatorCode::kSubtract)] == '-');
static_assert(kOperatorSymbols[static_cast<std::size_t>(OperatorCode::kRemainder)] == '\\');

constexpr char SymbolOf(OperatorCode code) {
  return kOperatorSymbols[static_cast<std::size_t>(code)];
}

// IsStrong: multiplication, division and remainder bind tighter than the other two.
constexpr bool IsStrong(OperatorCode code) {
  return code >= OperatorCode::kMultiply;
}

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

// DigitValue: the value of a digit; 10 or more for any other character.
constexpr unsigned DigitValue(char character) {
  return static_cast<unsigned char>(character) - unsigned{'0'};
}

// OperandPair: the operands on both sides of one operator.
struct OperandPair {
  SignedMagnitude left;
  SignedMagnitude right;
};

// kNoOperator: an index that names no operator of the tables.
inline constexpr std::uint32_t kNoOperator = kTableCapacity;

// PairList: pair k holds operands k and k + 1, the operands of operator k. The passes read
// and write left halves alone, each operator's right operand being the left half of the
// next live one; the right halves are kept for a watcher only. The last operand is the
// left half of one record past the last operator, hence the extra record.
struct PairList {
  static constexpr std::uint32_t kCapacity = kTableCapacity;
  std::array<OperandPair, kCapacity + 1> pairs{};  // in use: one more than the operators
};

// OperatorList: entry k is the operator between pair k's two operands. The weak operators
// are also kept in a list, in order, that the strong pass makes: entry k of a weak one is
// the next weak one, or `count` after the last; the entry past the last operator, the
// first weak one.
struct OperatorList {
  static constexpr std::uint32_t kCapacity = kTableCapacity;
  std::uint32_t count = 0;
  std::array<OperatorCode, kCapacity> codes{};
  std::array<std::uint8_t, kCapacity + 1> nextWeak{};
};
static_assert(OperatorList::kCapacity <= std::numeric_limits<std::uint8_t>::max());

// EvaluationTables: what the reader lays out and the precedence evaluator reduces; reset
// by count for every flat evaluation.
struct EvaluationTables {
  OperatorList operators;
  PairList pairs;
};

using OperandDigits = TextBuffer<kOperandDigitsCapacity>;

// FlatEvaluation: what the evaluation of a text without parentheses works with.
struct FlatEvaluation {
  OperandDigits digits;  // an operand's digits beyond the range, shown to a watcher alone
  EvaluationTables tables;
  SignedMagnitude value;  // where every arithmetic step writes its value; never reset
};

}  // namespace intcalc
