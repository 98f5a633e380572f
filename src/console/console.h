// The console primitives: write text to standard output, read one line from standard input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "console/output_buffer.h"
#include "text/text_buffer.h"

namespace intcalc {

enum class ReadStatus : std::uint8_t {
  kLine,        // a piece of a line arrived
  kEndOfInput,  // input has ended; nothing more will come
  kFailed,      // the platform's read failed
};

struct ReadResult {
  ReadStatus status;
  std::size_t count;  // bytes stored into the caller's buffer
};

// WriteText: hands the bytes of text to standard output. Output is kept in a fixed buffer
// and written out before any read that may block, whenever the buffer fills, and by
// FlushOutput.
inline void WriteText(TextView text) {
  PendingOutput().Append(text);
}

// WriteLine: WriteText of text, then of the line end CR LF.
inline void WriteLine(TextView text) {
  PendingOutput().AppendLine(text);
}

// FlushOutput: writes out everything kept so far.
void FlushOutput();

// WriteError: writes text to standard error at once; nothing is kept for it.
void WriteError(std::string_view text);

// ReadLine: stores the next piece of input, at most buffer.size() bytes, into buffer.
// A line end in the input (LF or CR LF) arrives as CR LF and counts two bytes against
// the limit; a longer line arrives in successive pieces, the first without a line end;
// a last line without a line end still gets one. Every piece shorter than the limit
// ends with LF. No NUL is added and the rest of buffer is left as it was.
ReadResult ReadLine(std::span<char> buffer);

}  // namespace intcalc
