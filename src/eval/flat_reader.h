// The flat expression reader: reads an expression without parentheses into the tables and
// hands them to the precedence evaluator.
#pragma once

#include "eval/expression.h"
#include "eval/trace_points.h"

namespace intcalc {

// EvaluateFlat: evaluates the text of `scope`, the working text for the expression or the
// group's for a group, which holds no parentheses, into the result text, telling the
// evaluation's watcher of each step. A lone operand is its own result. May blank the
// text's first character while folding two signs. It takes the evaluation whole, as one
// address reaches every buffer and table it works in, where one for each would crowd the
// registers.
Outcome EvaluateFlat(Evaluation& evaluation, Scope scope);

}  // namespace intcalc
