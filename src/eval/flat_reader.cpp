#include "eval/flat_reader.h"

#include <array>
#include <cstdint>
#include <numeric>
#include <string_view>

#include "eval/precedence.h"
#include "text/decimal.h"

namespace intcalc {

namespace {

// kSignsFolded: the leading signs MergeLeadingSigns folds, when something follows them.
constexpr std::size_t kSignsFolded = 2;

using OperatorTable = std::array<OperatorCode, 256>;

// MakeOperatorTable: the code of each operator symbol at the symbol's byte, kNone elsewhere.
constexpr OperatorTable MakeOperatorTable() {
  OperatorTable codes{};
  for (std::size_t code = 1; code < kOperatorSymbols.size(); ++code) {
    codes[static_cast<unsigned char>(kOperatorSymbols[code])] = static_cast<OperatorCode>(code);
  }
  return codes;
}

// The operator each character stands for; a table, as operators come in no order a
// processor could predict.
constexpr OperatorTable kOperatorCodes = MakeOperatorTable();

constexpr OperatorCode OperatorFor(char character) {
  return kOperatorCodes[static_cast<unsigned char>(character)];
}

constexpr std::string_view kMalformed = "an operand or the operator after it is malformed";
constexpr LimitText kBeyondRange{"an operand beyond ", kLargestMagnitude, ""};
constexpr LimitText kTooManyOperators{"more than ", kTableCapacity, " operators"};

// MergeLeadingSigns: folds two leading signs into one, blanking the first and stepping
// `rest` past it, and says in `folded` whether it did; fails on three leading signs, the
// second of them already rewritten.
Outcome MergeLeadingSigns(TextSpan text, std::string_view& rest, bool& folded) {
  folded = false;
  if (rest.size() <= kSignsFolded) return Outcome::kSuccess;
  if (!IsSign(rest[0]) || !IsSign(rest[1])) return Outcome::kSuccess;
  text.Put(1, rest[0] == rest[1] ? '+' : '-');
  if (IsSign(rest[kSignsFolded])) return Outcome::kFailure;
  text.Put(0, kBlank);
  rest.remove_prefix(1);
  folded = true;
  return Outcome::kSuccess;
}

// ReadOperand: reads an optional sign, digits, and the operator after them from `rest`,
// the part of the text not yet read, and steps `rest` past them; on failure `rest` is left
// where the operand began. A sign followed directly by an operator is an operand without
// digits.
Outcome ReadOperand(std::string_view& rest, ReaderState& reader) {
  const char* cursor = rest.data();
  const char* const end = cursor + rest.size();
  if (cursor == end) return Outcome::kFailure;
  reader.operatorCode = OperatorCode::kNone;

  if (IsSign(*cursor)) {
    reader.sign = *cursor == '-' ? kNegative : kPositive;
    ++cursor;
  } else if (IsDigit(*cursor)) {
    reader.sign = kPositive;
  } else {
    return Outcome::kFailure;
  }

  TextSpan digits = reader.digits;
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
  reader.operatorCode = OperatorFor(*cursor++);
  if (reader.operatorCode == OperatorCode::kNone || cursor == end) return Outcome::kFailure;
  rest = {cursor, static_cast<std::size_t>(end - cursor)};
  return Outcome::kSuccess;
}

// ReadNextOperand: ReadOperand, then the digits without leading zeros.
Outcome ReadNextOperand(std::string_view& rest, ReaderState& reader) {
  if (ReadOperand(rest, reader) == Outcome::kFailure) return Outcome::kFailure;
  StripLeadingZeros(reader.digits);
  return Outcome::kSuccess;
}

// DigitsToMagnitude: the value of the operand's digits, which have no leading zeros
// (ReadNextOperand strips them); fails when it leaves 32 bits.
Outcome DigitsToMagnitude(const OperandDigits& digits, Magnitude& magnitude) {
  // More digits than the largest value has leave 32 bits; that many fit in 64.
  const std::string_view text = digits.View();
  if (text.size() > kMagnitudeDigits) return Outcome::kFailure;
  const std::uint64_t value = std::accumulate(
      text.begin(), text.end(), std::uint64_t{0}, [](std::uint64_t sum, char digit) {
        return sum * kDecimalBase + static_cast<std::uint64_t>(digit - '0');
      });
  if (value > kLargestMagnitude) return Outcome::kFailure;
  magnitude = static_cast<Magnitude>(value);
  return Outcome::kSuccess;
}

// PushOperator: appends to the operator table; fails, changing nothing, when it is full.
// A whole working text has fewer operators than the table holds, so it never fails.
Outcome PushOperator(OperatorList& operators, OperatorCode code) {
  if (operators.count + 1 > OperatorList::kCapacity) return Outcome::kFailure;
  operators.codes[operators.count++] = code;
  return Outcome::kSuccess;
}

// AddOperand: the operand after the latest operator, as the right half of the pair before
// it and the left half of the next.
void AddOperand(PairList& pairs, SignedMagnitude operand) {
  CheckBounds(pairs.count > 0 && pairs.count < pairs.pairs.size());
  pairs.pairs[pairs.count].left = pairs.pairs[pairs.count - 1].right = operand;
  ++pairs.count;
}

}  // namespace

Outcome EvaluateFlat(TextSpan text, FlatEvaluation& flat, ResultTextBuffer& result, Watch watch) {
  ReaderState& reader = flat.reader;
  EvaluationTables& tables = flat.tables;
  std::string_view rest = text.View();
  bool folded = false;
  if (MergeLeadingSigns(text, rest, folded) == Outcome::kFailure) {
    return FailWith(result, watch, kErrorWord, "three signs lead the text");
  }
  if (folded) Tell(watch.watcher, &EvaluationWatcher::SignsFolded, watch.scope, TextView(text));

  tables.operators.count = 0;  // the pairs begin afresh at the first operator
  ClearText(result);
  ClearText(reader.digits);

  if (ReadNextOperand(rest, reader) == Outcome::kFailure) {
    return FailWith(result, watch, kErrorWord, kMalformed, rest);
  }
  if (rest.empty()) {
    // A lone operand is shown as typed, blank of a folded sign included, unconverted.
    CopyText(text, result);
    Tell(watch.watcher, &EvaluationWatcher::LoneOperand, watch.scope, TextView(text),
         TextView(result));
    return Outcome::kSuccess;
  }

  (void)PushOperator(tables.operators, reader.operatorCode);  // the table is empty
  Magnitude magnitude = 0;
  if (DigitsToMagnitude(reader.digits, magnitude) == Outcome::kFailure) {
    return FailWith(result, watch, kOverflowWord, kBeyondRange, reader.digits.View());
  }
  tables.pairs.pairs[0].left = {reader.sign, magnitude};
  tables.pairs.count = 1;

  // Every operand is converted as soon as it is read; no operator runs before the whole
  // text has been read.
  while (true) {
    if (ReadNextOperand(rest, reader) == Outcome::kFailure) {
      return FailWith(result, watch, kErrorWord, kMalformed, rest);  // where the operand began
    }
    if (rest.empty()) break;
    if (PushOperator(tables.operators, reader.operatorCode) == Outcome::kFailure) {
      return FailWith(result, watch, kErrorWord, kTooManyOperators);
    }
    if (DigitsToMagnitude(reader.digits, magnitude) == Outcome::kFailure) {
      return FailWith(result, watch, kOverflowWord, kBeyondRange, reader.digits.View());
    }
    AddOperand(tables.pairs, {reader.sign, magnitude});
  }
  if (DigitsToMagnitude(reader.digits, magnitude) == Outcome::kFailure) {
    return FailWith(result, watch, kOverflowWord, kBeyondRange, reader.digits.View());
  }
  AddOperand(tables.pairs, {reader.sign, magnitude});
  Tell(watch.watcher, &EvaluationWatcher::TablesRead, watch.scope,
       static_cast<const EvaluationTables&>(tables));
  return ResolveIt(tables, flat.value, result, watch);
}

}  // namespace intcalc
