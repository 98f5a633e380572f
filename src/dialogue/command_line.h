// The program's command line, parsed once into the one value the run reads. The
// expressions and the FILEs are the one thing it keeps no list of: their number has no
// bound, so Inputs reads them in turn from the arguments themselves.
#pragma once

#include <cstdint>
#include <span>

#include "console/console.h"
#include "diagnostics/trace.h"
#include "dialogue/arguments.h"

namespace intcalc {

// How the calculator answers: with the whole dialogue, or with one line of output for
// each line of input, holding its result alone.
enum class Answers : std::uint8_t { kDialogue, kResultsOnly };

// CommandLine: what the arguments ask for: with -r or --results, answers of one line each,
// as with -e; with --trace or --step, the later of them, each evaluation shown on standard
// error as well; with -h or --help, or -V or --version, wherever it comes, the text asked
// for; the first argument not understood makes a usage error.
struct CommandLine {
  enum class Action : std::uint8_t { kCalculate, kHelp, kVersion, kUsageError };

  Action action = Action::kCalculate;
  Answers answers = Answers::kDialogue;
  TraceMode trace = TraceMode::kOff;
  bool errorWordsFail = false;  // with -e: an answer that is an error word makes status 3
  bool live = true;             // the answer shown as a line is edited, unless --no-live
  bool namesInputs = false;     // -e or a FILE is given: standard input only as "-"
  std::span<const char* const> arguments;  // the expressions and FILEs are read from these
  Argument problem;                        // for a usage error, the argument not understood
};

// ParseCommandLine: the arguments, read once.
CommandLine ParseCommandLine(std::span<const char* const> arguments);

struct Dialogue;

// RunCommandLine: what the arguments ask for, through the console: the dialogue over the
// inputs they name (see Inputs), the help or the version, or a one-line usage error on
// standard error and status 2; returns the exit status.
int RunCommandLine(Console& console, Dialogue& dialogue, std::span<const char* const> arguments);

}  // namespace intcalc
