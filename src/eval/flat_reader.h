// The flat expression reader: reads an expression without parentheses into the tables and
// hands them to the precedence evaluator.
#pragma once

#include "eval/evaluation_tables.h"
#include "eval/trace_points.h"
#include "text/result_text.h"

namespace intcalc {

// EvaluateFlat: evaluates text, which holds no parentheses, into the result text, telling
// `watch` of each step. A lone operand is its own result. May blank text's first
// character while folding two signs.
Outcome EvaluateFlat(TextSpan text, FlatEvaluation& flat, ResultTextBuffer& result, Watch watch);

}  // namespace intcalc
