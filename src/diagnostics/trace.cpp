#include "diagnostics/trace.h"

#include <algorithm>
#include <array>

#include "diagnostics/trace_rows.h"
#include "eval/arithmetic.h"
#include "text/decimal.h"

namespace intcalc {

namespace {

constexpr std::size_t kIndent = 2;  // for a group's own evaluation, at most TraceRows takes

// The legend, before the first row: what the rows' signs and words mean.
constexpr std::string_view kLegendLabel = "legend";
constexpr std::array<std::string_view, 3> kLegend = {
    "read, tables: the operators in turn (\".\" once applied), then after \"|\" the two "
    "operands of each, left,right",
    "strong #k, weak #k: operator k (from 0) applied in the pass of * / \\\\ or of + -, "
    "\\\\ being the remainder's sign, escaped as every backslash is; \"to #m\": its value is "
    "now an operand of operator m; \"final\": its value is the result",
    "fold: two leading signs made one, a blank for the first; lone: one operand, shown as "
    "typed; strip: a group of a plain number loses its parentheses; splice: a group's "
    "value takes its place",
};

constexpr LimitText kMoreDigits{"more than ", kOperandDigitsCapacity, " digits"};
constexpr LimitText kCutToResult{", cut to ", kResultCapacity, " characters"};

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
      return kMoreDigits;
  }
  return "?";
}

}  // namespace

EvaluationWatcher* Trace::Start(Console& console, TraceMode mode) {
  if (mode == TraceMode::kOff) return nullptr;
  legendShown_ = false;
  rows_.Start(console, mode == TraceMode::kStep);
  return this;
}

void Trace::ExpressionBegins(TextView expression) {
  rows_.BeginExpression();
  if (!legendShown_) {  // before the first row
    legendShown_ = true;
    for (const std::string_view legend : kLegend) {
      Begin().Add(legend);
      EmitRows(Scope::kExpression, kLegendLabel);
    }
  }
  Begin().AddShown(expression);
  Emit(Scope::kExpression, "expression");
}

void Trace::GroupFound(TextView working, GroupBounds group, GroupKind kind) {
  Begin().AddShown(Part(working, group.open, group.close - group.open + 1));
  line_.Add(" at ");
  line_.AddNumber(group.open);
  line_.Add(": ");
  line_.Add(KindWords(kind));
  Emit(Scope::kExpression, "group");
}

void Trace::GroupEvaluated(Outcome outcome, TextView result) {
  if (outcome == Outcome::kFailure) return;  // the failure has been told where it happened
  Begin().AddShown(result);
  Emit(Scope::kGroup, "value");
}

void Trace::GroupRewritten(TextView working, Rewrite rewrite) {
  Begin().AddShown(working);
  Emit(Scope::kExpression, rewrite == Rewrite::kStripped ? "strip" : "splice");
}

void Trace::SignsFolded(Scope scope, TextView text) {
  Begin().AddShown(text);
  Emit(scope, "fold");
}

void Trace::LoneOperand(Scope scope, TextView text, TextView result) {
  Begin().AddShown(result);
  line_.Add(", shown as typed");
  if (result.Length() < text.Length()) line_.Add(kCutToResult);
  Emit(scope, "lone");
}

void Trace::TablesRead(Scope scope, const EvaluationTables& tables) {
  Begin().AddTables(tables);
  Emit(scope, "read");
}

void Trace::Applied(Scope scope, const Application& application, const EvaluationTables& tables) {
  Begin().AddApplication(application);
  line_.Add(" = ");
  line_.AddOperand(application.value);
  const bool handedLeft = application.left != kNoOperator;
  const bool handedRight = application.right != kNoOperator;
  if (!handedLeft && !handedRight) {
    line_.Add(", final");
  } else {
    line_.Add(", to ");
    if (handedLeft) {
      line_.Add('#');
      line_.AddNumber(application.left);
    }
    if (handedLeft && handedRight) line_.Add(" and ");
    if (handedRight) {
      line_.Add('#');
      line_.AddNumber(application.right);
    }
  }
  EmitStep(scope, application);
  if (handedLeft || handedRight) {
    Begin().AddTables(tables);
    Emit(scope, "tables");
  }
}

void Trace::NotApplied(Scope scope, const Application& application, TextView word) {
  Begin().AddApplication(application);
  line_.Add(": ");
  line_.Add(word);
  line_.Add(", ");
  line_.Add(FailureOf(application.code).why);
  EmitStep(scope, application);
}

void Trace::Failed(Scope scope, TextView word, std::string_view why, std::string_view at) {
  Begin().Add(word);
  line_.Add(": ");
  line_.Add(why);
  if (!at.empty()) {
    line_.Add(", at ");
    line_.AddShown(at);
  }
  Emit(scope, "error");
}

void Trace::ExpressionEnds(Outcome /*outcome*/, TextView result) {
  Begin().AddShown(result);
  Emit(Scope::kExpression, "result");
}

TraceLine& Trace::Begin() {
  line_.Clear();
  return line_;
}

// EmitStep: the line of one operator's application, labelled with its pass and index.
void Trace::EmitStep(Scope scope, const Application& application) {
  label_.Clear();
  label_.Append(application.pass == Pass::kStrong ? std::string_view("strong #") : "weak #");
  label_.Append(Decimal(application.k).View());
  Emit(scope, label_.View());
}

// Emit: the line under its label, then, when stepping, the wait for a key.
void Trace::Emit(Scope scope, std::string_view label) {
  EmitRows(scope, label);
  rows_.StepShown();
}

// RowBreak: where the row that begins at `start`, of at most `width` bytes, ends, and where
// the next begins: at its last blank between words, which goes, or, with none, before an
// escape it would split.
Trace::Break Trace::RowBreak(std::size_t start, std::size_t width) const {
  const std::string_view line = line_.View();
  if (line.size() - start <= width) return {line.size(), line.size()};
  const auto between = [this, line](std::size_t at) {
    return at < line.size() && line[at] == ' ' && !line_.Quoted(at);
  };
  std::size_t blank = start + width;
  while (blank > start && !between(blank))
    --blank;
  Break rowBreak{start + width, start + width};
  if (blank > start) {
    for (rowBreak = {blank, blank}; rowBreak.end > start && between(rowBreak.end - 1);)
      --rowBreak.end;
    while (between(rowBreak.next))
      ++rowBreak.next;
    return rowBreak;
  }
  while (rowBreak.end - start > 1 && line_.Continues(rowBreak.end))
    --rowBreak.end;
  rowBreak.next = rowBreak.end;
  return rowBreak;
}

// EmitRows: the line under its label, in rows of kTraceColumns that go on below under the
// label's width. No row ends with a blank but one of a text shown between quotes.
void Trace::EmitRows(Scope scope, std::string_view label) {
  const std::size_t indent = scope == Scope::kGroup ? kIndent : 0;
  const std::size_t width = TraceRows::TextWidth(indent, label);
  const std::string_view line = line_.View();
  std::size_t start = 0;
  do {
    const Break rowBreak = RowBreak(start, width);
    rows_.WriteRow(indent, label, Part(line, start, rowBreak.end - start), start > 0);
    start = rowBreak.next;
  } while (rows_.Open() && start < line.size());
}

}  // namespace intcalc
