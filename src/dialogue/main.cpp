#include <span>

#include "dialogue/command_line.h"

int main(int argumentCount, char** arguments) {
  const std::span<const char* const> all(arguments, static_cast<std::size_t>(argumentCount));
  return intcalc::RunCommandLine(all.empty() ? all : all.subspan(1));
}
