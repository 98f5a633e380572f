#include "diagnostics/trace_format.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace intcalc {

namespace {

// ---- Layout ---------------------------------------------------------------------------

constexpr std::size_t kIndent = 2;  // for a group's own evaluation
constexpr std::size_t kLabelWidth = 10;
constexpr std::string_view kSpaces = "                                        ";
static_assert(kIndent + kLabelWidth + 1 <= kSpaces.size());

// The widest entry of the tables: an operator and its blank, then two operands, a comma
// and a blank, each operand a sign and ten digits.
constexpr std::size_t kLongestOperand = 11;
constexpr std::size_t kWidestTableEntry = 2 + 2 * kLongestOperand + 2;
constexpr std::size_t kLineCapacity = kTableCapacity * kWidestTableEntry + kTraceColumns;

constexpr char kAppliedSymbol = '.';
constexpr char kFirstPrintable = ' ';
constexpr char kLastPrintable = '~';
constexpr char kBackslash = '\\';

// ---- Building a line ------------------------------------------------------------------

// Line: the content of one trace line, cut at its capacity. It knows which of its bytes
// continue an escape, so that a row never breaks inside one.
class Line {
 public:
  void Clear() { length_ = 0; }
  std::string_view View() const { return {bytes_.data(), length_}; }

  // Continues: whether the byte at `index` continues the escape of the byte before it.
  bool Continues(std::size_t index) const { return index < length_ && continues_[index]; }

  void Add(std::string_view text) {
    for (const char byte : text)
      Add(byte);
  }
  void Add(char byte, bool continuing = false) {
    if (length_ == bytes_.size()) return;
    continues_[length_] = continuing;
    bytes_[length_++] = byte;
  }

  // AddShown: a text of the evaluation, between quotes when it has a blank or is empty,
  // each byte that is not printable as \xHH, and a backslash as \\: so a backslash shown
  // always begins an escape.
  void AddShown(std::string_view text) {
    constexpr std::string_view kHexDigits = "0123456789ABCDEF";
    const bool quoted = text.empty() || text.find(kBlank) != std::string_view::npos;
    if (quoted) Add('"');
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
    if (quoted) Add('"');
  }

  // AddNumber: the decimal digits of a number. The tracer's own, so that the evaluator's
  // FormatResult keeps its one caller and the compiler builds it as it would untraced.
  void AddNumber(Magnitude number) {
    constexpr Magnitude kDecimalBase = 10;
    std::array<char, kLongestOperand> digits{};
    std::size_t count = 0;
    do {
      digits[count++] = static_cast<char>('0' + number % kDecimalBase);
      number /= kDecimalBase;
    } while (number != 0);
    while (count > 0)
      Add(digits[--count]);
  }

  // AddOperand: a signed magnitude as the tables hold it; a negative zero keeps its sign.
  void AddOperand(SignedMagnitude operand) {
    if (operand.sign != kPositive) Add('-');
    AddNumber(operand.magnitude);
  }

  void AddOperator(OperatorCode code) {
    Add(code == OperatorCode::kNone ? kAppliedSymbol : SymbolOf(code));
  }

  // AddTables: every operator, then every pair of operands, as they are now.
  void AddTables(const EvaluationTables& tables) {
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

  // AddApplication: the operator between the operands of its pair.
  void AddApplication(const Application& application) {
    AddOperand(application.operands.left);
    AddOperator(application.code);
    AddOperand(application.operands.right);
  }

  void AddOperatorIndex(std::uint32_t index) {
    Add('#');
    AddNumber(index);
  }

 private:
  std::array<char, kLineCapacity> bytes_{};
  std::array<bool, kLineCapacity> continues_{};
  std::size_t length_ = 0;
};

// KindWords: what a group was found to be.
std::string_view KindWords(GroupKind kind) {
  switch (kind) {
    case GroupKind::kPlainNumber:
      return "a plain number";
    case GroupKind::kExpression:
      return "an expression";
    case GroupKind::kNotANumber:
      return "not a number";
    case GroupKind::kTooManyDigits:
      return "more than 20 digits";
  }
  return "?";
}

// WhyNotApplied: why an operator failed, which the operator alone decides.
std::string_view WhyNotApplied(OperatorCode code) {
  switch (code) {
    case OperatorCode::kSubtract:
    case OperatorCode::kAdd:
      return "the sum is beyond 4294967295";
    case OperatorCode::kMultiply:
      return "the product is beyond 4294967295";
    case OperatorCode::kDivide:
      return "a division by zero";
    case OperatorCode::kRemainder:
      return "a remainder by zero";
    case OperatorCode::kNone:
      break;
  }
  return "no operator to apply";
}

// ---- The formatter --------------------------------------------------------------------

// Final and static: nothing derives from it, and nothing deletes it through its base.
// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor)
class TraceFormatter final : public EvaluationWatcher {
 public:
  void Use(TraceRows& rows) { rows_ = &rows; }

  void ExpressionBegins(TextView expression) override {
    rows_->ExpressionBegins();
    Begin().AddShown(expression);
    Emit(Depth::kExpression, "expression");
  }

  void GroupFound(TextView working, GroupBounds group, GroupKind kind) override {
    Begin().AddShown(Part(working, group.open, group.close - group.open + 1));
    line_.Add(" at ");
    line_.AddNumber(group.open);
    line_.Add(": ");
    line_.Add(KindWords(kind));
    Emit(Depth::kExpression, "group");
  }

  void GroupEvaluated(Outcome outcome, TextView result) override {
    if (outcome == Outcome::kFailure) return;  // the failure has been told where it happened
    Begin().AddShown(result);
    Emit(Depth::kGroup, "value");
  }

  void GroupRewritten(TextView working, Rewrite rewrite) override {
    Begin().AddShown(working);
    Emit(Depth::kExpression, rewrite == Rewrite::kStripped ? "strip" : "splice");
  }

  void SignsFolded(Depth depth, TextView text) override {
    Begin().AddShown(text);
    Emit(depth, "fold");
  }

  void LoneOperand(Depth depth, TextView text, TextView result) override {
    Begin().AddShown(result);
    line_.Add(", shown as typed");
    if (result.Length() < text.Length()) line_.Add(", cut to 20 characters");
    Emit(depth, "lone");
  }

  void TablesRead(Depth depth, const EvaluationTables& tables) override {
    Begin().AddTables(tables);
    Emit(depth, "read");
  }

  void Applied(Depth depth, const Application& application,
               const EvaluationTables& tables) override {
    Begin().AddApplication(application);
    line_.Add(" = ");
    line_.AddOperand(application.value);
    const bool handedLeft = application.left != kNoOperator;
    const bool handedRight = application.right != kNoOperator;
    if (!handedLeft && !handedRight) {
      line_.Add(", final");
    } else {
      line_.Add(", to ");
      if (handedLeft) line_.AddOperatorIndex(application.left);
      if (handedLeft && handedRight) line_.Add(" and ");
      if (handedRight) line_.AddOperatorIndex(application.right);
    }
    EmitStep(depth, application);
    if (handedLeft || handedRight) {
      Begin().AddTables(tables);
      Emit(depth, "tables");
    }
  }

  void NotApplied(Depth depth, const Application& application, TextView word) override {
    Begin().AddApplication(application);
    line_.Add(": ");
    line_.Add(word);
    line_.Add(", ");
    line_.Add(WhyNotApplied(application.code));
    EmitStep(depth, application);
  }

  void Failed(Depth depth, TextView word, std::string_view why, std::string_view at) override {
    Begin().Add(word);
    line_.Add(": ");
    line_.Add(why);
    if (!at.empty()) {
      line_.Add(", at ");
      line_.AddShown(at);
    }
    Emit(depth, "error");
  }

  void ExpressionEnds(Outcome /*outcome*/, TextView result) override {
    Begin().AddShown(result);
    Emit(Depth::kExpression, "result");
  }

 private:
  Line& Begin() {
    line_.Clear();
    return line_;
  }

  // EmitStep: the line of one operator's application, labelled with its pass and index.
  void EmitStep(Depth depth, const Application& application) {
    Line& label = labelLine_;
    label.Clear();
    label.Add(application.pass == Pass::kStrong ? "strong #" : "weak #");
    label.AddNumber(application.k);
    Emit(depth, label.View());
  }

  // Emit: the line under its label, in rows of kTraceColumns: a row that would be wider
  // breaks after its last blank, or, with none, before an escape it would split, and goes
  // on below under the label's width. No byte of the line is left out.
  void Emit(Depth depth, std::string_view label) {
    const std::size_t indent = depth == Depth::kGroup ? kIndent : 0;
    const std::size_t labelWidth = std::max(label.size(), kLabelWidth);
    const std::size_t width = kTraceColumns - indent - labelWidth - 1;
    const std::string_view line = line_.View();
    std::size_t start = 0;
    bool first = true;
    do {
      std::size_t taken = line.size() - start;
      if (taken > width) {
        const std::size_t blank = Part(line, start, width).rfind(' ');
        taken = blank == std::string_view::npos || blank == 0 ? width : blank + 1;
        while (taken > 1 && line_.Continues(start + taken))
          --taken;
      }
      const std::string_view shownLabel = first ? label : std::string_view{};
      row_.Clear();
      row_.Add(Part(kSpaces, 0, indent));
      row_.Add(shownLabel);
      row_.Add(Part(kSpaces, 0, labelWidth - shownLabel.size() + 1));
      row_.Add(Part(line, start, taken));
      rows_->Row(row_.View());
      start += taken;
      first = false;
    } while (start < line.size());
    rows_->StepShown();
  }

  TraceRows* rows_ = nullptr;
  Line line_;
  Line labelLine_;
  Line row_;
};

constinit TraceFormatter formatter;

}  // namespace

EvaluationWatcher& MakeTraceFormatter(TraceRows& rows) {
  formatter.Use(rows);
  return formatter;
}

}  // namespace intcalc
