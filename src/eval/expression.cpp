#include "eval/expression.h"

#include "eval/flat_reader.h"
#include "eval/parentheses.h"
#include "eval/trace_points.h"

namespace intcalc {

Outcome EvaluateExpression(Evaluation& evaluation, Groups groups) {
  // The texts are made into views for a watcher alone, each view's test of its bounds too.
  EvaluationWatcher* const watcher = evaluation.watcher;
  if (watcher != nullptr) {
    TellWatcher(*watcher, &EvaluationWatcher::ExpressionBegins, TextView(evaluation.working));
  }
  Outcome outcome = ResolveParentheses(evaluation, groups);
  if (outcome == Outcome::kSuccess) {
    outcome = EvaluateFlat(evaluation, Scope::kExpression);
  }
  if (watcher != nullptr) {
    TellWatcher(*watcher, &EvaluationWatcher::ExpressionEnds, outcome, TextView(evaluation.result));
  }
  return outcome;
}

}  // namespace intcalc
