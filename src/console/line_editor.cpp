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

// After an Escape, how long the rest of a key's sequence may take to come: a slow link or
// a busy machine may split a sequence across reads; after this, it is the Escape key.
constexpr int kEscapeWaitMilliseconds = 500;
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
    case SignalNews::kContinued:  // what the shell wrote meanwhile stays; the prompt again
      editor.columns = Columns();
      editor.windowStart = 0;
      Draw(console, Clearing::kContinued);
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

enum class KeysRead : unsigned char { kKeys, kTimedOut, kStopped, kEnd, kFailed };

// ReadKeys: waits for keys, at most `waitMilliseconds` when it is not -1, and reads what is
// waiting into `keys`. Before each wait it takes the news with `takeNews` and writes out
// the answers so far: kStopped when either says not to wait.
template <typename TakeNews>
KeysRead ReadKeys(Console& console, PendingKeys& keys, int waitMilliseconds, TakeNews takeNews) {
  const Waited waited = WaitForInput(waitMilliseconds, [&console, &takeNews] {
    if (SignalNewsWaiting() && !takeNews()) return false;
    return ReadyToWait(console);
  });
  switch (waited) {
    case Waited::kReady:
      break;
    case Waited::kTimedOut:
      return KeysRead::kTimedOut;
    case Waited::kStopped:
      return KeysRead::kStopped;
    case Waited::kFailed:
      return KeysRead::kFailed;
  }
  keys.bytes.Clear();
  keys.used = 0;
  const std::span<char> room = keys.bytes.Unfilled();
  const ssize_t count = Retrying(
      STDIN_FILENO, POLLIN, [&] { return Calls().read(STDIN_FILENO, room.data(), room.size()); });
  if (count < 0) return KeysRead::kFailed;
  if (count == 0) return KeysRead::kEnd;
  keys.bytes.Filled(static_cast<std::size_t>(count));
  return KeysRead::kKeys;
}

// FirstByte: what a key typed, for a key that types a character; NUL for any other.
char FirstByte(const Keys& keys) {
  if (keys.IsEmpty() || keys[0].Character().empty()) return '\0';
  return keys[0].Character()[0];
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
  Terminal& terminal = console.platform.terminal;
  // Raw before the prompt shows: keys typed as soon as it appears are the editor's.
  if (!terminal.SetMode(TerminalMode::kRaw)) return End(console, ReadStatus::kFailed);
  InteractiveState& session = console.interactive;
  EditorState& editor = session.editor;
  StartLine(editor, destination.size() - lineEnd);
  editor.columns = Columns();
  Draw(console, Clearing::kRow);

  KeyDecoder decoder(KeysFound());
  while (true) {
    BytesApplied applied;
    if (session.keys.Left().empty()) {
      const int wait = decoder.Unfinished() ? kEscapeWaitMilliseconds : -1;
      switch (ReadKeys(console, session.keys, wait, [&console] {
        TakeNews(console);
        return true;
      })) {
        case KeysRead::kKeys:
          break;
        case KeysRead::kTimedOut:
          applied = ApplyKeys(editor, decoder.Expire());
          break;
        case KeysRead::kEnd:
          return End(console, ReadStatus::kEndOfInput);
        case KeysRead::kFailed:
          return End(console, ReadStatus::kFailed);
        case KeysRead::kStopped:
          return End(console, ReadStatus::kWriteFailed);
      }
    }
    if (!session.keys.Left().empty()) {
      applied = ApplyBytes(editor, decoder, session.keys.Left());
      session.keys.used += applied.used;
    }

    if (applied.bell) WriteBytes(console, kBell);
    switch (applied.outcome) {
      case EditOutcome::kLineDone:
        return Deliver(console, destination);
      case EditOutcome::kEndOfInput:
        return End(console, ReadStatus::kEndOfInput);
      case EditOutcome::kInterrupt:
        terminal.RaiseAsTheTerminalWould(SIGINT);
        break;
      case EditOutcome::kQuit:
        terminal.RaiseAsTheTerminalWould(SIGQUIT);
        break;
      case EditOutcome::kSuspend:
        terminal.RaiseAsTheTerminalWould(SIGTSTP);  // continued, the next wait takes the news
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

// ReadInteractiveKey: one key as the editor decodes it, in the terminal's key mode, where
// its own signal keys work. Keys typed after it wait for the next step.
KeyRead ReadInteractiveKey(Console& console) {
  Terminal& terminal = console.platform.terminal;
  PendingKeys& keys = console.interactive.stepKeys;
  if (!ReadyToWait(console) || !terminal.SetMode(TerminalMode::kKey)) {
    return {KeyStatus::kNone, 0};
  }
  KeyDecoder decoder(KeysFound());
  KeyRead read{KeyStatus::kNone, 0};
  bool waiting = true;
  while (waiting) {
    if (!keys.Left().empty()) {
      const Keys decoded = decoder.Feed(keys.Left().front());
      ++keys.used;
      if (!decoded.IsEmpty()) read = {KeyStatus::kKey, FirstByte(decoded)};
      waiting = decoded.IsEmpty();
      continue;
    }
    const int wait = decoder.Unfinished() ? kEscapeWaitMilliseconds : -1;
    const KeysRead result = ReadKeys(console, keys, wait, [&terminal] {
      return terminal.TakeNews() != SignalNews::kContinued;  // the step is shown again
    });
    waiting = result == KeysRead::kKeys;
    if (result == KeysRead::kTimedOut) read = {KeyStatus::kKey, FirstByte(decoder.Expire())};
    if (result == KeysRead::kStopped && !console.output.Failed()) {
      read = {KeyStatus::kContinued, 0};
    }
  }
  terminal.Restore();
  return read;
}

}  // namespace intcalc
