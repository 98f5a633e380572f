// Diagnostics: how each expression is evaluated, one step a line on standard error.
#pragma once

#include <cstdint>

namespace intcalc {

enum class TraceMode : std::uint8_t {
  kOff,
  kTrace,  // every step, as it happens
  kStep,   // the same, waiting for a key after each step when input is a terminal
};

// StartTracing: watches every evaluation from now on in the given mode, or no more.
void StartTracing(TraceMode mode);

}  // namespace intcalc
