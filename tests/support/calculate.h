// Calculate: what the main loop does with one expression, for tests that need the result.
#pragma once

#include <string_view>

#include "dialogue/main_loop.h"
#include "eval/flat_reader.h"
#include "eval/parentheses.h"
#include "text/result_text.h"

namespace intcalc {

// The view is good until the next evaluation.
inline std::string_view Calculate(std::string_view expression) {
  static TextBuffer<kWorkingCapacity> working;
  CopyText(expression, working);
  ClearText(ResultText());
  if (ResolveParentheses(working) == Outcome::kSuccess) (void)EvaluateFlat(working);
  return ResultText().View();
}

}  // namespace intcalc
