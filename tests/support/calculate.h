// Calculate: the evaluation of one expression, for tests that need only its result text.
#pragma once

#include <string_view>

#include "dialogue/main_loop.h"
#include "eval/expression.h"
#include "support/load_text.h"
#include "text/result_text.h"

namespace intcalc {

// The view is good until the next evaluation.
inline std::string_view Calculate(std::string_view expression) {
  static TextBuffer<kWorkingCapacity> working;
  LoadText(expression, working);
  ClearText(ResultText());
  (void)EvaluateExpression(working);
  return ResultText().View();
}

}  // namespace intcalc
