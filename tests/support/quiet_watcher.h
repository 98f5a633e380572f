// QuietWatcher: a watcher that hears every event and keeps none, so that the evaluator
// runs its told steps; a test overrides the events it looks at.
#pragma once

#include "eval/trace_points.h"

namespace intcalc {

// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor)
class QuietWatcher : public EvaluationWatcher {
 public:
  void ExpressionBegins(TextView) override {}
  void GroupFound(TextView, GroupBounds, GroupKind) override {}
  void GroupEvaluated(Outcome, TextView) override {}
  void GroupRewritten(TextView, Rewrite) override {}
  void SignsFolded(Scope, TextView) override {}
  void LoneOperand(Scope, TextView, TextView) override {}
  void TablesRead(Scope, const EvaluationTables&) override {}
  void Applied(Scope, const Application&, const EvaluationTables&) override {}
  void NotApplied(Scope, const Application&, TextView) override {}
  void Failed(Scope, TextView, std::string_view, std::string_view) override {}
  void ExpressionEnds(Outcome, TextView) override {}
};

}  // namespace intcalc
