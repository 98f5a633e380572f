// The line editor's terminal shell, for terminals that understand cursor movement: it
// reads keys, hands them to the editor's layers in src/editor (key_decoder: bytes to keys;
// line_editing: keys to the line; line_drawing: the line to bytes), and writes what they
// draw, in the raw mode the terminal's owner (terminal.cpp) sets. It reads single keys
// for the stepping too, from the same keys held. POSIX only.
//
// Each read takes what is waiting, up to a fixed buffer: its keys are applied together and
// the line drawn once, with one bell at most for the keys it could not take, so a paste
// costs what it shows. Bytes after an Enter wait for the next line, and the terminal stays
// raw between lines, so that none of a paste is echoed by the terminal meanwhile.
//
// What this shell cannot check: that the terminal understands the few ANSI controls it
// draws with (carriage return, erase, cursor up, forward and to a column, clear screen),
// that it shows a character as wide as Unicode says, and whether it rewraps a row when it
// narrows: the redraw after a resize clears only the rows that certainly were the line's.
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

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

// Draw: the line drawn again, after what is kept to write; a way out meanwhile leaves the
// terminal on a fresh line.
void Draw(Shell& shell, Clearing clearing) {
  DrawLine(shell.session.editor, clearing, shell.prompt, shell.session.drawing);
  shell.output.WriteBytes(shell.session.drawing.View());
  Terminal::SetLeaving(kLineEnd);
}

// ShowNews: what the signals' news asks of the row: after a stop, the line again at the
// terminal's width now, under the prompt; after a resize, the line refitted to the new
// width, growing or narrowing.
void ShowNews(Shell& shell, SignalNews news) {
  EditorState& editor = shell.session.editor;
  if (news == SignalNews::kNone) return;
  const std::size_t columns = Columns();
  Clearing clearing = Clearing::kContinued;  // what the shell wrote meanwhile stays
  if (news == SignalNews::kResized) {
    clearing = columns < editor.columns ? Clearing::kResized : Clearing::kRow;
  }
  editor.columns = columns;
  editor.windowStart = 0;  // as much of the line as now fits, the cursor in it
  Draw(shell, clearing);
}

// What a wait for keys came to.
enum class KeysRead : unsigned char {
  kKeys,          // keys are held
  kTimedOut,      // none came in time
  kShowAgain,     // news came that asks for what was shown to be shown again
  kOutputFailed,  // the answers so far could not be written out: nothing is read
  kEnd,           // input ended
  kFailed,        // the wait or the read failed; errno says why
};

// ReadKeys: waits for keys, at most `waitMilliseconds` when it is not -1, and reads what is
// waiting into the held keys. Before each wait it takes the news and shows it with
// `onNews`, which may ask to wait no more, and writes out the answers so far.
template <typename OnNews>
KeysRead ReadKeys(Shell& shell, int waitMilliseconds, OnNews onNews) {
  bool showAgain = false;
  const Waited waited = WaitForInput(waitMilliseconds, [&shell, &onNews, &showAgain] {
    showAgain = Terminal::NewsWaiting() && !onNews(shell.terminal.TakeNews());
    return !showAgain && shell.output.ReadyToWait();
  });
  switch (waited) {
    case Waited::kReady:
      break;
    case Waited::kTimedOut:
      return KeysRead::kTimedOut;
    case Waited::kStopped:
      return showAgain ? KeysRead::kShowAgain : KeysRead::kOutputFailed;
    case Waited::kFailed:
      return KeysRead::kFailed;
  }
  HeldKeys& keys = shell.session.keys;
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

// ActAsTheTerminal: what the terminal does for one of its signal keys: shows it, ^C for
// Ctrl-C, where the terminal would, then sends its signal. Returns when the signal is
// ignored, or after a stop once continued; whether the key was shown.
bool ActAsTheTerminal(Shell& shell, int signalNumber, int key) {
  const bool shown = Terminal::EchoesControls() && key != TerminalKeys::kNoKey;
  if (shown) {
    constexpr int kControlBit = 0x40;  // Ctrl-C is C without it
    const std::array<char, 2> echo = {'^', static_cast<char>(key ^ kControlBit)};
    shell.output.WriteBytes({echo.data(), echo.size()});
  }
  (void)shell.output.ReadyToWait();  // all that shows, before the signal
  shell.terminal.RaiseAsTheTerminalWould(signalNumber);
  return shown;
}

// ---- One line -------------------------------------------------------------------------

// Deliver: the line and its line end into destination; the terminal stays raw for the
// next line.
ReadResult Deliver(Shell& shell, std::span<char> destination) {
  Draw(shell, Clearing::kRow);
  shell.output.Write(TextView(kLineEnd));
  Terminal::SetLeaving({});
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

// TakeKeys: the keys held, or those that come next, applied to the line into `applied`;
// or how the reading ends.
std::optional<ReadResult> TakeKeys(Shell& shell, KeyDecoder& decoder, BytesApplied& applied) {
  EditorState& editor = shell.session.editor;
  HeldKeys& keys = shell.session.keys;
  if (keys.Left().empty()) {
    const int wait = decoder.Unfinished() ? kEscapeWaitMilliseconds : -1;
    switch (ReadKeys(shell, wait, [&shell](SignalNews news) {
      ShowNews(shell, news);
      return true;
    })) {
      case KeysRead::kKeys:
        break;
      case KeysRead::kTimedOut:
        applied = ApplyKeys(editor, decoder.Expire());
        return std::nullopt;
      case KeysRead::kEnd:
        return ReadResult::Ended();
      case KeysRead::kFailed:
        return ReadResult::Failed(errno);
      case KeysRead::kShowAgain:
      case KeysRead::kOutputFailed:
        return ReadResult::WriteFailed();
    }
  }
  applied = ApplyBytes(editor, decoder, keys.Left());
  keys.used += applied.used;
  return std::nullopt;
}

// ActOn: what the keys applied ask of the terminal: the line drawn as they left it, and
// the line delivered, the end of input, or a signal key's signal; or nothing more.
std::optional<ReadResult> ActOn(Shell& shell, const BytesApplied& applied,
                                std::span<char> destination) {
  if (applied.bell) shell.output.WriteBytes(kBell);
  if (applied.outcome == EditOutcome::kLineDone) return Deliver(shell, destination);
  if (applied.clearScreen) {
    Draw(shell, Clearing::kScreen);
  } else if (applied.changed) {
    Draw(shell, Clearing::kRow);
  }
  const TerminalKeys keys = Terminal::KeysFound();
  EditorState& editor = shell.session.editor;
  switch (applied.outcome) {
    case EditOutcome::kEndOfInput:
      return End(shell, ReadResult::Ended());
    case EditOutcome::kInterrupt:
      // Ignored, the interrupt still drops the line, as the terminal's own would, and one
      // shown goes on a fresh row.
      if (ActAsTheTerminal(shell, SIGINT, keys.interrupt)) shell.output.Write(TextView(kLineEnd));
      StartLine(editor, editor.capacity);
      Draw(shell, Clearing::kRow);
      break;
    case EditOutcome::kQuit:
      (void)ActAsTheTerminal(shell, SIGQUIT, keys.quit);
      break;
    case EditOutcome::kSuspend:
      (void)ActAsTheTerminal(shell, SIGTSTP, keys.suspend);  // the next wait takes the news
      break;
    default:
      break;
  }
  return std::nullopt;
}

// FirstByte: what a key typed, for a key that types a character; NUL for any other.
char FirstByte(const Key& key) {
  return key.Character().empty() ? '\0' : key.Character()[0];
}

// SignalOf: the signal a signal key sends, and the key; 0 for any other key.
std::pair<int, int> SignalOf(EditAction action, const TerminalKeys& keys) {
  switch (action) {
    case EditAction::kInterrupt:
      return {SIGINT, keys.interrupt};
    case EditAction::kQuit:
      return {SIGQUIT, keys.quit};
    case EditAction::kSuspend:
      return {SIGTSTP, keys.suspend};
    default:
      return {0, TerminalKeys::kNoKey};
  }
}

// NextKey: the next key of those held, decoded; empty while the held bytes end inside one.
Keys NextKey(HeldKeys& keys, KeyDecoder& decoder) {
  Keys decoded;
  while (decoded.IsEmpty() && !keys.Left().empty()) {
    decoded = decoder.Feed(keys.Left().front());
    ++keys.used;
  }
  return decoded;
}

}  // namespace

ReadResult ReadInteractiveLine(InteractiveState& session, Output& output, PlatformState& platform,
                               TextView prompt, std::span<char> destination) {
  const std::size_t lineEnd = decltype(kLineEnd)::Length();
  if (destination.size() <= lineEnd) return ReadResult::Piece(0);
  Shell shell{session, output, platform.terminal, prompt};
  // Raw before the prompt shows: keys typed as soon as it appears are the editor's.
  if (!shell.terminal.SetMode(TerminalMode::kRaw)) return End(shell, ReadResult::Failed(errno));
  StartLine(session.editor, destination.size() - lineEnd);
  session.editor.columns = Columns();
  Draw(shell, Clearing::kRow);
  KeyDecoder decoder(Terminal::KeysFound());
  while (true) {
    BytesApplied applied;
    if (const std::optional<ReadResult> ended = TakeKeys(shell, decoder, applied)) {
      return End(shell, *ended);
    }
    if (const std::optional<ReadResult> done = ActOn(shell, applied, destination)) return *done;
  }
}

// ReadInteractiveKey: one key as the editor decodes it, whatever it is; the signal keys do
// as the terminal would. Keys typed after it are held for whatever reads next.
KeyRead ReadInteractiveKey(InteractiveState& session, Output& output, PlatformState& platform) {
  Shell shell{session, output, platform.terminal, {}};
  if (!output.ReadyToWait() || !shell.terminal.SetMode(TerminalMode::kRaw)) {
    return {KeyStatus::kNone, 0};
  }
  Terminal::SetLeaving({});  // the rows of the steps end with their line ends
  const TerminalKeys terminalKeys = Terminal::KeysFound();
  KeyDecoder decoder(terminalKeys);
  while (true) {
    Keys keys = NextKey(session.keys, decoder);
    if (keys.IsEmpty()) {
      const int wait = decoder.Unfinished() ? kEscapeWaitMilliseconds : -1;
      switch (
          ReadKeys(shell, wait, [](SignalNews news) { return news != SignalNews::kContinued; })) {
        case KeysRead::kKeys:
          continue;
        case KeysRead::kTimedOut:
          keys = decoder.Expire();
          break;
        case KeysRead::kShowAgain:
          return {KeyStatus::kContinued, 0};  // the step is shown again
        default:
          return {KeyStatus::kNone, 0};
      }
    }
    const auto [signalNumber, key] = SignalOf(keys[0].action, terminalKeys);
    if (signalNumber == 0) return {KeyStatus::kKey, FirstByte(keys[0])};
    if (ActAsTheTerminal(shell, signalNumber, key)) output.Write(TextView(kLineEnd));
  }
}

}  // namespace intcalc
