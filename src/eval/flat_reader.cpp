#include "eval/flat_reader.h"

#include <array>
#include <cstdint>
#include <limits>

#include "eval/precedence.h"
#include "eval/trace_points.h"
#include "text/result_text.h"

namespace intcalc {

namespace {

// MergeLeadingSigns looks at three characters: two signs to fold and the one after them.
constexpr std::size_t kSignsExamined = 2;

// The operator each character stands for; a table, as operators come in no order a
// processor could predict.
constexpr std::array<OperatorCode, 256> kOperatorCodes = [] {
  std::array<OperatorCode, 256> codes{};
  codes['-'] = OperatorCode::kSubtract;
  codes['+'] = OperatorCode::kAdd;
  codes['*'] = OperatorCode::kMultiply;
  codes['/'] = OperatorCode::kDivide;
  codes['\\'] = OperatorCode::kRemainder;
  return codes;
}();

constexpr OperatorCode OperatorFor(char character) {
  return kOperatorCodes[static_cast<unsigned char>(character)];
}

// The reader's state, reset for every operand.
constinit OperandDigits operandDigits;
constinit SignFlag currentSign = kPositive;
constinit OperatorCode currentOperator = OperatorCode::kNone;

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
  Tell(&EvaluationWatcher::SignsFolded, text);
  return Outcome::kSuccess;
}

Outcome ReadOperand(std::string_view& rest, TextSpan digits, SignFlag& sign,
                    OperatorCode& operatorCode) {
  const char* cursor = rest.data();
  const char* const end = cursor + rest.size();
  if (cursor == end) return Outcome::kFailure;
  operatorCode = OperatorCode::kNone;

  if (IsSign(*cursor)) {
    sign = *cursor == '-' ? kNegative : kPositive;
    ++cursor;
  } else if (IsDigit(*cursor)) {
    sign = kPositive;
  } else {
    return Outcome::kFailure;
  }

  char* const stored = digits.Storage();
  TextLength count = 0;
  for (; cursor != end && IsDigit(*cursor); ++cursor) {
    if (count == digits.Capacity()) return Outcome::kFailure;
    stored[count++] = *cursor;  // count < capacity, checked just above
  }
  digits.SetLength(count);

  if (cursor == end) {
    if (count == 0) return Outcome::kFailure;  // a sign alone at the end
    rest = {};
    return Outcome::kSuccess;
  }
  operatorCode = OperatorFor(*cursor++);
  if (operatorCode == OperatorCode::kNone || cursor == end) return Outcome::kFailure;
  rest = {cursor, static_cast<std::size_t>(end - cursor)};
  return Outcome::kSuccess;
}

Outcome DigitsToMagnitude(const OperandDigits& digits, Magnitude& magnitude) {
  constexpr std::uint64_t kDecimalBase = 10;
  constexpr std::uint64_t kLimit = std::numeric_limits<Magnitude>::max();
  std::uint64_t value = 0;
  for (const char digit : digits.View()) {
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

namespace {

constexpr std::string_view kMalformed = "an operand or the operator after it is malformed";
constexpr std::string_view kBeyondRange = "an operand beyond 4294967295";

}  // namespace

Outcome EvaluateFlat(TextSpan text) {
  std::string_view rest = text.View();
  if (MergeLeadingSigns(text, rest) == Outcome::kFailure) {
    return FailWith(kErrorWord, "three signs lead the text");
  }

  Pairs().count = 0;
  Operators().count = 0;
  ClearText(ResultText());
  ClearText(operandDigits);

  if (ReadNextOperand(rest) == Outcome::kFailure) return FailWith(kErrorWord, kMalformed, rest);
  if (rest.empty()) {
    // A lone operand is shown as typed, blank of a folded sign included, unconverted.
    CopyText(text, ResultText());
    Tell(&EvaluationWatcher::LoneOperand);
    return Outcome::kSuccess;
  }

  (void)PushOperator(currentOperator);  // the table is empty, so this cannot fail
  Magnitude magnitude = 0;
  if (DigitsToMagnitude(operandDigits, magnitude) == Outcome::kFailure) {
    return FailWith(kOverflowWord, kBeyondRange, operandDigits.View());
  }
  Pairs().pairs[0].leftSign = currentSign;
  Pairs().pairs[0].leftMagnitude = magnitude;
  Pairs().count = 1;

  // Every operand is converted as soon as it is read; no operator runs before the whole
  // text has been read.
  while (true) {
    if (ReadNextOperand(rest) == Outcome::kFailure) {
      return FailWith(kErrorWord, kMalformed, rest);  // rest starts where the operand did
    }
    if (rest.empty()) break;
    if (PushOperator(currentOperator) == Outcome::kFailure) {
      return FailWith(kErrorWord, "more than 200 operators");
    }
    if (DigitsToMagnitude(operandDigits, magnitude) == Outcome::kFailure) {
      return FailWith(kOverflowWord, kBeyondRange, operandDigits.View());
    }
    AddOperand(currentSign, magnitude);
  }
  if (DigitsToMagnitude(operandDigits, magnitude) == Outcome::kFailure) {
    return FailWith(kOverflowWord, kBeyondRange, operandDigits.View());
  }
  AddOperand(currentSign, magnitude);
  Pairs().count = Operators().count;
  Tell(&EvaluationWatcher::TablesRead);
  return ResolveIt();
}

}  // namespace intcalc
