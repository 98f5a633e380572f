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

// WriteText: hands the bytes of text to standard output; returns how many it took.
// Output is kept in a fixed buffer and written out before any read that may block,
// whenever the buffer fills, and by FlushOutput.
// A TextBuffer's text is moved using the buffer's slack.
inline std::size_t WriteText(std::string_view text) {
  return PendingOutput().Append(text);
}
inline std::size_t WriteText(TextSpan text) {
  return PendingOutput().AppendPadded(text.View());
}

// WriteLine: WriteText of text, then of the line end CR LF.
inline void WriteLine(std::string_view text) {
  PendingOutput().AppendLine(text);
}
inline void WriteLine(TextSpan text) {
  PendingOutput().AppendPaddedLine(text.View());
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
