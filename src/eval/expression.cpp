#include "eval/expression.h"

#include "eval/flat_reader.h"
#include "eval/parentheses.h"
#include "eval/trace_points.h"

namespace intcalc {

Outcome EvaluateExpression(TextSpan working) {
  Tell(&EvaluationWatcher::ExpressionBegins, working);
  Outcome outcome = ResolveParentheses(working);
  if (outcome == Outcome::kSuccess) outcome = EvaluateFlat(working);
  Tell(&EvaluationWatcher::ExpressionEnds, outcome);
  return outcome;
}

}  // namespace intcalc
