// Parenthesis resolution: rewrites the working text until no group is left.
#pragma once

#include "eval/evaluation_tables.h"
#include "text/text_buffer.h"

namespace intcalc {

// ResolveParentheses: rewrites the innermost group with its value until no "(" is left.
Outcome ResolveParentheses(TextSpan working);

}  // namespace intcalc
