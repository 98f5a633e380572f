#include "dialogue/command_line.h"

#include <string_view>

#include "console/console.h"
#include "dialogue/arguments.h"
#include "dialogue/exit_status.h"
#include "dialogue/main_loop.h"

#ifndef INTCALC_VERSION
#error "INTCALC_VERSION must name the version, X.Y.Z"
#endif

namespace intcalc {

namespace {

// The help and the version are no part of the dialogue: their lines end as the
// platform's own do.
constexpr ConstantText kVersion{"intcalc " INTCALC_VERSION "\n"};
constexpr ConstantText kHelp{
    "usage: intcalc [OPTION]... [FILE]...\n"
    "\n"
    "Calculates whole-number expressions, one per line, from each FILE in turn (-\n"
    "for standard input), or from standard input when no FILE is named. For each\n"
    "one, intcalc shows the expression without its blanks, its result, and the two\n"
    "joined by \"=\". An empty line shows the introduction again.\n"
    "\n"
    "Operators:  - subtraction  + addition  * multiplication  / division  \\ remainder\n"
    "            A sign may stand before a number; parentheses nest to any depth.\n"
    "            * / \\ bind tighter than + and -; each level goes from left to right.\n"
    "Range:      -4294967295 to 4294967295. Division truncates toward zero; a\n"
    "            quotient and a remainder take the sign of the product (-7\\2 is -1).\n"
    "Results:    OVERFLOW when a value leaves the range (ERROR inside parentheses);\n"
    "            ERROR for malformed input and division by zero. A single number\n"
    "            is shown as typed, cut to 20 characters.\n"
    "Keys:       on a terminal, Left/Right, Home/End, Ctrl-A/Ctrl-E, Backspace,\n"
    "            Delete, Ctrl-U, Ctrl-K, Ctrl-W edit the line; Alt-B/Alt-F and\n"
    "            Ctrl-Left/Ctrl-Right move by word, Alt-Backspace and Alt-D erase\n"
    "            one; Ctrl-Y inserts what was erased, Ctrl-_ undoes, Ctrl-T swaps\n"
    "            two characters; Up/Down bring back earlier lines, Ctrl-R searches\n"
    "            them (Escape keeps the line found, Ctrl-G leaves it); Ctrl-L\n"
    "            clears the screen; Ctrl-D on an empty line ends the input; the\n"
    "            terminal's own keys, as stty sets them, work as elsewhere. The\n"
    "            answer the line would get shows after it, dim, as it is edited.\n"
    "\n"
    "Options:    -r, --results  answer each line of input with one line: its result\n"
    "                           alone, or nothing for a line without an expression\n"
    "            -e, --expression=EXPR\n"
    "                           answer EXPR as a line of input, in the results form;\n"
    "                           repeatable; FILEs are then read after the EXPRs, and\n"
    "                           standard input only when named as -\n"
    "            --trace        show on standard error how each expression is\n"
    "                           evaluated, step by step, after a legend of its\n"
    "                           signs; the answers stay the same\n"
    "            --step         the same, waiting for a key after each step where\n"
    "                           the steps show on a terminal: Enter for the next, q\n"
    "                           for the rest; the later of --trace and --step counts\n"
    "            --no-live      show no answer after a line as it is edited on a\n"
    "                           terminal (nor with INTCALC_NO_LIVE set); the Windows\n"
    "                           program, whose console edits lines, shows none anyway\n"
    "            -h, --help     this text\n"
    "            -V, --version  the version\n"
    "            --             the end of the options: what follows is a FILE\n"
    "Short options combine (-re EXPR); long options are spelt in full.\n"
    "\n"
    "History: on Linux, the lines entered at a terminal come back with Up in later\n"
    "runs: they are kept in $XDG_STATE_HOME/intcalc/history, else in\n"
    "~/.local/state/intcalc/history, or in the file INTCALC_HISTORY names, and\n"
    "INTCALC_HISTORY= keeps none. Two sessions side by side lose none of their lines.\n"
    "\n"
    "Exit status: 0 when the input ends; 1 when reading or writing fails, a FILE\n"
    "that cannot be read included; 2 for an argument that is not understood; 3\n"
    "with -e when an answer is ERROR or OVERFLOW; 128+N after signal N.\n"};

constexpr std::string_view kTryHelp = "; try 'intcalc --help'";

// PrintLines: the text, each of whose lines ends with LF, with the platform's line ends.
void PrintLines(Console& console, TextView text) {
  while (!text.IsEmpty()) {
    const auto end = static_cast<TextLength>(std::string_view(text).find('\n'));
    console.WritePlatformLine(text.First(end));
    text = text.From(end + 1);
  }
}

// ReportUsageError: the argument not understood, named on standard error.
void ReportUsageError(Console& console, const Argument& argument) {
  switch (argument.kind) {
    case Argument::Kind::kUnknownOption:
      if (argument.letter != '\0' && argument.text.size() > 2) {
        console.WriteMessage(
            {"unknown option '-", {&argument.letter, 1}, "' in '", argument.text, "'", kTryHelp});
        return;
      }
      console.WriteMessage({"unknown option '", argument.text, "'", kTryHelp});
      return;
    case Argument::Kind::kMissingExpression:
      console.WriteMessage({"option '", argument.text, "' needs an expression after it", kTryHelp});
      return;
    default:  // kUnwantedValue
      console.WriteMessage({"option '", argument.text, "' takes no value", kTryHelp});
      return;
  }
}

}  // namespace

CommandLine ParseCommandLine(std::span<const char* const> arguments) {
  CommandLine commandLine;
  commandLine.arguments = arguments;
  ArgumentReader reader(arguments);
  Argument argument;
  while (reader.Next(argument)) {
    switch (argument.kind) {
      case Argument::Kind::kHelp:
        commandLine.action = CommandLine::Action::kHelp;
        return commandLine;
      case Argument::Kind::kVersion:
        commandLine.action = CommandLine::Action::kVersion;
        return commandLine;
      case Argument::Kind::kResults:
        commandLine.answers = Answers::kResultsOnly;
        break;
      case Argument::Kind::kTrace:
        commandLine.trace = TraceMode::kTrace;
        break;
      case Argument::Kind::kStep:
        commandLine.trace = TraceMode::kStep;
        break;
      case Argument::Kind::kNoLive:
        commandLine.live = false;
        break;
      case Argument::Kind::kExpression:
        commandLine.answers = Answers::kResultsOnly;
        commandLine.errorWordsFail = true;
        commandLine.namesInputs = true;
        break;
      case Argument::Kind::kOperand:
        commandLine.namesInputs = true;
        break;
      case Argument::Kind::kUnknownOption:
      case Argument::Kind::kMissingExpression:
      case Argument::Kind::kUnwantedValue:
        commandLine.action = CommandLine::Action::kUsageError;
        commandLine.problem = argument;
        return commandLine;
    }
  }
  return commandLine;
}

int RunCommandLine(Console& console, Dialogue& dialogue, std::span<const char* const> arguments) {
  const CommandLine commandLine = ParseCommandLine(arguments);
  switch (commandLine.action) {
    case CommandLine::Action::kHelp:
      PrintLines(console, kHelp);
      return FinishRun(console, ReadStatus::kEndOfInput);
    case CommandLine::Action::kVersion:
      PrintLines(console, kVersion);
      return FinishRun(console, ReadStatus::kEndOfInput);
    case CommandLine::Action::kUsageError:
      ReportUsageError(console, commandLine.problem);
      return kExitUsageError;
    case CommandLine::Action::kCalculate:
      break;
  }
  return RunCalculator(console, dialogue, commandLine);
}

}  // namespace intcalc
