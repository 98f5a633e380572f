#include "eval/expression.h"

#include "eval/flat_reader.h"
#include "eval/parentheses.h"
#include "eval/trace_points.h"

namespace intcalc {

Outcome EvaluateExpression(Evaluation& evaluation, Groups groups) {
  EvaluationWatcher* const watcher = evaluation.watcher;
  Tell(watcher, &EvaluationWatcher::ExpressionBegins, TextView(evaluation.working));
  Outcome outcome = ResolveParentheses(evaluation, groups);
  if (outcome == Outcome::kSuccess) {
    outcome = EvaluateFlat(evaluation, Scope::kExpression);
  }
  Tell(watcher, &EvaluationWatcher::ExpressionEnds, outcome, TextView(evaluation.result));
  return outcome;
}

}  // namespace intcalc
