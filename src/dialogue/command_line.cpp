#include "dialogue/command_line.h"

#include <string_view>

#include "console/console.h"
#include "dialogue/main_loop.h"

#ifndef INTCALC_VERSION
#error "INTCALC_VERSION must name the version, X.Y.Z"
#endif

namespace intcalc {

namespace {

constexpr ConstantText kVersionLine{"intcalc " INTCALC_VERSION "\r\n"};
constexpr std::string_view kUsage = "usage: intcalc [--help | --version]";

// The help, each line ending as the dialogue's lines do.
constexpr ConstantText kHelp{
    "usage: intcalc [--help | --version]\r\n"
    "\r\n"
    "Calculates whole-number expressions, one per line: type one and press Enter. intcalc\r\n"
    "shows the expression without its blanks, its result, and the two joined by \"=\".\r\n"
    "An empty line shows the introduction again; the end of input ends the program.\r\n"
    "\r\n"
    "Operators:  - subtraction   + addition   * multiplication   / division   \\ remainder\r\n"
    "            A sign may stand before a number; parentheses nest to any depth.\r\n"
    "            * / \\ bind tighter than + and -; each level goes from left to right.\r\n"
    "Range:      -4294967295 to 4294967295. Division truncates toward zero; a quotient\r\n"
    "            and a remainder both take the sign of the product (-7\\2 is -1).\r\n"
    "Results:    OVERFLOW when a value leaves the range (ERROR inside parentheses);\r\n"
    "            ERROR for malformed input and division by zero. A single number is\r\n"
    "            shown as typed.\r\n"
    "Keys:       on a terminal, Left/Right, Home/End, Ctrl-A/Ctrl-E, Backspace, Delete,\r\n"
    "            Ctrl-U, Ctrl-K, Ctrl-W edit the line; Up/Down bring back earlier lines;\r\n"
    "            Ctrl-D on an empty line ends; Ctrl-C interrupts.\r\n"
    "\r\n"
    "Options:    --help     this text\r\n"
    "            --version  the version\r\n"};

int Print(TextView text) {
  WriteText(text);
  FlushOutput();
  return 0;
}

}  // namespace

int RunCommandLine(std::span<const char* const> arguments) {
  if (arguments.empty()) return RunCalculator();
  const std::string_view first = arguments.front();
  const bool option = first == "--help" || first == "--version";
  if (option && arguments.size() == 1) {
    return Print(first == "--help" ? kHelp.View() : kVersionLine.View());
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
