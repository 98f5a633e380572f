// The program's command line: how to answer, or a text to print and end.
#pragma once

#include <span>

namespace intcalc {

inline constexpr int kExitUsageError = 2;

// RunCommandLine: the dialogue over the inputs the arguments name (see Inputs); with -r
// or --results, answers of one line each, as with -e; with --trace or --step, the later
// of them, each evaluation shown on standard error as well; with -h or --help, or -V or
// --version, wherever it comes, the text asked for. An option not understood is a
// one-line usage error on standard error and status 2.
int RunCommandLine(std::span<const char* const> arguments);

}  // namespace intcalc
