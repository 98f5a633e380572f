#include <span>

#include "console/console.h"
#include "dialogue/command_line.h"
#include "dialogue/main_loop.h"

namespace intcalc {
namespace {

// The program's state for the whole run, handed down by reference from here: the console,
// and the dialogue with the evaluation it hands each expression to.
constinit Console console;
constinit Dialogue dialogue;

}  // namespace
}  // namespace intcalc

int main(int argumentCount, char** arguments) {
  const std::span<const char* const> all(arguments, static_cast<std::size_t>(argumentCount));
  return intcalc::RunCommandLine(intcalc::console, intcalc::dialogue,
                                 all.empty() ? all : all.subspan(1));
}
