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

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

#include "console/interactive.h"
#include "console/system_calls.h"
#include "console/terminal.h"
#include "console/terminal_keys.h"
#include "editor/key_decoder.h"
#include "editor/line_drawing.h"
#include "editor/line_editing.h"
#include "editor/typing.h"
#include "text/decimal.h"

namespace intcalc {

namespace {

constexpr std::string_view kBell = "\a";

// ---- The terminal ---------------------------------------------------------------------

std::size_t Columns() {
  winsize size{};
  if (Calls().windowSize(STDOUT_FILENO, &size) != 0 || size.ws_col == 0) return kDefaultColumns;
  return size.ws_col;  // the drawing keeps it within the widths it draws for
}

// What a drawing shows after the line.
enum class Answered : unsigned char {
  kNo,   // nothing: the line is handed over, or a signal key acts on it
  kYes,  // the answer the line would get now, where one is shown
};

// Draw: the line drawn again, after what is kept to write, and with `answered` its answer.
// A way out meanwhile erases the answer and leaves the terminal on a fresh line.
void Draw(Shell& shell, Clearing clearing, Answered answered) {
  InteractiveState& session = shell.session;
  std::string_view answer;
  if (answered == Answered::kYes && session.answers != nullptr) {
    answer = session.answers->Answer(session.editor.line.View());
  }
  const std::size_t answerColumn =
      DrawLine(session.editor, clearing, {shell.prompt, answer, session.dim}, session.drawing);
  shell.output.WriteBytes(session.drawing.View());
  BoundedArray<char, kMostLeaving> erase;
  if (answerColumn > 0) {
    erase.Append(kNotDim);  // whatever was written out of the drawing before the way out
    erase.Append(kControlIntroducer);
    erase.Append(Decimal<std::size_t>(answerColumn + 1).View());
    erase.Push(kCursorToColumn);
    erase.Append(kEraseRowAfter);
  }
  Terminal::SetLeaving(erase.View(), true);
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
  Draw(shell, clearing, Answered::kYes);
}

// ShownAtOnce: the news shown on the row at once; the waiting goes on.
bool ShownAtOnce(Shell& shell, SignalNews news) {
  ShowNews(shell, news);
  return true;
}

// ---- One line -------------------------------------------------------------------------

// Deliver: the line and its line end into destination; the terminal stays raw for the
// next line.
ReadResult Deliver(Shell& shell, std::span<char> destination) {
  Draw(shell, Clearing::kRow, Answered::kNo);
  shell.output.Write(TextView(kLineEnd));
  Terminal::SetLeaving({}, false);
  KeepInHistoryFile(shell.session.historyFile, shell.session.editor.line);
  const std::string_view line = shell.session.editor.line.View();
  const std::string_view lineEnd = kLineEnd;
  std::memcpy(destination.data(), line.data(), line.size());  // the line fits, with its end
  std::memcpy(destination.data() + line.size(), lineEnd.data(), lineEnd.size());
  return ReadResult::Piece(line.size() + lineEnd.size(), true);
}

// End: the reading ends with `result`, the terminal's mode put back.
ReadResult End(Shell& shell, ReadResult result) {
  shell.terminal.Restore();
  TellHistoryFault(shell.session.historyFile, shell.output);  // after the last row
  return result;
}

// TakeKeys: the keys held, or those that come next, applied to the line into `applied`;
// or how the reading ends.
std::optional<ReadResult> TakeKeys(Shell& shell, KeyDecoder& decoder, BytesApplied& applied) {
  EditorState& editor = shell.session.editor;
  HeldKeys& keys = shell.session.keys;
  if (keys.Left().empty()) {
    const int wait = decoder.Unfinished() ? kEscapeWaitMilliseconds : -1;
    switch (ReadKeys(shell, wait, ShownAtOnce)) {
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
  // Every key at hand was used: the answer is shown; a key to act on hides it first.
  const bool used = applied.outcome == EditOutcome::kGoOn;
  const Answered answered = used ? Answered::kYes : Answered::kNo;
  if (applied.clearScreen) {
    Draw(shell, Clearing::kScreen, answered);
  } else if (applied.changed || !used) {
    Draw(shell, Clearing::kRow, answered);
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
      Draw(shell, Clearing::kRow, Answered::kYes);
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

}  // namespace

ReadResult ReadInteractiveLine(InteractiveState& session, Output& output, PlatformState& platform,
                               TextView prompt, std::span<char> destination) {
  const std::size_t lineEnd = decltype(kLineEnd)::Length();
  if (destination.size() <= lineEnd) return ReadResult::Piece(0);
  Shell shell{session, output, platform.terminal, prompt};
  // Once, before the prompt is written out: a warning of the file's shows above it.
  LoadHistoryFile(session.historyFile, session.editor.history, output);
  // Raw before the prompt shows: keys typed as soon as it appears are the editor's.
  if (!shell.terminal.SetMode(TerminalMode::kRaw)) return End(shell, ReadResult::Failed(errno));
  StartLine(session.editor, destination.size() - lineEnd);
  session.editor.columns = Columns();
  Draw(shell, Clearing::kRow, Answered::kYes);
  KeyDecoder decoder(Terminal::KeysFound());
  while (true) {
    BytesApplied applied;
    if (const std::optional<ReadResult> ended = TakeKeys(shell, decoder, applied)) {
      return End(shell, *ended);
    }
    if (const std::optional<ReadResult> done = ActOn(shell, applied, destination)) return *done;
  }
}

void ShowAnswers(InteractiveState& session, LineAnswers* answers) {
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  session.answers = set("INTCALC_NO_LIVE") ? nullptr : answers;
  session.dim = !set("NO_COLOR");
}

}  // namespace intcalc
