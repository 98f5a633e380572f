// Sign-magnitude arithmetic and the decimal result text.
#pragma once

#include "eval/evaluation_tables.h"
#include "text/text_buffer.h"

namespace intcalc {

// ApplyOperator: computes left `code` right into ArithmeticResult; on failure the result
// text already holds "OVERFLOW" or "ERROR".
Outcome ApplyOperator(SignFlag leftSign, Magnitude leftMagnitude, SignFlag rightSign,
                      Magnitude rightMagnitude, OperatorCode code);

// FormatResult: writes the value as decimal text; a magnitude of 0 is "0" whatever the sign.
// Fails, filling destination with '*', when the digits would not fit.
Outcome FormatResult(SignFlag sign, Magnitude magnitude, TextSpan destination);

}  // namespace intcalc
