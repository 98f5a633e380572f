// Between the console's two halves: what each platform provides (posix_console.cpp,
// windows_console.cpp), and what the platform-neutral half (output.cpp) gives it back.
#pragma once

#include <cstddef>
#include <span>

#include "console/console.h"

namespace intcalc {

// ---- Provided by each platform --------------------------------------------------------

// WriteSome: one write of bytes to standard output or standard error, retried while it
// is interrupted or must wait; the count written, more than 0, or 0 when the write failed
// outright, whose reason FailureReason(Stream::kOutput) then gives for standard output.
std::size_t WriteSome(Stream stream, std::span<const char> bytes);

// ---- Provided by output.cpp -----------------------------------------------------------

// WriteAll: every byte to the stream, short writes completed; false when a write failed
// outright, which loses the rest.
bool WriteAll(Stream stream, std::span<const char> bytes);

// WriteAllToOutput: WriteAll to standard output, unless output has failed before; a
// failure marks the output failed (see OutputFailed).
void WriteAllToOutput(std::span<const char> bytes);

// ResetOutput: forgets whatever output is kept and not yet written, and any failure.
void ResetOutput();

}  // namespace intcalc
