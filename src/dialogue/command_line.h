// The program's command line: none in normal use; --help and --version print and end.
#pragma once

#include <span>

namespace intcalc {

inline constexpr int kExitUsageError = 2;

// RunCommandLine: with no arguments, the dialogue; with --help or --version, the text
// asked for and status 0; with anything else, a one-line usage error on standard error and
// status 2.
int RunCommandLine(std::span<const char* const> arguments);

}  // namespace intcalc
