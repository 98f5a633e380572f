// The line editor's terminal shell, for terminals that understand cursor movement: it
// reads keys, hands them to the editor's layers in src/editor (key_decoder: bytes to keys;
// line_editing: keys to the line; line_drawing: the line to bytes), and writes what they
// draw, in the raw mode the terminal's owner (terminal.cpp) sets. It reads single keys
// for the stepping too. POSIX only.
//
// Each read takes what is waiting, up to a fixed buffer: its keys are applied together and
// the line drawn once, with one bell at most for the keys it could not take, so a paste
// costs what it shows. Bytes after an Enter wait for the next line.
//
// What this shell cannot check: that the terminal understands the few ANSI controls it
// draws with (carriage return, erase, cursor up and forward, clear screen), that it shows
// a character as wide as Unicode says, and whether it rewraps a row when it narrows: the
// redraw after a resize assumes it does, as most terminals now do.
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "console/console.h"
#include "console/interactive.h"
#include "console/retry.h"
#include "console/system_calls.h"
#include "console/terminal.h"
#include "editor/key_decoder.h"
#include "editor/line_drawing.h"
#include "editor/line_editing.h"

namespace intcalc {

namespace {

constexpr int kEscapeWaitMilliseconds = 50;  // a lone Escape is not followed within this
constexpr std::string_view kBell = "\a";

// ---- The terminal ---------------------------------------------------------------------

std::size_t Columns() {
  winsize size{};
  // ioctl is the one way to ask a terminal its size, and it takes variable arguments.
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 ||  // NOLINT(cppcoreguidelines-pro-type-vararg)
      size.ws_col == 0) {
    return kDefaultColumns;
  }
  return size.ws_col;  // the drawing keeps it within the widths it draws for
}

// Draw: the line drawn again, after what is kept to write.
void Draw(Console& console, Clearing clearing) {
  InteractiveState& session = console.interactive;
  DrawLine(session.editor, clearing, console.prompt, session.drawing);
  WriteBytes(console, session.drawing.View());
}

// TakeNews: what a signal asked for: after a continue, the line again at the terminal's
// width now; after a resize, the line refitted to the new width, growing or narrowing.
void TakeNews(Console& console) {
  EditorState& editor = console.interactive.editor;
  switch (console.platform.terminal.TakeNews()) {
    case SignalNews::kNone:
      return;
    case SignalNews::kContinued:
      editor.columns = Columns();
      editor.windowStart = 0;
      Draw(console, Clearing::kRow);
      return;
    case SignalNews::kResized: {
      const std::size_t columns = Columns();
      const Clearing clearing = columns < editor.columns ? Clearing::kResized : Clearing::kRow;
      editor.columns = columns;
      editor.windowStart = 0;  // as much of the line as now fits, the cursor in it
      Draw(console, clearing);
      return;
    }
  }
}

enum class Waited : unsigned char { kKeys, kTimedOut, kEnd, kFailed };

// ReadKeys: after the rule of every wait, waits for keys, at most `waitMilliseconds` when
// it is not -1, and reads what is waiting; news from a signal is taken on the way.
Waited ReadKeys(Console& console, int waitMilliseconds) {
  InteractiveState& session = console.interactive;
  while (true) {
    if (!ReadyToWait(console)) return Waited::kFailed;
    if (SignalNewsWaiting()) {
      TakeNews(console);  // what it draws goes out before the wait
      continue;
    }
    if (waitMilliseconds >= 0) {
      pollfd request{STDIN_FILENO, POLLIN, 0};
      const int ready = Calls().poll(&request, 1, waitMilliseconds);
      if (ready == 0) return Waited::kTimedOut;
      // A wait cut short by a signal is waited again, so the wait after an Escape never
      // becomes a read that takes the next key into a sequence.
      if (ready < 0 && errno == EINTR) continue;
      if (ready < 0) return Waited::kFailed;
    }
    session.keys.Clear();
    session.keysUsed = 0;
    const std::span<char> room = session.keys.Unfilled();
    const ssize_t count = Retrying(
        STDIN_FILENO, POLLIN, [&] { return Calls().read(STDIN_FILENO, room.data(), room.size()); },
        [] { return !SignalNewsWaiting(); });
    if (count > 0) {
      session.keys.Filled(static_cast<std::size_t>(count));
      return Waited::kKeys;
    }
    if (count == 0) return Waited::kEnd;
    if (errno != EINTR) return Waited::kFailed;
  }
}

// ---- One line -------------------------------------------------------------------------

// Deliver: the line and its line end into destination, and the terminal's mode put back.
ReadResult Deliver(Console& console, std::span<char> destination) {
  Draw(console, Clearing::kRow);
  WriteText(console, kLineEnd);
  console.platform.terminal.Restore();
  const std::string_view line = console.interactive.editor.line.View();
  const std::string_view lineEnd = kLineEnd;
  std::memcpy(destination.data(), line.data(), line.size());  // the line fits, with its end
  std::memcpy(destination.data() + line.size(), lineEnd.data(), lineEnd.size());
  return {ReadStatus::kPiece, line.size() + lineEnd.size(), true};
}

// End: the reading ends as `status` says; a failure's errno is kept for its message.
ReadResult End(Console& console, ReadStatus status) {
  if (status == ReadStatus::kFailed) console.platform.readError = errno;
  console.platform.terminal.Restore();
  return {status, 0};
}

}  // namespace

ReadResult ReadInteractiveLine(Console& console, std::span<char> destination) {
  const std::size_t lineEnd = decltype(kLineEnd)::Length();
  if (destination.size() <= lineEnd) return {ReadStatus::kPiece, 0};
  // Raw before the prompt shows: keys typed as soon as it appears are the editor's.
  if (!console.platform.terminal.SetMode(TerminalMode::kRaw))
    return End(console, ReadStatus::kFailed);
  InteractiveState& session = console.interactive;
  EditorState& editor = session.editor;
  StartLine(editor, destination.size() - lineEnd);
  editor.columns = Columns();
  Draw(console, Clearing::kRow);

  KeyDecoder decoder;
  while (true) {
    BytesApplied applied;
    if (session.keysUsed == session.keys.Size()) {
      switch (ReadKeys(console, decoder.Unfinished() ? kEscapeWaitMilliseconds : -1)) {
        case Waited::kKeys:
          break;
        case Waited::kTimedOut:
          applied = ApplyKeys(editor, decoder.Expire());
          break;
        case Waited::kEnd:
          return End(console, ReadStatus::kEndOfInput);
        case Waited::kFailed:
          return End(console,
                     console.output.Failed() ? ReadStatus::kWriteFailed : ReadStatus::kFailed);
      }
    }
    if (session.keysUsed < session.keys.Size()) {
      const std::string_view waiting =
          Part(session.keys.View(), session.keysUsed, session.keys.Size() - session.keysUsed);
      applied = ApplyBytes(editor, decoder, waiting);
      session.keysUsed += applied.used;
    }

    if (applied.bell) WriteBytes(console, kBell);
    switch (applied.outcome) {
      case EditOutcome::kLineDone:
        return Deliver(console, destination);
      case EditOutcome::kEndOfInput:
        return End(console, ReadStatus::kEndOfInput);
      case EditOutcome::kInterrupt:
        console.platform.terminal.RaiseAsTheTerminalWould(SIGINT);
        break;
      case EditOutcome::kSuspend:
        // Continued, the next wait takes the news.
        console.platform.terminal.RaiseAsTheTerminalWould(SIGTSTP);
        continue;
      default:
        break;
    }
    if (applied.clearScreen) {
      Draw(console, Clearing::kScreen);
    } else if (applied.changed) {
      Draw(console, Clearing::kRow);
    }
  }
}

KeyRead ReadInteractiveKey(Console& console) {
  Terminal& terminal = console.platform.terminal;
  if (!ReadyToWait(console) || !terminal.SetMode(TerminalMode::kKey)) {
    return {KeyStatus::kNone, 0};
  }
  char key = 0;
  while (true) {
    const ssize_t count = Retrying(
        STDIN_FILENO, POLLIN, [&] { return Calls().read(STDIN_FILENO, &key, 1); },
        [] { return !SignalNewsWaiting(); });
    if (count < 0 && errno == EINTR) {
      if (terminal.TakeNews() != SignalNews::kContinued) continue;
      terminal.Restore();
      return {KeyStatus::kContinued, 0};
    }
    terminal.Restore();
    return {count == 1 ? KeyStatus::kKey : KeyStatus::kNone, key};
  }
}

}  // namespace intcalc
