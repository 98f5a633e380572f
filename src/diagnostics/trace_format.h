// The trace's formatter: turns each event of the evaluation into lines for people.
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
// wider than kTraceColumns goes on below its start.
#pragma once

#include <cstddef>
#include <string_view>

#include "eval/trace_points.h"

namespace intcalc {

// kTraceColumns: the width of every row of the trace.
inline constexpr std::size_t kTraceColumns = 80;

// TraceRows: where the formatter hands what it makes.
class TraceRows {
 public:
  virtual void ExpressionBegins() = 0;         // the rows of another expression follow
  virtual void Row(std::string_view row) = 0;  // one row, without its line end
  virtual void StepShown() = 0;                // the rows of one step are all out

 protected:
  TraceRows() = default;
  ~TraceRows() = default;
  TraceRows(const TraceRows&) = default;
  TraceRows& operator=(const TraceRows&) = default;
  TraceRows(TraceRows&&) = default;
  TraceRows& operator=(TraceRows&&) = default;
};

// MakeTraceFormatter: the watcher that formats every event into rows for `rows`. There is
// one formatter; each call hands it to other rows.
EvaluationWatcher& MakeTraceFormatter(TraceRows& rows);

}  // namespace intcalc
