// The precedence evaluator: reduces the tables the flat reader built to one value.
#pragma once

#include "eval/evaluation_tables.h"
#include "eval/trace_points.h"
#include "text/result_text.h"

namespace intcalc {

// ResolveIt: applies the strong operators, then the weak ones, each pass left to right,
// writing every step's value into `value`, and the final one into the result text. The
// tables are as the reader lays them out: every code is an operator's.
Outcome ResolveIt(EvaluationTables& tables, SignedMagnitude& value, ResultTextBuffer& result,
                  Watch watch);

}  // namespace intcalc
