// The line editor's terminal shell: the terminal's width, reading keys and writing what
// the drawing layer draws, in the raw mode the terminal's owner (terminal.cpp) sets. The
// keys are decoded, applied and drawn by the editor's layers, which touch nothing.
//
// What this shell cannot check: that the terminal understands the few ANSI controls it
// draws with (carriage return, erase, cursor up and forward, clear screen), how wide it
// shows a character beyond the East Asian wide blocks, and whether it rewraps a row when
// it narrows: the redraw after a resize assumes it does, as most terminals now do.
#include "console/line_editor.h"

#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

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

// The editor's state lives for the whole run, for the history; it is handed to every
// function that needs it.
constinit EditorState editor;

// ---- Reading --------------------------------------------------------------------------

std::size_t Columns() {
  winsize size{};
  // ioctl is the one way to ask a terminal its size, and it takes variable arguments.
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 ||  // NOLINT(cppcoreguidelines-pro-type-vararg)
      size.ws_col == 0) {
    return kDefaultColumns;
  }
  return size.ws_col;  // the drawing keeps it within the widths it draws for
}

enum class ByteRead : unsigned char { kByte, kTimedOut, kEnd, kFailed, kRedraw };

// WaitForByte: waits at most `waitMilliseconds` for a byte to read; kByte when one is there.
// A wait cut short by a signal is waited again, so the wait after an Escape never becomes
// a read that takes the next key into a sequence.
ByteRead WaitForByte(int waitMilliseconds) {
  while (true) {
    pollfd request{STDIN_FILENO, POLLIN, 0};
    const int ready = Calls().poll(&request, 1, waitMilliseconds);
    if (ready > 0) return ByteRead::kByte;
    if (ready == 0) return ByteRead::kTimedOut;
    if (errno != EINTR) return ByteRead::kFailed;
    if (RedrawWanted()) return ByteRead::kRedraw;
  }
}

// ReadByte: the next byte typed, waiting at most `waitMilliseconds` when it is not -1; a
// signal that asks for a redraw ends the wait.
ByteRead ReadByte(char& byte, int waitMilliseconds) {
  if (RedrawWanted()) return ByteRead::kRedraw;
  if (waitMilliseconds >= 0) {
    const ByteRead waited = WaitForByte(waitMilliseconds);
    if (waited != ByteRead::kByte) return waited;
  }
  const ssize_t count = Retrying(
      STDIN_FILENO, POLLIN, [&] { return Calls().read(STDIN_FILENO, &byte, 1); },
      [] { return !RedrawWanted(); });
  if (count == 1) return ByteRead::kByte;
  if (count == 0) return ByteRead::kEnd;
  return errno == EINTR ? ByteRead::kRedraw : ByteRead::kFailed;
}

// ---- Drawing --------------------------------------------------------------------------

void Draw(Clearing clearing) {
  const Drawing drawing = DrawLine(editor, clearing);
  editor.windowStart = drawing.windowStart;
  editor.cursorColumn = drawing.cursorColumn;
  WriteAllToOutput(drawing.View());
}

// Redraw: what a signal asked for: after a resize, the line at the terminal's new width.
void Redraw() {
  Clearing clearing = Clearing::kRow;
  if (TakeRedrawRequest() == RedrawRequest::kResized) {
    const std::size_t columns = Columns();
    if (columns < editor.columns) clearing = Clearing::kResized;
    editor.columns = columns;
  }
  Draw(clearing);
}

// ---- One line -------------------------------------------------------------------------

// Deliver: the line and its line end into destination, and the terminal's mode put back.
ReadResult Deliver(std::span<char> destination) {
  Draw(Clearing::kRow);
  WriteAllToOutput(std::string_view(kLineEnd));
  RestoreTerminal();
  const std::string_view line = editor.line.View();
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

ReadResult ReadEditedLine(std::span<char> destination) {
  const std::size_t lineEnd = std::string_view(kLineEnd).size();
  if (destination.size() <= lineEnd) return {ReadStatus::kLine, 0};
  InstallSignalHandlers();
  // Raw before the prompt shows: keys typed as soon as it appears are the editor's.
  if (!SetTerminalMode(TerminalMode::kRaw)) return {ReadStatus::kFailed, 0};
  FlushOutput();
  StartLine(editor, destination.size() - lineEnd);
  editor.columns = Columns();
  Draw(Clearing::kRow);

  KeyDecoder decoder;
  while (!OutputFailed()) {
    char byte = 0;
    Keys keys;
    switch (ReadByte(byte, decoder.Unfinished() ? kEscapeWaitMilliseconds : -1)) {
      case ByteRead::kByte:
        keys = decoder.Feed(byte);
        break;
      case ByteRead::kTimedOut:
        keys = decoder.Expire();
        break;
      case ByteRead::kRedraw:
        Redraw();
        continue;
      case ByteRead::kEnd:
        return End(ReadStatus::kEndOfInput);
      case ByteRead::kFailed:
        return End(ReadStatus::kFailed);
    }

    Clearing clearing = Clearing::kRow;
    for (std::size_t index = 0; index < keys.count; ++index) {
      switch (Apply(editor, keys.keys[index])) {
        case EditOutcome::kGoOn:
          break;
        case EditOutcome::kBell:
          WriteAllToOutput(kBell);
          break;
        case EditOutcome::kLineDone:
          return Deliver(destination);
        case EditOutcome::kEndOfInput:
          return End(ReadStatus::kEndOfInput);
        case EditOutcome::kInterrupt:
          if (!RaiseAsTheTerminalWould(SIGINT)) return End(ReadStatus::kFailed);
          break;
        case EditOutcome::kSuspend:
          if (!RaiseAsTheTerminalWould(SIGTSTP)) return End(ReadStatus::kFailed);
          break;
        case EditOutcome::kClearScreen:
          clearing = Clearing::kScreen;
          break;
      }
    }
    if (keys.count > 0) Draw(clearing);
  }
  return End(ReadStatus::kWriteFailed);
}

}  // namespace intcalc
