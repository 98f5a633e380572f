// The console on POSIX: read(2) and write(2) on the standard descriptors. A terminal
// either edits lines in its own line mode (termios) or, when it understands cursor
// movement, through the line editor; a pipe or a file goes through the line splitter.
//
// A write that fails outright ends all output and, through ReadLine, all input; the
// errno of the failed read and of the failed write are kept for the messages.
//
// What this layer cannot check: whether the terminal really honours the mode it is
// given (tcsetattr succeeds when any of the changes took), and whether bytes handed to
// write(2) reach the person at the other end.
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "console/console.h"
#include "console/line_editor.h"
#include "console/line_splitter.h"
#include "console/platform.h"
#include "console/system_calls.h"
#include "console/terminal_modes.h"

namespace intcalc {

namespace {

// ---- State ----------------------------------------------------------------------------

enum class InputKind : unsigned char {
  kUnknown,
  kEditedTerminal,  // a terminal our line editor draws on
  kTerminal,        // a terminal that edits in its own line mode
  kOther,           // a pipe or a file
};

constinit SystemCalls systemCalls{::read, ::write, ::isatty, ::poll, ::tcgetattr, ::tcsetattr};
constinit LineSplitter splitter;
constinit InputKind inputKind = InputKind::kUnknown;
constinit int readError = 0;   // errno of the latest failed read
constinit int writeError = 0;  // errno of the failed write to standard output

// ---- Terminal line mode ---------------------------------------------------------------

// KindOfInput: what standard input is, found once.
InputKind KindOfInput() {
  if (inputKind == InputKind::kUnknown) {
    if (EditorSuits(systemCalls)) {
      inputKind = InputKind::kEditedTerminal;
    } else if (systemCalls.isTerminal(STDIN_FILENO) != 0) {
      inputKind = InputKind::kTerminal;
    } else {
      inputKind = InputKind::kOther;
    }
  }
  return inputKind;
}

bool InputIsTerminal() {
  return KindOfInput() == InputKind::kTerminal;
}

// SetLineMode: puts the terminal in line mode unless it is already.
void SetLineMode() {
  termios settings{};
  if (systemCalls.getModes(STDIN_FILENO, &settings) != 0) return;
  const termios wanted = WithLineMode(settings);
  // When the mode cannot be set, the terminal edits as it is: the read still works.
  if (!SameModes(wanted, settings)) (void)systemCalls.setModes(STDIN_FILENO, TCSANOW, &wanted);
}

// WaitUntilReady: blocks until a descriptor left non-blocking by another program is ready;
// false when poll itself fails, which the caller takes as its own call failing.
bool WaitUntilReady(int fileDescriptor, short events) {
  pollfd request{fileDescriptor, events, 0};
  while (systemCalls.poll(&request, 1, -1) < 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

bool MustWait(int error) {
  return error == EAGAIN || error == EWOULDBLOCK;
}

// ---- Reading --------------------------------------------------------------------------

// ReadChunk: one read of standard input, after writing out what the person must see first.
// On a terminal the line mode comes first, so keys typed as soon as the prompt shows are
// already edited by the terminal.
ReadResult ReadChunk(std::span<char> destination) {
  if (InputIsTerminal()) SetLineMode();
  FlushOutput();
  if (OutputFailed()) return {ReadStatus::kWriteFailed, 0};
  while (true) {
    const ssize_t count = systemCalls.read(STDIN_FILENO, destination.data(), destination.size());
    if (count > 0) return {ReadStatus::kLine, static_cast<std::size_t>(count)};
    if (count == 0) return {ReadStatus::kEndOfInput, 0};
    if (errno == EINTR) {
      if (InputIsTerminal()) SetLineMode();  // a stop and continue may have changed it
      continue;
    }
    if (MustWait(errno) && WaitUntilReady(STDIN_FILENO, POLLIN)) continue;
    readError = errno;
    return {ReadStatus::kFailed, 0};
  }
}

}  // namespace

ReadResult ReadLine(std::span<char> buffer) {
  if (OutputFailed()) return {ReadStatus::kWriteFailed, 0};
  if (KindOfInput() == InputKind::kEditedTerminal) {
    // A line as long as one read, with its line end: no splitting needed.
    const ReadResult edited = ReadEditedLine(systemCalls, buffer);  // it writes out the prompt
    if (edited.status == ReadStatus::kFailed) readError = errno;
    return edited;
  }
  return splitter.NextPiece(buffer, ReadChunk);
}

// ---- Single keys ----------------------------------------------------------------------

KeyRead ReadKey() {
  termios saved{};
  if (systemCalls.isTerminal(STDIN_FILENO) == 0 ||
      systemCalls.getModes(STDIN_FILENO, &saved) != 0) {
    return {false, 0};
  }
  const termios keyMode = WithKeyMode(saved);
  if (systemCalls.setModes(STDIN_FILENO, TCSANOW, &keyMode) != 0) return {false, 0};
  char key = 0;
  ssize_t count = 0;
  do {
    count = systemCalls.read(STDIN_FILENO, &key, 1);
  } while (count < 0 && errno == EINTR);
  (void)systemCalls.setModes(STDIN_FILENO, TCSANOW, &saved);
  return {count == 1, key};
}

// ---- Writing --------------------------------------------------------------------------

namespace {

// WriteAll: every byte to a descriptor, completing short writes and retrying interrupted
// ones; returns the errno of a write that fails outright, which loses the rest, or 0.
int WriteAll(int fileDescriptor, std::span<const char> bytes) {
  while (!bytes.empty()) {
    const ssize_t count = systemCalls.write(fileDescriptor, bytes.data(), bytes.size());
    if (count > 0) {
      bytes = bytes.subspan(static_cast<std::size_t>(count));
      continue;
    }
    if (count == 0) return EIO;  // no progress, and no reason given
    if (errno == EINTR || (MustWait(errno) && WaitUntilReady(fileDescriptor, POLLOUT))) continue;
    return errno;
  }
  return 0;
}

}  // namespace

bool WriteAllTo(Stream stream, std::span<const char> bytes) {
  if (stream == Stream::kError) return WriteAll(STDERR_FILENO, bytes) == 0;
  writeError = WriteAll(STDOUT_FILENO, bytes);
  return writeError == 0;
}

std::string_view FailureReason(Stream stream) {
  return std::strerror(stream == Stream::kInput ? readError : writeError);
}

// ---- The seam -------------------------------------------------------------------------

SystemCalls RealSystemCalls() {
  return {::read, ::write, ::isatty, ::poll, ::tcgetattr, ::tcsetattr};
}

void InstallSystemCalls(const SystemCalls& calls) {
  systemCalls = calls;
  splitter.Reset();
  inputKind = InputKind::kUnknown;
  ResetOutput();
  readError = writeError = 0;
}

}  // namespace intcalc
