// The line editor's terminal shell: the terminal's width, reading keys and writing what
// the drawing layer draws, in the raw mode the terminal's owner (terminal.cpp) sets. The
// keys are decoded, applied and drawn by the editor's layers, which touch nothing.
//
// Each read takes what is waiting, up to a fixed buffer: its keys are applied together and
// the line drawn once, with one bell at most for the keys it could not take, so a paste
// costs what it shows. Bytes after an Enter wait for the next line.
//
// What this shell cannot check: that the terminal understands the few ANSI controls it
// draws with (carriage return, erase, cursor up and forward, clear screen), that it shows
// a character as wide as Unicode says, and whether it rewraps a row when it narrows: the
// redraw after a resize assumes it does, as most terminals now do.
#include "console/line_editor.h"

#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "console/platform.h"
#include "console/retry.h"
#include "console/system_calls.h"
#include "console/terminal.h"
#include "editor/line_drawing.h"
#include "editor/line_editing.h"

namespace intcalc {

namespace {

constexpr int kEscapeWaitMilliseconds = 50;  // a lone Escape is not followed within this
constexpr std::string_view kBell = "\a";
constexpr std::size_t kKeysCapacity = 4096;  // what one read of the terminal takes at most
constexpr ConstantText kNoPrompt{""};

// The editor's state lives for the whole run, for the history and for keys typed ahead;
// it is handed to every function that needs it.
struct Shell {
  EditorState editor;
  std::array<char, kKeysCapacity> keys{};  // read, and not yet applied
  std::size_t keysBegin = 0;
  std::size_t keysEnd = 0;
  TextView prompt = kNoPrompt;  // shown above the line on a cleared screen
};

constinit Shell shell;

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

void Draw(Clearing clearing) {
  const Drawing drawing = DrawLine(shell.editor, clearing, shell.prompt);
  shell.editor.windowStart = drawing.windowStart;
  shell.editor.cursorColumn = drawing.cursorColumn;
  WriteAllToOutput(drawing.View());
}

// TakeNews: what a signal asked for: after a continue, the line again at the terminal's
// width now; after a resize, the line refitted to the new width, growing or narrowing.
void TakeNews() {
  switch (TakeSignalNews()) {
    case SignalNews::kNone:
      return;
    case SignalNews::kContinued:
      shell.editor.columns = Columns();
      shell.editor.windowStart = 0;
      Draw(Clearing::kRow);
      return;
    case SignalNews::kResized: {
      const std::size_t columns = Columns();
      const Clearing clearing =
          columns < shell.editor.columns ? Clearing::kResized : Clearing::kRow;
      shell.editor.columns = columns;
      shell.editor.windowStart = 0;  // as much of the line as now fits, the cursor in it
      Draw(clearing);
      return;
    }
  }
}

enum class Waited : unsigned char { kKeys, kTimedOut, kEnd, kFailed };

// ReadKeys: waits for keys, at most `waitMilliseconds` when it is not -1, and reads what
// is waiting; news from a signal is taken on the way.
Waited ReadKeys(int waitMilliseconds) {
  while (true) {
    if (SignalNewsWaiting()) TakeNews();
    if (waitMilliseconds >= 0) {
      pollfd request{STDIN_FILENO, POLLIN, 0};
      const int ready = Calls().poll(&request, 1, waitMilliseconds);
      if (ready == 0) return Waited::kTimedOut;
      // A wait cut short by a signal is waited again, so the wait after an Escape never
      // becomes a read that takes the next key into a sequence.
      if (ready < 0 && errno == EINTR) continue;
      if (ready < 0) return Waited::kFailed;
    }
    const ssize_t count = Retrying(
        STDIN_FILENO, POLLIN,
        [] { return Calls().read(STDIN_FILENO, shell.keys.data(), shell.keys.size()); },
        [] { return !SignalNewsWaiting(); });
    if (count > 0) {
      shell.keysBegin = 0;
      shell.keysEnd = static_cast<std::size_t>(count);
      return Waited::kKeys;
    }
    if (count == 0) return Waited::kEnd;
    if (errno != EINTR) return Waited::kFailed;
  }
}

// ---- One line -------------------------------------------------------------------------

// Deliver: the line and its line end into destination, and the terminal's mode put back.
ReadResult Deliver(std::span<char> destination) {
  Draw(Clearing::kRow);
  WriteAllToOutput(std::string_view(kLineEnd));
  RestoreTerminal();
  const std::string_view line = shell.editor.line.View();
  const std::string_view lineEnd = kLineEnd;
  std::memcpy(destination.data(), line.data(), line.size());  // the line fits, with its end
  std::memcpy(destination.data() + line.size(), lineEnd.data(), lineEnd.size());
  return {ReadStatus::kLine, line.size() + lineEnd.size()};
}

ReadResult End(ReadStatus status) {
  const int error = errno;  // a failure's own, for its message
  RestoreTerminal();
  errno = error;
  return {status, 0};
}

}  // namespace

bool EditorSuits() {
  if (Calls().isTerminal(STDIN_FILENO) == 0 || Calls().isTerminal(STDOUT_FILENO) == 0) {
    return false;
  }
  const char* terminal = std::getenv("TERM");
  return terminal != nullptr && *terminal != '\0' && std::string_view(terminal) != "dumb";
}

void ShowPromptOnClear(TextView prompt) {
  shell.prompt = prompt;
}

ReadResult ReadEditedLine(std::span<char> destination) {
  const std::size_t lineEnd = std::string_view(kLineEnd).size();
  if (destination.size() <= lineEnd) return {ReadStatus::kLine, 0};
  // Raw before the prompt shows: keys typed as soon as it appears are the editor's.
  if (!SetTerminalMode(TerminalMode::kRaw)) return {ReadStatus::kFailed, 0};
  FlushOutput();
  EditorState& editor = shell.editor;
  StartLine(editor, destination.size() - lineEnd);
  editor.columns = Columns();
  Draw(Clearing::kRow);

  KeyDecoder decoder;
  while (!OutputFailed()) {
    BytesApplied applied;
    if (shell.keysBegin == shell.keysEnd) {
      switch (ReadKeys(decoder.Unfinished() ? kEscapeWaitMilliseconds : -1)) {
        case Waited::kKeys:
          break;
        case Waited::kTimedOut:
          applied = ApplyKeys(editor, decoder.Expire());
          break;
        case Waited::kEnd:
          return End(ReadStatus::kEndOfInput);
        case Waited::kFailed:
          return End(ReadStatus::kFailed);
      }
    }
    if (shell.keysBegin != shell.keysEnd) {
      const std::string_view waiting(shell.keys.data() + shell.keysBegin,
                                     shell.keysEnd - shell.keysBegin);
      applied = ApplyBytes(editor, decoder, waiting);
      shell.keysBegin += applied.used;
    }

    if (applied.bell) WriteAllToOutput(kBell);
    switch (applied.outcome) {
      case EditOutcome::kLineDone:
        return Deliver(destination);
      case EditOutcome::kEndOfInput:
        return End(ReadStatus::kEndOfInput);
      case EditOutcome::kInterrupt:
        RaiseAsTheTerminalWould(SIGINT);
        break;
      case EditOutcome::kSuspend:
        RaiseAsTheTerminalWould(SIGTSTP);  // continued: the next wait takes the news
        continue;
      default:
        break;
    }
    if (applied.clearScreen) {
      Draw(Clearing::kScreen);
    } else if (applied.changed) {
      Draw(Clearing::kRow);
    }
  }
  return End(ReadStatus::kWriteFailed);
}

}  // namespace intcalc
