#include "dialogue/command_line.h"

#include <array>
#include <string_view>

#include "console/console.h"
#include "dialogue/main_loop.h"

#ifndef INTCALC_VERSION
#error "INTCALC_VERSION must name the version, X.Y.Z"
#endif

namespace intcalc {

namespace {

constexpr std::string_view kVersion = INTCALC_VERSION;
constexpr std::string_view kUsage = "usage: intcalc [--help | --version]";

// The help, line by line; each line goes out with the program's line end, CR LF.
constexpr auto kHelp = std::to_array<std::string_view>({
    "usage: intcalc [--help | --version]",
    "",
    "Calculates whole-number expressions, one per line: type one and press Enter. intcalc",
    "shows the expression without its blanks, its result, and the two joined by \"=\".",
    "An empty line shows the introduction again; the end of input ends the program.",
    "",
    "Operators:  - subtraction   + addition   * multiplication   / division   \\ remainder",
    "            A sign may stand before a number; parentheses nest to any depth.",
    "            * / \\ bind tighter than + and -; each level goes from left to right.",
    "Range:      -4294967295 to 4294967295. Division truncates toward zero; a quotient",
    "            and a remainder both take the sign of the product (-7\\2 is -1).",
    "Results:    OVERFLOW when a value leaves the range (ERROR inside parentheses);",
    "            ERROR for malformed input and division by zero. A single number is",
    "            shown as typed.",
    "Keys:       on a terminal, Left/Right, Home/End, Ctrl-A/Ctrl-E, Backspace, Delete,",
    "            Ctrl-U, Ctrl-K, Ctrl-W edit the line; Up/Down bring back earlier lines;",
    "            Ctrl-D on an empty line ends; Ctrl-C interrupts.",
    "",
    "Options:    --help     this text",
    "            --version  the version",
});

int Print(std::span<const std::string_view> lines) {
  for (const std::string_view line : lines)
    WriteLine(line);
  FlushOutput();
  return 0;
}

}  // namespace

int RunCommandLine(std::span<const char* const> arguments) {
  if (arguments.empty()) return RunCalculator();
  const std::string_view first = arguments.front();
  const bool option = first == "--help" || first == "--version";
  if (option && arguments.size() == 1) {
    if (first == "--help") return Print(kHelp);
    WriteText("intcalc ");
    WriteLine(kVersion);
    FlushOutput();
    return 0;
  }
  // An option stands alone: after one, the next argument is the one out of place.
  WriteError("intcalc: unexpected argument '");
  WriteError(option ? arguments[1] : first);
  WriteError("'; ");
  WriteError(kUsage);
  WriteError("\r\n");
  return kExitUsageError;
}

}  // namespace intcalc
