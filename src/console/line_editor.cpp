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
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "console/interactive.h"
#include "console/retry.h"
#include "console/system_calls.h"
#include "console/terminal.h"
#include "editor/key_decoder.h"
#include "editor/line_drawing.h"
#include "editor/line_editing.h"
#include "editor/typing.h"

namespace intcalc {

namespace {

// After an Escape, how long the rest of a key's sequence may take to come: a slow link or
// a busy machine may split a sequence across reads; after this, it is the Escape key.
constexpr int kEscapeWaitMilliseconds = 500;
constexpr std::string_view kBell = "\a";

// ---- The terminal ---------------------------------------------------------------------

std::size_t Columns() {
  winsize size{};
  if (Calls().windowSize(STDOUT_FILENO, &size) != 0 || size.ws_col == 0) return kDefaultColumns;
  return size.ws_col;  // the drawing keeps it within the widths it draws for
}

// Shell: the parts of the console the shell reaches, for one line or one key.
struct Shell {
  InteractiveState& session;
  Output& output;
  Terminal& terminal;
  std::string_view prompt;
};

// Draw: the line drawn again, after what is kept to write.
void Draw(Shell& shell, Clearing clearing) {
  DrawLine(shell.session.editor, clearing, shell.prompt, shell.session.drawing);
  shell.output.WriteBytes(shell.session.drawing.View());
}

// TakeNews: what a signal asked for: after a continue, the line again at the terminal's
// width now; after a resize, the line refitted to the new width, growing or narrowing.
void TakeNews(Shell& shell) {
  EditorState& editor = shell.session.editor;
  switch (shell.terminal.TakeNews()) {
    case SignalNews::kNone:
      return;
    case SignalNews::kContinued:  // what the shell wrote meanwhile stays; the prompt again
      editor.columns = Columns();
      editor.windowStart = 0;
      Draw(shell, Clearing::kContinued);
      return;
    case SignalNews::kResized: {
      const std::size_t columns = Columns();
      const Clearing clearing = columns < editor.columns ? Clearing::kResized : Clearing::kRow;
      editor.columns = columns;
      editor.windowStart = 0;  // as much of the line as now fits, the cursor in it
      Draw(shell, clearing);
      return;
    }
  }
}

enum class KeysRead : unsigned char { kKeys, kTimedOut, kStopped, kEnd, kFailed };

// ReadKeys: waits for keys, at most `waitMilliseconds` when it is not -1, and reads what is
// waiting into `keys`. Before each wait it takes the news with `takeNews` and writes out
// the answers so far: kStopped when either says not to wait.
template <typename TakeNews>
KeysRead ReadKeys(Output& output, HeldKeys& keys, int waitMilliseconds, TakeNews takeNews) {
  const Waited waited = WaitForInput(waitMilliseconds, [&output, &takeNews] {
    if (Terminal::NewsWaiting() && !takeNews()) return false;
    return output.ReadyToWait();
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
ReadResult Deliver(Shell& shell, std::span<char> destination) {
  Draw(shell, Clearing::kRow);
  shell.output.Write(TextView(kLineEnd));
  shell.terminal.Restore();
  const std::string_view line = shell.session.editor.line.View();
  const std::string_view lineEnd = kLineEnd;
  std::memcpy(destination.data(), line.data(), line.size());  // the line fits, with its end
  std::memcpy(destination.data() + line.size(), lineEnd.data(), lineEnd.size());
  return ReadResult::Piece(line.size() + lineEnd.size(), true);
}

// End: the reading ends with `result`, the terminal's mode put back.
ReadResult End(Shell& shell, ReadResult result) {
  shell.terminal.Restore();
  return result;
}

}  // namespace

ReadResult ReadInteractiveLine(InteractiveState& session, Output& output, PlatformState& platform,
                               TextView prompt, std::span<char> destination) {
  const std::size_t lineEnd = decltype(kLineEnd)::Length();
  if (destination.size() <= lineEnd) return ReadResult::Piece(0);
  Shell shell{session, output, platform.terminal, prompt};
  Terminal& terminal = platform.terminal;
  // Raw before the prompt shows: keys typed as soon as it appears are the editor's.
  if (!terminal.SetMode(TerminalMode::kRaw)) return End(shell, ReadResult::Failed(errno));
  EditorState& editor = session.editor;
  StartLine(editor, destination.size() - lineEnd);
  editor.columns = Columns();
  Draw(shell, Clearing::kRow);

  KeyDecoder decoder(Terminal::KeysFound());
  while (true) {
    BytesApplied applied;
    if (session.keys.Left().empty()) {
      const int wait = decoder.Unfinished() ? kEscapeWaitMilliseconds : -1;
      switch (ReadKeys(output, session.keys, wait, [&shell] {
        TakeNews(shell);
        return true;
      })) {
        case KeysRead::kKeys:
          break;
        case KeysRead::kTimedOut:
          applied = ApplyKeys(editor, decoder.Expire());
          break;
        case KeysRead::kEnd:
          return End(shell, ReadResult::Ended());
        case KeysRead::kFailed:
          return End(shell, ReadResult::Failed(errno));
        case KeysRead::kStopped:
          return End(shell, ReadResult::WriteFailed());
      }
    }
    if (!session.keys.Left().empty()) {
      applied = ApplyBytes(editor, decoder, session.keys.Left());
      session.keys.used += applied.used;
    }

    if (applied.bell) output.WriteBytes(kBell);
    switch (applied.outcome) {
      case EditOutcome::kLineDone:
        return Deliver(shell, destination);
      case EditOutcome::kEndOfInput:
        return End(shell, ReadResult::Ended());
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
      Draw(shell, Clearing::kScreen);
    } else if (applied.changed) {
      Draw(shell, Clearing::kRow);
    }
  }
}

// ReadInteractiveKey: one key as the editor decodes it, in the terminal's key mode, where
// its own signal keys work. Keys typed after it wait for the next step.
KeyRead ReadInteractiveKey(InteractiveState& session, Output& output, PlatformState& platform) {
  Terminal& terminal = platform.terminal;
  HeldKeys& keys = session.keys;
  if (!output.ReadyToWait() || !terminal.SetMode(TerminalMode::kKey)) {
    return {KeyStatus::kNone, 0};
  }
  KeyDecoder decoder(Terminal::KeysFound());
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
    const KeysRead result = ReadKeys(output, keys, wait, [&terminal] {
      return terminal.TakeNews() != SignalNews::kContinued;  // the step is shown again
    });
    waiting = result == KeysRead::kKeys;
    if (result == KeysRead::kTimedOut) read = {KeyStatus::kKey, FirstByte(decoder.Expire())};
    if (result == KeysRead::kStopped && !output.Failed()) {
      read = {KeyStatus::kContinued, 0};
    }
  }
  terminal.Restore();
  return read;
}

}  // namespace intcalc
