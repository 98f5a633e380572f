// Calculate: the evaluation of one expression, for tests that need only its result text.
#pragma once

#include <string_view>

#include "eval/expression.h"
#include "support/load_text.h"

namespace intcalc {

// The view is good until the next evaluation.
inline std::string_view Calculate(std::string_view expression) {
  static Evaluation evaluation;
  LoadText(expression, evaluation.working);
  ClearText(evaluation.result);
  (void)EvaluateExpression(evaluation);
  return evaluation.result.View();
}

}  // namespace intcalc
