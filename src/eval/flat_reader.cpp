#include "eval/flat_reader.h"

#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

#include "eval/precedence.h"
#include "text/decimal.h"

namespace intcalc {

namespace {

// kSignsFolded: the leading signs MergeLeadingSigns folds, when something follows them.
constexpr std::size_t kSignsFolded = 2;

using OperatorTable = std::array<OperatorCode, 256>;

// Slot: where a byte's operator code stands in the table: at the byte's digit value, its
// distance from "0", which the reader has in hand when it meets the byte after an
// operand's digits.
constexpr unsigned char Slot(unsigned digitValue) {
  return static_cast<unsigned char>(digitValue);
}

// MakeOperatorTable: the code of each operator symbol at the symbol's slot, kNone elsewhere.
constexpr OperatorTable MakeOperatorTable() {
  OperatorTable codes{};
  for (std::size_t code = 1; code < kOperatorSymbols.size(); ++code) {
    codes[Slot(DigitValue(kOperatorSymbols[code]))] = static_cast<OperatorCode>(code);
  }
  return codes;
}

// The operator each byte stands for; a table, as operators come in no order a processor
// could predict.
constexpr OperatorTable kOperatorCodes = MakeOperatorTable();

// OperatorAt: the operator of the byte of this digit value; kNone for every byte but an
// operator's, the NUL after the text included.
constexpr OperatorCode OperatorAt(unsigned digitValue) {
  return kOperatorCodes[Slot(digitValue)];
}

constexpr std::string_view kMalformed = "an operand or the operator after it is malformed";
constexpr LimitText kBeyondRange{"an operand beyond ", kLargestMagnitude, ""};

// kExactDigits: the digits whose value 64 bits always hold exactly.
constexpr std::size_t kExactDigits = std::numeric_limits<std::uint64_t>::digits10;
// kBeyondAnyMagnitude: the value of an operand whose digits 64 bits do not hold.
constexpr std::uint64_t kBeyondAnyMagnitude = std::numeric_limits<std::uint64_t>::max();

// Operand: one operand as ReadOperand found it: its sign, its digits where they stand in
// the text, their value, or kBeyondAnyMagnitude where 64 bits do not hold it, and the
// operator after it, kNone after the last operand.
struct Operand {
  SignFlag sign = kPositive;
  std::string_view digits;
  std::uint64_t value = 0;
  OperatorCode next = OperatorCode::kNone;
};

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

// ReadDigits: converts the digits from `at` on, the first of them already converted into
// `value`; returns where they end, and the digit value of the byte there in `stop`.
inline const char* ReadDigits(const char* at, std::uint64_t& value, unsigned& stop) {
  std::uint64_t sum = value;
  unsigned digit = DigitValue(*++at);
  for (; digit < kDecimalBase; digit = DigitValue(*++at))
    sum = sum * kDecimalBase + digit;
  value = sum;
  stop = digit;
  return at;
}

// ReadOperand: reads an optional sign, digits and the operator after them from `cursor`,
// the part of the text not yet read, converting the digits as it reads them, and steps
// `cursor` past them; on failure `cursor` is left where the operand began. A sign followed
// directly by an operator is an operand without digits. The NUL after the text, which is
// neither a sign nor a digit, ends the digits at `end`.
Outcome ReadOperand(const char*& cursor, const char* end, Operand& operand) {
  operand.sign = kPositive;
  const char* digits = cursor;
  const char* at = digits;
  std::uint64_t value = DigitValue(*at);
  unsigned stop = 0;           // the digit value of the byte after the digits
  if (value < kDecimalBase) {  // most operands have no sign: their first digit is tested once
    at = ReadDigits(at, value, stop);
  } else {
    if (!IsSign(*at)) return Outcome::kFailure;
    operand.sign = *at == '-' ? kNegative : kPositive;
    digits = ++at;
    value = DigitValue(*at);
    if (value < kDecimalBase) {
      at = ReadDigits(at, value, stop);
    } else {
      stop = static_cast<unsigned>(value);
      value = 0;
    }
  }
  const auto count = static_cast<std::size_t>(at - digits);
  if (count > kExactDigits) {
    if (count > kOperandDigitsCapacity) return Outcome::kFailure;
    // The value may have wrapped: it stands only where the digits before the largest
    // magnitude's count are all zeros, and it is beyond the range otherwise.
    const std::string_view all(digits, count);
    if (all.find_first_not_of('0') < count - kMagnitudeDigits) value = kBeyondAnyMagnitude;
  }
  operand.digits = {digits, count};
  operand.value = value;

  // The NUL after the text stands for no operator, as every byte but an operator's does.
  operand.next = OperatorAt(stop);
  if (operand.next == OperatorCode::kNone) {
    // A byte that is no operator's before the end, or a sign alone at the end.
    if (at != end || count == 0) return Outcome::kFailure;
    cursor = at;
    return Outcome::kSuccess;
  }
  if (++at == end) return Outcome::kFailure;
  cursor = at;
  return Outcome::kSuccess;
}

// InRange: whether the operand's magnitude is within the range.
constexpr bool InRange(const Operand& operand) {
  return operand.value <= kLargestMagnitude;
}

// Overflowed: the failure of an operand beyond the range, of these digits. A watcher is
// shown them without leading zeros, copied into `shown` for it alone. It takes the digits
// rather than the operand, whose address would keep the reader's operand out of registers.
[[gnu::noinline, gnu::cold]] Outcome Overflowed(std::string_view digits, OperandDigits& shown,
                                                ResultTextBuffer& result, Watch watch) {
  if (watch.watcher == nullptr) return FailWith(result, watch, kOverflowWord, kBeyondRange);
  // Beyond the range, an operand has a digit other than 0.
  std::string_view significant = digits;
  significant.remove_prefix(significant.find_first_not_of('0'));
  const TextSpan span = shown;
  TextLength count = 0;
  for (const char digit : significant)
    span.Storage()[count++] = digit;  // at most kOperandDigitsCapacity: ReadOperand's limit
  span.SetLength(count);
  return FailWith(result, watch, kOverflowWord, kBeyondRange, shown.View());
}

}  // namespace

Outcome EvaluateFlat(Evaluation& evaluation, Scope scope) {
  const TextSpan text =
      scope == Scope::kExpression ? evaluation.working.Span() : evaluation.group.Span();
  FlatEvaluation& flat = evaluation.flat;
  ResultTextBuffer& result = evaluation.result;
  const Watch watch{evaluation.watcher, scope};
  std::string_view rest = text.View();
  bool folded = false;
  if (MergeLeadingSigns(text, rest, folded) == Outcome::kFailure) {
    return FailWith(result, watch, kErrorWord, "three signs lead the text");
  }
  if (folded) Tell(watch.watcher, &EvaluationWatcher::SignsFolded, watch.scope, TextView(text));

  // Each operator follows a character of its operand, so a text of this length fits the
  // tables whatever it holds.
  CheckBounds(rest.size() / 2 <= OperatorList::kCapacity);
  EvaluationTables& tables = flat.tables;
  OperandPair* const firstPair = tables.pairs.pairs.data();
  OperatorCode* const firstCode = tables.operators.codes.data();
  OperandPair* pair = firstPair;  // the pair whose left half the next operand is
  OperatorCode* code = firstCode;
  const char* cursor = rest.data();
  const char* const end = cursor + rest.size();
  Operand operand;
  // Every operand is converted as soon as it is read, the last one unless it is alone; no
  // operator runs before the whole text has been read.
  while (true) {
    if (ReadOperand(cursor, end, operand) == Outcome::kFailure) {
      return FailWith(result, watch, kErrorWord, kMalformed,
                      {cursor, static_cast<std::size_t>(end - cursor)});  // where it began
    }
    if (operand.next == OperatorCode::kNone) break;
    if (!InRange(operand)) return Overflowed(operand.digits, flat.digits, result, watch);
    (pair++)->left = {operand.sign, static_cast<Magnitude>(operand.value)};
    *code++ = operand.next;
  }
  const auto count = static_cast<std::uint32_t>(code - firstCode);  // the operators read
  if (count == 0) {
    // A lone operand is shown as typed, blank of a folded sign included, unconverted, and
    // cut to the result text, as the copy cuts it.
    CopyText(text, result);
    Tell(watch.watcher, &EvaluationWatcher::LoneOperand, watch.scope, TextView(text),
         TextView(result));
    return Outcome::kSuccess;
  }
  if (!InRange(operand)) return Overflowed(operand.digits, flat.digits, result, watch);
  pair->left = {operand.sign, static_cast<Magnitude>(operand.value)};
  tables.operators.count = count;
  if (watch.watcher != nullptr) {
    // The right halves, a copy of the next pair's left that only a watcher reads.
    for (OperandPair* each = firstPair; each != pair; ++each)
      each->right = (each + 1)->left;
    TellWatcher(*watch.watcher, &EvaluationWatcher::TablesRead, watch.scope,
                static_cast<const EvaluationTables&>(tables));
  }
  return ResolveIt(tables, flat.value, result, watch);
}

}  // namespace intcalc
