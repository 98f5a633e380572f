// Diagnostics: how each expression is evaluated, one step a line on standard error.
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
// The tables show each operator (a dot once applied) and each pair of operands; a legend
// before the first row says so. A text with a blank in it is shown between quotes, a byte
// that is not printable as \xHH, a backslash as \\. A line wider than kTraceColumns goes
// on below its start.
#pragma once

#include <cstdint>
#include <string_view>

#include "console/console.h"
#include "diagnostics/trace_line.h"
#include "diagnostics/trace_rows.h"
#include "eval/trace_points.h"
#include "text/bounded_array.h"
#include "text/limits.h"

namespace intcalc {

enum class TraceMode : std::uint8_t {
  kOff,
  kTrace,  // every step, as it happens
  kStep,   // the same, waiting for a key after each step when input is a terminal
};

// Trace: the watcher that turns every event of an evaluation into rows on the console's
// standard error.
// Final, and never deleted through its base.
// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor)
class Trace final : public EvaluationWatcher {
 public:
  // Start: the watcher for an Evaluation, writing to `console` in `mode`; null, for no
  // watcher, when the mode is kOff.
  EvaluationWatcher* Start(Console& console, TraceMode mode);

  void ExpressionBegins(TextView expression) override;
  void GroupFound(TextView working, GroupBounds group, GroupKind kind) override;
  void GroupEvaluated(Outcome outcome, TextView result) override;
  void GroupRewritten(TextView working, Rewrite rewrite) override;
  void SignsFolded(Scope scope, TextView text) override;
  void LoneOperand(Scope scope, TextView text, TextView result) override;
  void TablesRead(Scope scope, const EvaluationTables& tables) override;
  void Applied(Scope scope, const Application& application,
               const EvaluationTables& tables) override;
  void NotApplied(Scope scope, const Application& application, TextView word) override;
  void Failed(Scope scope, TextView word, std::string_view why, std::string_view at) override;
  void ExpressionEnds(Outcome outcome, TextView result) override;

 private:
  TraceLine& Begin();
  void EmitStep(Scope scope, const Application& application);
  void Emit(Scope scope, std::string_view label);
  void EmitRows(Scope scope, std::string_view label);
  // Break: where a row ends, and where the next begins.
  struct Break {
    std::size_t end;
    std::size_t next;
  };
  Break RowBreak(std::size_t start, std::size_t width) const;

  TraceRows rows_;
  bool legendShown_ = false;
  TraceLine line_;
  BoundedArray<char, kLongestLabel> label_;
};

}  // namespace intcalc
