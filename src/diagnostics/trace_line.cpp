#include "diagnostics/trace_line.h"

#include "text/decimal.h"

namespace intcalc {

namespace {

constexpr char kAppliedSymbol = '.';
constexpr char kFirstPrintable = ' ';
constexpr char kLastPrintable = '~';
constexpr char kBackslash = '\\';
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

}  // namespace

void TraceLine::Clear() {
  bytes_.Clear();
  marks_.Clear();
}

void TraceLine::Add(std::string_view text) {
  for (const char byte : text)
    Add(byte);
}

void TraceLine::Add(char byte, bool continuing) {
  bytes_.Push(byte);  // every line the trace makes fits: see kTraceLineCapacity
  marks_.Push(static_cast<std::uint8_t>((continuing ? kContinuing : 0) | (quoting_ ? kQuoted : 0)));
}

void TraceLine::AddShown(std::string_view text) {
  const bool quoted = text.empty() || text.find(kBlank) != std::string_view::npos;
  if (quoted) Add('"');
  quoting_ = quoted;
  for (const char byte : text) {
    if (byte == kBackslash) {
      Add(kBackslash);
      Add(kBackslash, true);
    } else if (byte >= kFirstPrintable && byte <= kLastPrintable) {
      Add(byte);
    } else {
      const auto value = static_cast<unsigned char>(byte);
      Add(kBackslash);
      Add('x', true);
      Add(kHexDigits[value / kHexDigits.size()], true);
      Add(kHexDigits[value % kHexDigits.size()], true);
    }
  }
  quoting_ = false;
  if (quoted) Add('"');
}

void TraceLine::AddNumber(std::uint32_t number) {
  Add(Decimal(number).View());
}

void TraceLine::AddOperand(SignedMagnitude operand) {
  if (operand.sign != kPositive) Add('-');
  AddNumber(operand.magnitude);
}

void TraceLine::AddOperator(OperatorCode code) {
  const char symbol = code == OperatorCode::kNone ? kAppliedSymbol : SymbolOf(code);
  AddShown({&symbol, 1});  // the remainder's backslash as \\, as everywhere
}

void TraceLine::AddTables(const EvaluationTables& tables) {
  const OperatorList& operators = tables.operators;
  for (std::uint32_t k = 0; k < operators.count; ++k) {
    if (k > 0) Add(' ');
    AddOperator(operators.codes[k]);
  }
  Add("  |  ");
  for (std::uint32_t k = 0; k < operators.count; ++k) {
    const OperandPair& pair = tables.pairs.pairs[k];
    if (k > 0) Add(' ');
    AddOperand(pair.left);
    Add(',');
    AddOperand(pair.right);
  }
}

void TraceLine::AddApplication(const Application& application) {
  AddOperand(application.operands.left);
  AddOperator(application.code);
  AddOperand(application.operands.right);
}

}  // namespace intcalc
