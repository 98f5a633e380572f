// The dialogue with the person at the console.
#pragma once

#include <array>

#include "console/console.h"
#include "diagnostics/trace.h"
#include "dialogue/command_line.h"
#include "dialogue/exit_status.h"
#include "dialogue/inputs.h"
#include "dialogue/line_answer.h"
#include "dialogue/live_answers.h"
#include "eval/expression.h"
#include "text/limits.h"
#include "text/text_buffer.h"

namespace intcalc {

using EchoLineBuffer = TextBuffer<kEchoCapacity>;

// Dialogue: the buffers of the dialogue, the evaluation it hands each expression to, and
// the trace that watches it when asked; alive for the whole run, reset for every
// expression.
struct Dialogue {
  RawLine rawLine{};
  ExpressionBuffer expression;  // the line without blanks, as the person is shown it
  EchoLineBuffer echoLine;      // expression, "=", result text
  Evaluation evaluation;
  Trace trace;
  LiveAnswers live;  // the answer shown as a line is edited, evaluated apart
};

// RunCalculator: reads and answers expressions from the inputs the command line names
// until they end or writing fails, in the form it asks for, and says why a run fails on
// standard error; returns the exit status.
int RunCalculator(Console& console, Dialogue& dialogue, const CommandLine& commandLine);

// FinishRun: writes out what is pending, puts the console back and, when reading (status
// kFailed) or writing failed, says so on standard error; returns the exit status.
int FinishRun(Console& console, ReadStatus status);

}  // namespace intcalc
