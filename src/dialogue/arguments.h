// The program's arguments, one at a time, as the command line means them: options
// anywhere until "--", short options combined ("-re EXPR", "-e2*3"), long options spelt
// in full ("--expression EXPR" or "--expression=EXPR"), anything else an operand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace intcalc {

struct Argument {
  enum class Kind : std::uint8_t {
    kResults,
    kTrace,
    kStep,
    kNoLive,
    kExpression,  // text: the expression
    kHelp,
    kVersion,
    kOperand,            // text: a file's name, or "-" for standard input
    kUnknownOption,      // text: the option as typed; letter: the short one in it, if one
    kMissingExpression,  // text: -e or --expression, with nothing after it
    kUnwantedValue,      // text: a long option given "=" and a value it does not take
  };
  Kind kind = Kind::kOperand;
  std::string_view text;  // an expression's or an operand's ends with the argument's NUL
  char letter = '\0';
};

// ArgumentReader: hands out the arguments in order.
class ArgumentReader {
 public:
  explicit ArgumentReader(std::span<const char* const> arguments) : arguments_(arguments) {}

  // Next: the next argument; false after the last.
  bool Next(Argument& argument);

 private:
  bool NextLong(std::string_view option, Argument& argument);
  bool NextShort(Argument& argument);
  // Expression: the expression of an option that takes one, `attached` to it in the same
  // argument ("-e2*3", "--expression=2*3") or, when there is none, the next argument.
  Argument Expression(std::string_view option, const char* attached);

  std::span<const char* const> arguments_;
  std::size_t index_ = 0;      // the argument read next
  std::size_t letter_ = 0;     // in a cluster of short options, the next letter's place
  bool optionsEnded_ = false;  // "--" came
};

}  // namespace intcalc
