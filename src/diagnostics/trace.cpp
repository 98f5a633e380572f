// The tracer: watches the evaluation through its trace points and tells each step.
//
// A line is an indent for a group's own evaluation, a label, and what happened:
//
//   expression -2+3*(7-2*8)
//   group      (7-2*8) at 5: an expression
//     read       - *  |  7,2 2,8
//     strong #1  2*8 = 16, to #0
//     tables     - .  |  7,16 2,8
//     weak #0    7-16 = -9, final
//     value      -9
//   splice     -2+3*-9
//
// The tables show each operator (a dot once applied) and each pair of operands. A text
// with a blank in it is shown between quotes, a byte that is not printable as \xHH. A line
// wider than the terminal's 80 columns goes on below its start.
#include "diagnostics/trace.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "console/console.h"
#include "eval/trace_points.h"
#include "text/result_text.h"

namespace intcalc {

namespace {

// ---- Layout ---------------------------------------------------------------------------

constexpr std::size_t kColumns = 80;
constexpr std::size_t kIndent = 2;  // for a group's own evaluation
constexpr std::size_t kLabelWidth = 10;
constexpr std::string_view kSpaces = "                                        ";
static_assert(kIndent + kLabelWidth + 1 <= kSpaces.size());

// The widest entry of the tables: an operator and its blank, then two operands, a comma
// and a blank, each operand a sign and ten digits.
constexpr std::size_t kLongestOperand = 11;
constexpr std::size_t kWidestTableEntry = 2 + 2 * kLongestOperand + 2;
constexpr std::size_t kLineCapacity = kTableCapacity * kWidestTableEntry + kColumns;

constexpr std::array<char, 6> kOperatorSymbols = {'.', '-', '+', '*', '/', '\\'};
constexpr char kFirstPrintable = ' ';
constexpr char kLastPrintable = '~';

// ---- Building a line ------------------------------------------------------------------

// Line: the content of one trace line, cut at its capacity.
class Line {
 public:
  void Clear() { length_ = 0; }
  std::string_view View() const { return {bytes_.data(), length_}; }

  void Add(std::string_view text) {
    for (const char byte : text)
      Add(byte);
  }
  void Add(char byte) {
    if (length_ < bytes_.size()) bytes_[length_++] = byte;
  }

  // AddShown: a text of the evaluation, between quotes when it has a blank or is empty,
  // each byte that is not printable as \xHH.
  void AddShown(std::string_view text) {
    constexpr std::string_view kHexDigits = "0123456789ABCDEF";
    const bool quoted = text.empty() || text.find(kBlank) != std::string_view::npos;
    if (quoted) Add('"');
    for (const char byte : text) {
      if (byte >= kFirstPrintable && byte <= kLastPrintable) {
        Add(byte);
      } else {
        const auto value = static_cast<unsigned char>(byte);
        Add("\\x");
        Add(kHexDigits[value / kHexDigits.size()]);
        Add(kHexDigits[value % kHexDigits.size()]);
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
  void AddOperand(SignFlag sign, Magnitude magnitude) {
    if (sign != kPositive) Add('-');
    AddNumber(magnitude);
  }

  void AddOperator(OperatorCode code) {
    const auto index = static_cast<std::size_t>(code);
    Add(index < kOperatorSymbols.size() ? kOperatorSymbols[index] : '?');
  }

  // AddTables: every operator, then every pair of operands, as they are now.
  void AddTables() {
    const OperatorList& operators = Operators();
    for (std::uint32_t k = 0; k < operators.count; ++k) {
      if (k > 0) Add(' ');
      AddOperator(operators.codes[k]);
    }
    Add("  |  ");
    for (std::uint32_t k = 0; k < operators.count; ++k) {
      const OperandPair& pair = Pairs().pairs[k];
      if (k > 0) Add(' ');
      AddOperand(pair.leftSign, pair.leftMagnitude);
      Add(',');
      AddOperand(pair.rightSign, pair.rightMagnitude);
    }
  }

  // AddApplication: operator k between the operands of its pair.
  void AddApplication(std::uint32_t k, OperatorCode code) {
    const OperandPair& pair = Pairs().pairs[k];
    AddOperand(pair.leftSign, pair.leftMagnitude);
    AddOperator(code);
    AddOperand(pair.rightSign, pair.rightMagnitude);
  }

 private:
  std::array<char, kLineCapacity> bytes_{};
  std::size_t length_ = 0;
};

// ---- The tracer -----------------------------------------------------------------------

// Final and static: nothing derives from it, and nothing deletes it through its base.
// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor)
class Tracer final : public EvaluationWatcher {
 public:
  void Start(TraceMode mode) {
    stepping_ = mode == TraceMode::kStep;
    hintShown_ = false;
  }

  void ExpressionBegins(TextView working) override {
    depth_ = 0;
    skipping_ = false;
    failure_.pending = false;
    Begin().AddShown(working);
    Emit("expression");
  }

  void GroupFound(TextView working, GroupBounds group, GroupKind kind) override {
    const std::string_view text = working;
    Begin().AddShown(Part(text, group.open, group.close - group.open + 1));
    line_.Add(" at ");
    line_.AddNumber(group.open);
    line_.Add(": ");
    line_.Add(KindWords(kind));
    Emit("group");
    if (kind == GroupKind::kExpression) depth_ = 1;  // its own evaluation follows
  }

  void GroupEvaluated(Outcome outcome) override {
    EmitFailure();
    if (outcome == Outcome::kSuccess) {
      Begin().AddShown(ResultText().View());
      Emit("value");
    }
    depth_ = 0;
  }

  void GroupRewritten(TextView working, Rewrite rewrite) override {
    Begin().AddShown(working);
    Emit(rewrite == Rewrite::kStripped ? "strip" : "splice");
  }

  void SignsFolded(TextView text) override {
    Begin().AddShown(text);
    Emit("fold");
  }

  void LoneOperand() override {
    Begin().AddShown(ResultText().View());
    line_.Add(", shown as typed");
    Emit("lone");
  }

  void TablesRead() override {
    Begin().AddTables();
    Emit("read");
  }

  void Applied(Pass pass, std::uint32_t k, OperatorCode code, std::uint32_t left,
               std::uint32_t right) override {
    Begin().AddApplication(k, code);
    line_.Add(" = ");
    const SignedMagnitude& value = ArithmeticResult();
    line_.AddOperand(value.sign, value.magnitude);
    if (left == kNoOperator && right == kNoOperator) {
      line_.Add(", final");
    } else {
      line_.Add(", to ");
      AddOperatorIndex(left);
      if (left != kNoOperator && right != kNoOperator) line_.Add(" and ");
      AddOperatorIndex(right);
    }
    EmitStep(pass, k);
    if (left != kNoOperator || right != kNoOperator) {
      Begin().AddTables();
      Emit("tables");
    }
  }

  // Failed: kept until the next event tells whether it was an operator's.
  void Failed(TextView word, std::string_view why, std::string_view at) override {
    EmitFailure();
    failure_ = {true, word, why, at};
  }

  void NotApplied(Pass pass, std::uint32_t k) override {
    failure_.pending = false;
    Begin().AddApplication(k, Operators().codes[k]);
    line_.Add(": ");
    line_.Add(failure_.word);
    line_.Add(", ");
    line_.Add(failure_.why);
    EmitStep(pass, k);
  }

  void ExpressionEnds(Outcome /*outcome*/) override {
    EmitFailure();
    depth_ = 0;
    Begin().AddShown(ResultText().View());
    Emit("result");
  }

 private:
  static std::string_view KindWords(GroupKind kind) {
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

  Line& Begin() {
    line_.Clear();
    return line_;
  }

  // EmitFailure: a failure that was no operator's, if one is kept.
  void EmitFailure() {
    if (!failure_.pending) return;
    failure_.pending = false;
    Begin().Add(failure_.word);
    line_.Add(": ");
    line_.Add(failure_.why);
    if (!failure_.at.empty()) {
      line_.Add(", at ");
      line_.AddShown(failure_.at);
    }
    Emit("error");
  }

  void AddOperatorIndex(std::uint32_t index) {
    if (index == kNoOperator) return;
    line_.Add('#');
    line_.AddNumber(index);
  }

  // EmitStep: the line of one operator's application, labelled with its pass and index.
  void EmitStep(Pass pass, std::uint32_t k) {
    Line& label = labelLine_;
    label.Clear();
    label.Add(pass == Pass::kStrong ? "strong #" : "weak #");
    label.AddNumber(k);
    Emit(label.View());
  }

  // Emit: writes the line under its label, wrapped at the terminal's width, then waits for
  // a key when stepping.
  void Emit(std::string_view label) {
    const std::size_t indent = depth_ * kIndent;
    const std::size_t labelWidth = std::max(label.size(), kLabelWidth);
    const std::size_t width = kColumns - indent - labelWidth - 1;
    std::string_view rest = line_.View();
    bool first = true;
    do {
      std::size_t taken = rest.size();
      if (taken > width) {
        const std::size_t blank = Part(rest, 0, width + 1).rfind(' ');
        taken = blank == std::string_view::npos || blank == 0 ? width : blank;
      }
      const std::string_view shownLabel = first ? label : std::string_view{};
      WriteErrorLine({Part(kSpaces, 0, indent), shownLabel,
                      Part(kSpaces, 0, labelWidth - shownLabel.size() + 1), Part(rest, 0, taken)});
      rest.remove_prefix(taken);
      if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
      first = false;
    } while (!rest.empty());
    WaitForKey();
  }

  // WaitForKey: when stepping, waits for a key: q shows the rest of the expression at
  // once, any other goes on; input that ends or is no terminal ends the stepping.
  void WaitForKey() {
    if (!stepping_ || skipping_) return;
    if (!hintShown_) {
      hintShown_ = true;
      WriteErrorLine({"step       Enter: the next step; q: the rest of this expression"});
    }
    const KeyRead key = ReadKey();
    if (!key.arrived) {
      stepping_ = false;
      return;
    }
    skipping_ = key.key == 'q' || key.key == 'Q';
  }

  // A failure told and not yet shown: the texts it names outlive it, being constants or
  // parts of the working text.
  struct KeptFailure {
    bool pending = false;
    TextView word = kErrorWord;
    std::string_view why;
    std::string_view at;
  };

  Line line_;
  Line labelLine_;
  KeptFailure failure_;
  bool stepping_ = false;
  bool hintShown_ = false;
  bool skipping_ = false;  // q was pressed: no more waiting in this expression
  std::size_t depth_ = 0;  // 1 inside a group's own evaluation
};

constinit Tracer tracer;

}  // namespace

void StartTracing(TraceMode mode) {
  if (mode == TraceMode::kOff) {
    Watcher() = nullptr;
    return;
  }
  tracer.Start(mode);
  Watcher() = &tracer;
}

}  // namespace intcalc
