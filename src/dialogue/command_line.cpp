#include "dialogue/command_line.h"

#include <string_view>

#include "console/console.h"
#include "diagnostics/trace.h"
#include "dialogue/main_loop.h"

#ifndef INTCALC_VERSION
#error "INTCALC_VERSION must name the version, X.Y.Z"
#endif

namespace intcalc {

namespace {

// The help and the version are no part of the dialogue: their lines end with LF.
constexpr ConstantText kVersionLine{"intcalc " INTCALC_VERSION "\n"};
constexpr ConstantText kHelp{
    "usage: intcalc [-r | --results] [--trace | --step] [--]\n"
    "       intcalc -h | --help | -V | --version\n"
    "\n"
    "Calculates whole-number expressions, one per line. For each one, intcalc shows\n"
    "the expression without its blanks, its result, and the two joined by \"=\".\n"
    "An empty line shows the introduction again; the end of input ends the program.\n"
    "\n"
    "Operators:  - subtraction  + addition  * multiplication  / division  \\ remainder\n"
    "            A sign may stand before a number; parentheses nest to any depth.\n"
    "            * / \\ bind tighter than + and -; each level goes from left to right.\n"
    "Range:      -4294967295 to 4294967295. Division truncates toward zero; a\n"
    "            quotient and a remainder take the sign of the product (-7\\2 is -1).\n"
    "Results:    OVERFLOW when a value leaves the range (ERROR inside parentheses);\n"
    "            ERROR for malformed input and division by zero. A single number\n"
    "            is shown as typed.\n"
    "Keys:       on a terminal, Left/Right, Home/End, Ctrl-A/Ctrl-E, Backspace,\n"
    "            Delete, Ctrl-U, Ctrl-K, Ctrl-W edit the line; Up/Down bring back\n"
    "            earlier lines; Ctrl-L clears the screen; Ctrl-D on an empty line\n"
    "            ends; Ctrl-C interrupts.\n"
    "\n"
    "Options:    -r, --results  answer each line of input with one line: its result\n"
    "                           alone, or nothing for a line without an expression\n"
    "            --trace        show on standard error how each expression is\n"
    "                           evaluated, step by step; the answers stay the same\n"
    "            --step         the same, waiting for a key after each step on a\n"
    "                           terminal: Enter for the next, q for the rest\n"
    "            -h, --help     this text\n"
    "            -V, --version  the version\n"
    "            --             the end of the options\n"
    "\n"
    "Exit status: 0 when input ends, 1 when reading or writing fails, 2 for an\n"
    "argument that is not understood.\n"};

constexpr std::string_view kUnexpected = "intcalc: unexpected argument '";
constexpr std::string_view kTryHelp = "'; try 'intcalc --help'";

bool IsHelp(std::string_view argument) {
  return argument == "-h" || argument == "--help";
}

bool IsVersion(std::string_view argument) {
  return argument == "-V" || argument == "--version";
}

int Print(TextView text) {
  WriteText(text);
  return FinishRun(ReadStatus::kEndOfInput);
}

int Unexpected(std::string_view argument) {
  WriteErrorLine({kUnexpected, argument, kTryHelp});
  return kExitUsageError;
}

}  // namespace

int RunCommandLine(std::span<const char* const> arguments) {
  if (!arguments.empty()) {
    const std::string_view first = arguments.front();
    // The help and the version stand alone: after one, the next argument is out of place.
    if (IsHelp(first) || IsVersion(first)) {
      if (arguments.size() > 1) return Unexpected(arguments[1]);
      return Print(IsHelp(first) ? kHelp.View() : kVersionLine.View());
    }
  }
  Answers answers = Answers::kDialogue;
  TraceMode trace = TraceMode::kOff;
  bool optionsEnded = false;
  for (const std::string_view argument : arguments) {
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (argument == "-r" || argument == "--results")) {
      answers = Answers::kResultsOnly;
    } else if (!optionsEnded && argument == "--trace") {
      trace = TraceMode::kTrace;
    } else if (!optionsEnded && argument == "--step") {
      trace = TraceMode::kStep;
    } else {
      return Unexpected(argument);  // intcalc takes no operands
    }
  }
  StartTracing(trace);
  return RunCalculator(answers);
}

}  // namespace intcalc
