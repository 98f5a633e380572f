#include "eval/expression.h"

#include "eval/flat_reader.h"
#include "eval/parentheses.h"

namespace intcalc {

Outcome EvaluateExpression(TextSpan working) {
  if (ResolveParentheses(working) == Outcome::kFailure) return Outcome::kFailure;
  return EvaluateFlat(working);
}

}  // namespace intcalc
