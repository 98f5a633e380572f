// The console on POSIX: read(2) and write(2) on the standard descriptors, and open(2) on
// the files the command line names. A terminal on standard input either edits lines in its
// own line mode (termios) or, when it understands cursor movement, through the line
// editor; a pipe, a file or a text in memory goes through the line splitter.
//
// A write to standard output that fails outright ends all output and, through ReadLine,
// all input; one that fails because the pipe's reader has gone ends the program by
// SIGPIPE, as the signal would by default. The errno of the failed read and of the failed
// write are kept for the messages.
//
// What this layer cannot check: whether the terminal really honours the mode it is
// given (tcsetattr succeeds when any of the changes took), and whether bytes handed to
// write(2) reach the person at the other end.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "console/console.h"
#include "console/line_editor.h"
#include "console/platform.h"
#include "console/retry.h"
#include "console/system_calls.h"
#include "console/terminal.h"

namespace intcalc {

namespace {

// ---- State ----------------------------------------------------------------------------

enum class InputKind : unsigned char {
  kUnknown,
  kEditedTerminal,  // a terminal our line editor draws on
  kTerminal,        // a terminal that edits in its own line mode
  kOther,           // a pipe or a file
};

int OpenToRead(const char* path) {
  return ::open(path, O_RDONLY | O_CLOEXEC);  // NOLINT(cppcoreguidelines-pro-type-vararg)
}

constinit SystemCalls systemCalls{::read,      ::write,     ::isatty,   ::poll,
                                  ::tcgetattr, ::tcsetattr, OpenToRead, ::close};
constinit int inputFile = -1;  // the file's descriptor, while one is read
constinit InputKind inputKind = InputKind::kUnknown;
constinit int readError = 0;   // errno of the latest failed read
constinit int writeError = 0;  // errno of the failed write to standard output

// SIGPIPE: a write to a pipe whose reader has gone ends the program by SIGPIPE when it
// writes standard output, as it would by default, but only after the terminal is put
// back; a write to standard error that fails is that stream's failure alone. So the
// signal is ignored and each write's EPIPE decides; a caller's choice to ignore it stays.
enum class PipePolicy : unsigned char { kUnset, kEndByTheSignal, kIgnored };
constinit PipePolicy pipePolicy = PipePolicy::kUnset;

void SetPipePolicy() {
  if (pipePolicy != PipePolicy::kUnset) return;
  struct sigaction current {};
  sigaction(SIGPIPE, nullptr, &current);
  pipePolicy = current.sa_handler == SIG_IGN ? PipePolicy::kIgnored : PipePolicy::kEndByTheSignal;
  (void)signal(SIGPIPE, SIG_IGN);
}

// KindOfInput: what standard input is, found once.
InputKind KindOfInput() {
  if (inputKind == InputKind::kUnknown) {
    if (EditorSuits()) {
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

}  // namespace

// ---- Reading --------------------------------------------------------------------------

// ReadStandardInputChunk: on a terminal the line mode comes first, so keys typed as soon
// as the prompt shows are already edited by the terminal; a stop and continue may have
// changed it meanwhile.
ReadResult ReadStandardInputChunk(std::span<char> destination) {
  // When the mode cannot be set, the terminal edits as it is: the read still works.
  if (InputIsTerminal()) (void)SetTerminalMode(TerminalMode::kLine);
  FlushOutput();
  if (OutputFailed()) return {ReadStatus::kWriteFailed, 0};
  const ssize_t count = Retrying(
      STDIN_FILENO, POLLIN,
      [&] { return systemCalls.read(STDIN_FILENO, destination.data(), destination.size()); },
      [] {
        (void)TakeSignalNews();  // after a stop, the line mode again
        return true;
      });
  if (count > 0) return {ReadStatus::kLine, static_cast<std::size_t>(count)};
  if (count == 0) return {ReadStatus::kEndOfInput, 0};
  readError = errno;
  return {ReadStatus::kFailed, 0};
}

ReadResult ReadInputFile(std::span<char> destination) {
  const ssize_t count = Retrying(inputFile, POLLIN, [&] {
    return systemCalls.read(inputFile, destination.data(), destination.size());
  });
  if (count > 0) return {ReadStatus::kLine, static_cast<std::size_t>(count)};
  if (count == 0) return {ReadStatus::kEndOfInput, 0};
  readError = errno;
  return {ReadStatus::kFailed, 0};
}

bool OpenInputFile(const char* name) {
  inputFile = systemCalls.openToRead(name);
  if (inputFile >= 0) return true;
  readError = errno;
  return false;
}

void CloseInputFile() {
  if (inputFile >= 0) (void)systemCalls.close(inputFile);
  inputFile = -1;
}

bool StandardInputReadsLines() {
  return KindOfInput() == InputKind::kEditedTerminal;
}

// ReadStandardInputLine: a line as long as one read, with its line end: no splitting needed.
ReadResult ReadStandardInputLine(std::span<char> buffer) {
  const ReadResult edited = ReadEditedLine(buffer);  // it writes out the prompt
  if (edited.status == ReadStatus::kFailed) readError = errno;
  return edited;
}

// ---- Single keys ----------------------------------------------------------------------

void WritePrompt(TextView prompt) {
  WriteText(prompt);
  ShowPromptOnClear(prompt);
}

bool KeysCanBeWaitedFor() {
  return systemCalls.isTerminal(STDIN_FILENO) != 0 && systemCalls.isTerminal(STDERR_FILENO) != 0;
}

KeyRead ReadKey() {
  FlushOutput();
  if (OutputFailed() || !SetTerminalMode(TerminalMode::kKey)) return {KeyStatus::kNone, 0};
  char key = 0;
  while (true) {
    const ssize_t count = Retrying(
        STDIN_FILENO, POLLIN, [&] { return systemCalls.read(STDIN_FILENO, &key, 1); },
        [] { return !SignalNewsWaiting(); });
    if (count < 0 && errno == EINTR) {
      if (TakeSignalNews() != SignalNews::kContinued) continue;
      RestoreTerminal();
      return {KeyStatus::kContinued, 0};
    }
    RestoreTerminal();
    return {count == 1 ? KeyStatus::kKey : KeyStatus::kNone, key};
  }
}

void RestoreConsole() {
  RestoreTerminal();
}

// ---- Writing --------------------------------------------------------------------------

std::size_t WriteSome(Stream stream, std::span<const char> bytes) {
  SetPipePolicy();
  const int fileDescriptor = stream == Stream::kError ? STDERR_FILENO : STDOUT_FILENO;
  const ssize_t count = Retrying(fileDescriptor, POLLOUT, [&] {
    return systemCalls.write(fileDescriptor, bytes.data(), bytes.size());
  });
  if (count > 0) return static_cast<std::size_t>(count);
  const int error = count == 0 ? EIO : errno;  // no progress, and no reason given
  if (stream != Stream::kOutput) return 0;
  if (error == EPIPE && pipePolicy == PipePolicy::kEndByTheSignal) EndBySignal(SIGPIPE);
  writeError = error;
  return 0;
}

std::string_view FailureReason(Stream stream) {
  return std::strerror(stream == Stream::kInput ? readError : writeError);
}

// ---- The seam -------------------------------------------------------------------------

SystemCalls RealSystemCalls() {
  return {::read, ::write, ::isatty, ::poll, ::tcgetattr, ::tcsetattr, OpenToRead, ::close};
}

const SystemCalls& Calls() {
  return systemCalls;
}

void InstallSystemCalls(const SystemCalls& calls) {
  ResetInput();
  systemCalls = calls;
  inputKind = InputKind::kUnknown;
  ResetOutput();
  readError = writeError = 0;
}

}  // namespace intcalc
