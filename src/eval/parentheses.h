// Parenthesis resolution: rewrites the working text, innermost group first, until no
// parenthesis is left.
#pragma once

#include "eval/expression.h"

namespace intcalc {

// ResolveParentheses: rewrites the innermost group of the working text with its value
// until no "(" is left; looks for none in a text of Groups::kNone. Any failure, its own or
// an inner evaluation's, leaves exactly "ERROR" in the result text.
Outcome ResolveParentheses(Evaluation& evaluation, Groups groups);

}  // namespace intcalc
