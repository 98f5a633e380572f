// Between the console's two halves: what each platform provides (posix_console.cpp,
// windows_console.cpp), and what the platform-neutral half (output.cpp) gives it back.
#pragma once

#include <cstddef>
#include <span>

#include "console/console.h"

namespace intcalc {

// ---- Provided by each platform --------------------------------------------------------

// StandardInputReadsLines: whether standard input delivers lines its own way: a terminal
// the line editor draws on, or a console that edits them itself.
bool StandardInputReadsLines();

// ReadStandardInputLine: one piece of a line that way, as ReadLine delivers it.
ReadResult ReadStandardInputLine(std::span<char> buffer);

// ReadStandardInputChunk: one raw read of standard input for the line splitter, after
// writing out the pending output.
ReadResult ReadStandardInputChunk(std::span<char> destination);

// OpenInputFile, ReadInputFile, CloseInputFile: the file ReadLine reads. A failure to
// open or to read is kept for FailureReason(Stream::kInput).
bool OpenInputFile(const char* name);
ReadResult ReadInputFile(std::span<char> destination);
void CloseInputFile();

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

// ---- Provided by input.cpp ------------------------------------------------------------

// ResetInput: standard input again, nothing of it kept.
void ResetInput();

}  // namespace intcalc
