// The road of one expression through the evaluator.
#pragma once

#include "eval/evaluation_tables.h"
#include "text/text_buffer.h"

namespace intcalc {

// EvaluateExpression: resolves the parentheses of working, then evaluates what is left
// only if that succeeded; either way the result text holds what is to be shown.
Outcome EvaluateExpression(TextSpan working);

}  // namespace intcalc
