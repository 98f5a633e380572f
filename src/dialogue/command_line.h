// The program's command line: how to answer, or a text to print and end.
#pragma once

#include <span>

namespace intcalc {

inline constexpr int kExitUsageError = 2;

// RunCommandLine: with no arguments, the dialogue; with -r or --results, answers of one
// line each; with --trace or --step, each evaluation shown on standard error as well; with
// -h or --help, or -V or --version, standing alone, the text asked for; "--" ends the
// options. Anything else is a one-line usage error on standard error and
// status 2.
int RunCommandLine(std::span<const char* const> arguments);

}  // namespace intcalc
