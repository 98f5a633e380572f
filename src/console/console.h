// The console: everything the program reads and writes, through one Console that keeps
// what lasts between calls: what is read (standard input, a file or a text, split into
// pieces of lines), what is written and not yet written out, the errors for the messages,
// the line editor's session, and the trace's rows. Standard output gets the answers,
// standard error the messages and the trace, and a person at a terminal gives lines and
// keys.
//
// The one rule of reading and writing (ReadyToWait): before a read that may wait, the
// answers so far are written out, so the person sees all of them before being asked for
// more; once a write to standard output has failed, nothing more is written or read.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string_view>
#include <tuple>

#include "console/interactive.h"
#include "console/line_splitter.h"
#include "console/output.h"
#include "console/platform.h"
#include "text/bounded_array.h"
#include "text/limits.h"
#include "text/text_buffer.h"

namespace intcalc {

// What ReadLine reads from: standard input, a file, a text in memory, or nothing more.
enum class Source : std::uint8_t { kStandardInput, kFile, kText, kNothing };

struct InputState {
  LineSplitter splitter;
  Source source = Source::kStandardInput;
  InputKind standardInput = InputKind::kUnknown;  // found at the first read
  std::string_view textLeft;                      // the text's, while one is read
};

// TraceRows: the trace's rows on standard error: the latest, to show again where the
// person looks after a continue, and the stepping through them.
struct TraceRows {
  BoundedArray<char, kTraceColumns> lastRow;
  bool stepping = false;   // a key is waited for after each step
  bool hintShown = false;  // the keys of the stepping have been told
  bool skipping = false;   // q was pressed: no more waiting in this expression
};

inline constexpr ConstantText kNoPrompt{""};

struct Console {
  InputState input;
  OutputBuffer output;
  BoundedArray<char, kErrorLineCapacity> errorLine;  // a message, made whole before it goes
  PlatformState platform;
  InteractiveState interactive;
  TraceRows traceRows;
  TextView prompt = kNoPrompt;  // the latest, which the line editor shows again
};

// ---- Writing --------------------------------------------------------------------------

// FlushOutput: writes out everything kept so far. A write that fails outright, rather
// than being interrupted or asked to wait, marks the output failed: from then on nothing
// more is written, and nothing more is read.
void FlushOutput(Console& console);

// ReadyToWait: the one rule before a read that may wait (see above): writes out what is
// kept; false once output has failed.
bool ReadyToWait(Console& console);

// KeepAfterFlush: the texts kept one by one, written out first as the buffer fills; what
// the buffer cannot hold at all goes out at once.
void KeepAfterFlush(Console& console, std::initializer_list<TextView> texts);

// WriteText: hands the bytes of text to standard output. Output is kept in a fixed buffer
// and written out before any read that may wait, whenever the buffer fills, and by
// FlushOutput.
inline void WriteText(Console& console, TextView text) {
  if (!console.output.Keep(text)) [[unlikely]] {
    KeepAfterFlush(console, {text});
  }
}

// WriteLine: WriteText of each text, then of the dialogue's line end CR LF, as one append.
template <typename... Texts>
void WriteLine(Console& console, const Texts&... texts) {
  if (!console.output.Keep(texts..., kLineEnd)) [[unlikely]] {
    KeepAfterFlush(console, {TextView(texts)..., kLineEnd});
  }
}

// WriteBytes: WriteText of bytes that are no text of the program's own, such as the
// drawing of an edited line.
void WriteBytes(Console& console, std::string_view bytes);

// Line: the texts of one line, for WriteLines: LineOf(kLabel, result).
template <typename... Texts>
struct Line {
  std::tuple<const Texts&...> texts;
};

template <typename... Texts>
Line<Texts...> LineOf(const Texts&... texts) {
  return {{texts...}};
}

// WriteLines: WriteLine of each line in turn, as one append: an answer of several lines
// costs one append, not one a line, as each append waits for the length the one before
// stored.
template <typename... Lines>
void WriteLines(Console& console, const Lines&... lines) {
  const auto parts =
      std::tuple_cat(std::tuple_cat(lines.texts, std::tie(kLineEnd))...);  // references all
  std::apply(
      [&console](const auto&... part) {
        if (!console.output.Keep(part...)) [[unlikely]] {
          KeepAfterFlush(console, {TextView(part)...});
        }
      },
      parts);
}

// WritePlatformLine: WriteText of text, then of the platform's own line end.
inline void WritePlatformLine(Console& console, TextView text) {
  if (!console.output.Keep(text, kPlatformLineEnd)) [[unlikely]] {
    KeepAfterFlush(console, {text, kPlatformLineEnd});
  }
}

// WritePrompt: WriteLine of a prompt that lives as long as the program, which the line
// editor shows again above the line.
void WritePrompt(Console& console, TextView prompt);

// WriteErrorLine: writes the parts to standard error at once, as one line with the
// platform's line end; nothing is kept for it, and a long line is cut. Returns whether all
// of it was written; a failure there is standard error's alone.
bool WriteErrorLine(Console& console, std::initializer_list<std::string_view> parts);

// FailureReason: the system's words for why the latest read of an input, or the write to
// standard output, failed.
std::string_view FailureReason(Console& console, Stream stream);

// ---- Reading --------------------------------------------------------------------------

// ReadFromStandardInput, ReadFromFile, ReadFromText: what ReadLine reads from then on,
// until its end: standard input, from where it stands; the named file, false when it
// cannot be opened (FailureReason(Stream::kInput) says why); or a text that lives as long
// as it is read. The end of each ends its last line, and what was read of a file or a
// text before a read failed is delivered before the failure. A file read before is closed.
void ReadFromStandardInput(Console& console);
bool ReadFromFile(Console& console, const char* name);
void ReadFromText(Console& console, std::string_view text);

// ReadNothing: a file read before is closed; ReadLine reads nothing more.
void ReadNothing(Console& console);

// ReadLine: stores the next piece of input, at most buffer.size() bytes, into buffer.
// A line end in the input (LF or CR LF) arrives as CR LF and counts two bytes against
// the limit; a longer line arrives in successive pieces, the first without a line end;
// a last line without a line end still gets one. Every piece shorter than the limit ends
// its line. No NUL is added and the rest of buffer is left as it was.
ReadResult ReadLine(Console& console, std::span<char> buffer);

// KeysCanBeWaitedFor: whether a person sees what is written to standard error and can
// answer it with a key.
bool KeysCanBeWaitedFor(Console& console);

// ReadKey: writes out the pending output, then waits for one key at the terminal or
// console that standard input is, and takes it without echo.
KeyRead ReadKey(Console& console);

// RestoreConsole: puts back what the console changed, the terminal's settings among them.
void RestoreConsole(Console& console);

}  // namespace intcalc
