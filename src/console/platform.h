// What each platform's half of the console provides to the platform-neutral half.
#pragma once

#include <span>

namespace intcalc {

// WriteAllToOutput: writes every byte to standard output, completing short writes and
// retrying interrupted ones. A write that fails outright marks the output failed (see
// OutputFailed), and this and every later call write nothing more.
void WriteAllToOutput(std::span<const char> bytes);

// WriteAllToError: writes every byte to standard error, as WriteAllToOutput does, but a
// failure here marks nothing.
void WriteAllToError(std::span<const char> bytes);

// DiscardOutput: forgets whatever output is kept and not yet written.
void DiscardOutput();

}  // namespace intcalc
