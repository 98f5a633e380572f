// A person at the keyboard: lines edited at a terminal or a console, and single keys. On
// POSIX the line editor's shell gives them (line_editor.cpp), on Windows the console's
// own line input (windows_interactive.cpp). Both are peers of the platform's file, below
// the console's platform-neutral half, and reach only the parts of the console they use:
// their own session, the output, and the platform's state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "console/output.h"
#include "console/platform.h"
#include "console/read_result.h"
#include "text/text_buffer.h"

#if !defined(_WIN32)
#include "console/history_file.h"
#include "editor/line_drawing.h"
#include "editor/line_editing.h"
#endif

namespace intcalc {

enum class KeyStatus : std::uint8_t {
  kKey,        // a key arrived
  kNone,       // none will: input is no terminal, or has ended or failed
  kContinued,  // the program was stopped meanwhile; what was shown may be gone
};

struct KeyRead {
  KeyStatus status;
  char key;
};

// LineAnswers: what a line would be answered with, were it entered now: the dialogue's
// own answer, for the line editor to show as the line is edited.
class LineAnswers {
 public:
  // Answer: the answer to show after `line`, as it would be printed; empty where an answer
  // would only distract. What it points to lasts until the next call.
  virtual std::string_view Answer(std::string_view line) = 0;

 protected:
  LineAnswers() = default;
  ~LineAnswers() = default;
  LineAnswers(const LineAnswers&) = default;
  LineAnswers& operator=(const LineAnswers&) = default;
  LineAnswers(LineAnswers&&) = default;
  LineAnswers& operator=(LineAnswers&&) = default;
};

#if defined(_WIN32)
struct InteractiveState {};  // the console keeps its line itself
#else
// HeldKeys: the bytes one read of the terminal brought, and how many of them are used; the
// rest wait for whatever reads next, a line or a single key.
struct HeldKeys {
  BoundedArray<char, kKeysCapacity> bytes;
  std::size_t used = 0;

  std::string_view Left() const { return Part(bytes.View(), used, bytes.Size() - used); }
};

// InteractiveState: the line editor's session, alive for the whole run for the history
// and for keys typed ahead: the line and its history, the keys read and not yet used,
// which a line and a single key take from alike, and the drawing being written.
struct InteractiveState {
  EditorState editor;
  HeldKeys keys;
  Drawing drawing;
  LineAnswers* answers = nullptr;  // what the line is answered with as it is edited, if shown
  bool dim = false;                // the answers are shown dim
  HistoryFile historyFile;         // the history kept across runs
};
#endif

// ReadInteractiveLine: lets the person edit one line of at most destination.size() - 2
// bytes, under `prompt`, which is on the screen above it, after the pending output is
// written out, and stores it, followed by CR LF, into destination. At a terminal, a key
// that would make the line longer rings the bell and is dropped, Ctrl-D on an empty line
// is the end of input, and Ctrl-C ends the program as the interrupt key does; the terminal
// is in raw mode only while the line is edited.
ReadResult ReadInteractiveLine(InteractiveState& session, Output& output, PlatformState& platform,
                               TextView prompt, std::span<char> destination);

// ReadInteractiveKey: after the pending output is written out, waits for one key at the
// terminal or console that standard input is, and takes it without echo.
KeyRead ReadInteractiveKey(InteractiveState& session, Output& output, PlatformState& platform);

// ShowAnswers: from now on the line editor shows after the line what `answers` answers it
// with, dim unless NO_COLOR is set and not empty; nothing where `answers` is null or
// INTCALC_NO_LIVE is set and not empty. Nothing in the Windows program, whose console edits
// lines itself.
void ShowAnswers(InteractiveState& session, LineAnswers* answers);

// TakeKeysHeld: the keys that came while a key was waited for and were not used, for a
// reader of whole lines, into destination, each CR as the LF the terminal's own line mode
// makes of it; returns how many bytes.
std::size_t TakeKeysHeld(InteractiveState& session, std::span<char> destination);

}  // namespace intcalc
