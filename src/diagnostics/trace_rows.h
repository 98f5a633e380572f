// The trace's rows on standard error, and the stepping through them: after each step,
// when asked to, a wait for a key. The state is the Console's (TraceRows).
#pragma once

#include <string_view>

#include "console/console.h"

namespace intcalc {

// StartTraceRows: rows from now on; with `step`, a wait for a key after each step, where a
// person sees the rows and can answer them: elsewhere it is the trace, byte for byte.
void StartTraceRows(Console& console, bool step);

// WriteTraceRow: one row, without its line end, written at once after the answers so far,
// so that where both streams show together, at a terminal or in one file, they come in the
// order they happened. False when it could not be written: the trace then ends, and the
// answers go on as they would without it.
bool WriteTraceRow(Console& console, std::string_view row);

// StepShown: the rows of one step are all out: when stepping, the wait for a key: q shows
// the rest of the expression at once, any other key goes on; input that ends ends the
// stepping.
void StepShown(Console& console);

// BeginExpressionRows: the rows of another expression follow; q's skipping ends.
void BeginExpressionRows(Console& console);

}  // namespace intcalc
