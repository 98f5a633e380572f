// What the calculator reads, in turn: the expressions the command line gives with -e, then
// its files ("-" for standard input, read again from where it stands each time), or
// standard input alone when it names neither.
#pragma once

#include <span>

#include "console/console.h"
#include "dialogue/arguments.h"
#include "dialogue/command_line.h"

namespace intcalc {

class Inputs {
 public:
  explicit Inputs(const CommandLine& commandLine)
      : expressions_(commandLine.arguments),
        files_(commandLine.arguments),
        named_(commandLine.namesInputs) {}

  // Read: the next piece of the current input, as ReadLine delivers it; at an input's end,
  // on to the next. An input that cannot be opened or read is named on standard error with
  // the system's reason, and the reading goes on; only standard input read alone reports
  // its failure, as the dialogue always has. kEndOfInput after the last.
  ReadResult Read(Console& console, std::span<char> buffer);

  // AnyFailed: whether an input named on the command line could not be opened or read.
  bool AnyFailed() const { return anyFailed_; }

 private:
  bool OpenNext(Console& console);
  void ReportFailed(Console& console);

  ArgumentReader expressions_;  // the arguments, walked for the expressions first
  ArgumentReader files_;        // and then for the FILEs
  bool named_ = false;
  bool reading_ = false;            // an input is open
  bool standardInputDone_ = false;  // when nothing is named: standard input has been read
  std::string_view current_;        // the file read now, for a message; a text cannot fail
  bool anyFailed_ = false;
};

}  // namespace intcalc
