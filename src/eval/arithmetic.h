// Sign-magnitude arithmetic and the decimal result text.
#pragma once

#include "eval/evaluation_tables.h"
#include "text/result_text.h"

namespace intcalc {

// ApplyOperator: computes left `code` right into `value` and succeeds, or writes
// "OVERFLOW" or "ERROR" into the result text and fails.
Outcome ApplyOperator(SignedMagnitude left, SignedMagnitude right, OperatorCode code,
                      SignedMagnitude& value, ResultTextBuffer& result);

// FormatResult: writes the value as decimal text; a magnitude of 0 is "0" whatever the
// sign. Ten digits and a sign always fit the result text.
void FormatResult(SignedMagnitude value, ResultTextBuffer& destination);

}  // namespace intcalc
