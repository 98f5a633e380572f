// The console primitives: write text to standard output, read one line from standard input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "console/output.h"
#include "editor/line_splitter.h"
#include "text/limits.h"
#include "text/text_buffer.h"

namespace intcalc {

// The three standard streams.
enum class Stream : std::uint8_t { kInput, kOutput, kError };

// kPlatformLineEnd: the line end of the platform's own text files and messages.
#if defined(_WIN32)
inline constexpr ConstantText kPlatformLineEnd{"\r\n"};
#else
inline constexpr ConstantText kPlatformLineEnd{"\n"};
#endif

// WriteText: hands the bytes of text to standard output. Output is kept in a fixed buffer
// and written out before any read that may block, whenever the buffer fills, and by
// FlushOutput.
inline void WriteText(TextView text) {
  PendingOutput().Append(text);
}

// WriteLine: WriteText of text, then of the line end CR LF.
inline void WriteLine(TextView text) {
  PendingOutput().AppendAll(text, kLineEnd);
}

// WriteTexts: WriteText of each text in turn.
template <typename... Texts>
void WriteTexts(const Texts&... texts) {
  PendingOutput().AppendAll(texts...);
}

// WritePlatformLine: WriteText of text, then of the platform's own line end.
inline void WritePlatformLine(TextView text) {
  PendingOutput().AppendAll(text, kPlatformLineEnd);
}

// WritePrompt: WriteText of a prompt that lives as long as the program, which a line
// editor shows again above the line when it clears the screen.
void WritePrompt(TextView prompt);

// FlushOutput: writes out everything kept so far. A write that fails outright, rather
// than being interrupted or asked to wait, marks the output failed: from then on nothing
// more is written, and ReadLine reads nothing.
void FlushOutput();

// OutputFailed: whether a write to standard output has failed.
bool OutputFailed();

// FailureReason: the system's words for why the latest read of standard input, or write
// to standard output, failed.
std::string_view FailureReason(Stream stream);

// WriteErrorLine: writes the parts to standard error at once, as one line with the
// platform's line end; nothing is kept for it. Returns whether all of it was written; a
// failure there is standard error's alone.
bool WriteErrorLine(std::initializer_list<std::string_view> parts);

enum class KeyStatus : std::uint8_t {
  kKey,        // a key arrived
  kNone,       // none will: input is no terminal, or has ended or failed
  kContinued,  // the program was stopped meanwhile; what was shown may be gone
};

struct KeyRead {
  KeyStatus status;
  char key;
};

// KeysCanBeWaitedFor: whether a person sees what is written to standard error and can
// answer it with a key: standard input and standard error are both terminals.
bool KeysCanBeWaitedFor();

// ReadKey: writes out the pending output, waits for one key on the terminal that standard
// input is, and takes it without echo.
KeyRead ReadKey();

// RestoreConsole: puts back what the console changed, the terminal's settings among them.
void RestoreConsole();

// ReadFromStandardInput, ReadFromFile, ReadFromText: what ReadLine reads from then on,
// until its end: standard input, from where it stands; the named file, false when it
// cannot be opened (FailureReason(Stream::kInput) says why); or a text that lives as long
// as it is read. The end of each ends its last line, and what was read of a file before a
// read failed is delivered before the failure.
void ReadFromStandardInput();
bool ReadFromFile(const char* name);
void ReadFromText(std::string_view text);

// ReadLine: stores the next piece of input, at most buffer.size() bytes, into buffer,
// after writing out the pending output when it must wait for input.
// A line end in the input (LF or CR LF) arrives as CR LF and counts two bytes against
// the limit; a longer line arrives in successive pieces, the first without a line end;
// a last line without a line end still gets one. Every piece shorter than the limit
// ends with LF. No NUL is added and the rest of buffer is left as it was.
ReadResult ReadLine(std::span<char> buffer);

}  // namespace intcalc
