// The road of one expression through the evaluator.
#pragma once

#include "eval/evaluation_tables.h"
#include "text/text_buffer.h"

namespace intcalc {

// kWorkingCapacity: the room of the text the evaluation rewrites: a whole expression.
inline constexpr TextLength kWorkingCapacity = 123;
// Each operator needs a character before it, so the tables hold every operator of one.
static_assert(kTableCapacity >= kWorkingCapacity / 2);

// EvaluateExpression: resolves the parentheses of working, then evaluates what is left
// only if that succeeded; either way the result text holds what is to be shown. Working
// holds at most kWorkingCapacity characters.
Outcome EvaluateExpression(TextSpan working);

}  // namespace intcalc
