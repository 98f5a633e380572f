// What each platform's half of the console provides to the platform-neutral half.
#pragma once

#include <span>

#include "console/console.h"

namespace intcalc {

// WriteAllTo: writes every byte to standard output or standard error, completing short
// writes and retrying interrupted ones; false when a write failed outright, which loses the
// rest, and whose reason FailureReason then gives.
bool WriteAllTo(Stream stream, std::span<const char> bytes);

// WriteAllToOutput: WriteAllTo standard output, unless output has failed before; a failure
// marks the output failed (see OutputFailed).
void WriteAllToOutput(std::span<const char> bytes);

// ResetOutput: forgets whatever output is kept and not yet written, and any failure.
void ResetOutput();

}  // namespace intcalc
