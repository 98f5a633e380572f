#include "eval/flat_reader.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "eval/precedence.h"
#include "text/result_text.h"

namespace intcalc {

namespace {

constexpr char kBlank = ' ';
// MergeLeadingSigns looks at three characters: two signs to fold and the one after them.
constexpr std::size_t kSignsExamined = 2;

constexpr bool IsDigit(char character) {
  return character >= '0' && character <= '9';
}
constexpr bool IsSign(char character) {
  return character == '-' || character == '+';
}

constexpr OperatorCode OperatorFor(char character) {
  switch (character) {
    case '-':
      return OperatorCode::kSubtract;
    case '+':
      return OperatorCode::kAdd;
    case '*':
      return OperatorCode::kMultiply;
    case '/':
      return OperatorCode::kDivide;
    case '\\':
      return OperatorCode::kRemainder;
    default:
      return OperatorCode::kNone;
  }
}

// The reader's state, reset for every operand.
constinit TextBuffer<kOperandDigitsCapacity> operandDigits;
constinit SignFlag currentSign = kPositive;
constinit OperatorCode currentOperator = OperatorCode::kNone;

Outcome Fail(std::string_view word) {
  SetResultText(word);
  return Outcome::kFailure;
}

// ReadNextOperand: ReadOperand into the reader's state, then the digits without leading zeros.
Outcome ReadNextOperand(std::string_view& rest) {
  if (ReadOperand(rest, operandDigits, currentSign, currentOperator) == Outcome::kFailure) {
    return Outcome::kFailure;
  }
  StripLeadingZeros(operandDigits);
  return Outcome::kSuccess;
}

}  // namespace

Outcome MergeLeadingSigns(TextSpan text, std::string_view& rest) {
  if (rest.size() <= kSignsExamined) return Outcome::kSuccess;
  if (!IsSign(rest[0]) || !IsSign(rest[1])) return Outcome::kSuccess;
  const TextLength first = text.Length() - static_cast<TextLength>(rest.size());
  text.Put(first + 1, rest[0] == rest[1] ? '+' : '-');
  if (IsSign(rest[kSignsExamined])) return Outcome::kFailure;
  text.Put(first, kBlank);
  rest.remove_prefix(1);
  return Outcome::kSuccess;
}

Outcome ReadOperand(std::string_view& rest, TextSpan digits, SignFlag& sign,
                    OperatorCode& operatorCode) {
  if (rest.empty()) return Outcome::kFailure;
  operatorCode = OperatorCode::kNone;

  const char first = rest.front();
  if (IsSign(first)) {
    sign = first == '-' ? kNegative : kPositive;
    rest.remove_prefix(1);
  } else if (IsDigit(first)) {
    sign = kPositive;
  } else {
    return Outcome::kFailure;
  }

  const std::size_t digitCount =
      static_cast<std::size_t>(std::find_if_not(rest.begin(), rest.end(), IsDigit) - rest.begin());
  if (digitCount > digits.Capacity()) return Outcome::kFailure;
  CopyText(rest.substr(0, digitCount), digits);
  rest.remove_prefix(digitCount);

  if (rest.empty()) return digitCount == 0 ? Outcome::kFailure : Outcome::kSuccess;
  operatorCode = OperatorFor(rest.front());
  rest.remove_prefix(1);
  if (operatorCode == OperatorCode::kNone || rest.empty()) return Outcome::kFailure;
  return Outcome::kSuccess;
}

Outcome DigitsToMagnitude(std::string_view digits, Magnitude& magnitude) {
  constexpr std::uint64_t kDecimalBase = 10;
  constexpr std::uint64_t kLimit = std::numeric_limits<Magnitude>::max();
  std::uint64_t value = 0;
  for (const char digit : digits) {
    value = value * kDecimalBase + static_cast<std::uint64_t>(digit - '0');
    if (value > kLimit) return Outcome::kFailure;
  }
  magnitude = static_cast<Magnitude>(value);
  return Outcome::kSuccess;
}

Outcome PushOperator(OperatorCode code) {
  OperatorList& operators = Operators();
  if (operators.count + 1 > OperatorList::kCapacity) return Outcome::kFailure;
  operators.codes[operators.count++] = code;
  return Outcome::kSuccess;
}

void AddOperand(SignFlag sign, Magnitude magnitude) {
  PairList& pairs = Pairs();
  CheckBounds(pairs.count > 0 && pairs.count < pairs.pairs.size());
  OperandPair& next = pairs.pairs[pairs.count];
  OperandPair& previous = pairs.pairs[pairs.count - 1];
  next.leftSign = previous.rightSign = sign;
  next.leftMagnitude = previous.rightMagnitude = magnitude;
  ++pairs.count;
}

Outcome EvaluateFlat(TextSpan text) {
  std::string_view rest = text.View();
  if (MergeLeadingSigns(text, rest) == Outcome::kFailure) return Fail(kErrorWord);

  Pairs().count = 0;
  Operators().count = 0;
  ClearText(ResultText());
  ClearText(operandDigits);

  if (ReadNextOperand(rest) == Outcome::kFailure) return Fail(kErrorWord);
  if (rest.empty()) {
    // A lone operand is shown as typed, blank of a folded sign included, unconverted.
    CopyText(text.View(), ResultText());
    return Outcome::kSuccess;
  }

  (void)PushOperator(currentOperator);  // the table is empty, so this cannot fail
  Magnitude magnitude = 0;
  if (DigitsToMagnitude(operandDigits, magnitude) == Outcome::kFailure) {
    return Fail(kOverflowWord);
  }
  Pairs().pairs[0].leftSign = currentSign;
  Pairs().pairs[0].leftMagnitude = magnitude;
  Pairs().count = 1;

  // Every operand is converted as soon as it is read; no operator runs before the whole
  // text has been read.
  while (true) {
    if (ReadNextOperand(rest) == Outcome::kFailure) return Fail(kErrorWord);
    if (rest.empty()) break;
    if (PushOperator(currentOperator) == Outcome::kFailure) return Fail(kErrorWord);
    if (DigitsToMagnitude(operandDigits, magnitude) == Outcome::kFailure) {
      return Fail(kOverflowWord);
    }
    AddOperand(currentSign, magnitude);
  }
  if (DigitsToMagnitude(operandDigits, magnitude) == Outcome::kFailure) {
    return Fail(kOverflowWord);
  }
  AddOperand(currentSign, magnitude);
  Pairs().count = Operators().count;
  return ResolveIt();
}

}  // namespace intcalc
