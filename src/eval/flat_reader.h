// The flat expression reader: evaluates an expression that holds no parentheses.
#pragma once

#include "eval/evaluation_tables.h"
#include "text/text_buffer.h"

namespace intcalc {

// EvaluateFlat: evaluates text, which holds no parentheses, into the result text.
// May rewrite text's first characters while folding a doubled leading sign.
Outcome EvaluateFlat(TextSpan text);

}  // namespace intcalc
