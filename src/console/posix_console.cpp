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
#include "editor/line_splitter.h"

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
constinit LineSplitter splitter;

// What ReadLine reads: standard input, a file, or a text in memory, each split into lines.
enum class Source : unsigned char { kStandardInput, kFile, kText };
constinit Source source = Source::kStandardInput;
constinit int inputFile = -1;         // the file's descriptor, while one is read
constinit std::string_view textLeft;  // the text's, while one is read
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

// ---- Reading --------------------------------------------------------------------------

// ReadChunk: one read of standard input, after writing out what the person must see first.
// On a terminal the line mode comes first, so keys typed as soon as the prompt shows are
// already edited by the terminal; a stop and continue may have changed it meanwhile.
ReadResult ReadChunk(std::span<char> destination) {
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

// ReadFileChunk: one read of the file.
ReadResult ReadFileChunk(std::span<char> destination) {
  const ssize_t count = Retrying(inputFile, POLLIN, [&] {
    return systemCalls.read(inputFile, destination.data(), destination.size());
  });
  if (count > 0) return {ReadStatus::kLine, static_cast<std::size_t>(count)};
  if (count == 0) return {ReadStatus::kEndOfInput, 0};
  readError = errno;
  return {ReadStatus::kFailed, 0};
}

// ReadTextChunk: what of the text fits.
ReadResult ReadTextChunk(std::span<char> destination) {
  const std::size_t count = std::min(destination.size(), textLeft.size());
  if (count == 0) return {ReadStatus::kEndOfInput, 0};
  std::memcpy(destination.data(), textLeft.data(), count);
  textLeft.remove_prefix(count);
  return {ReadStatus::kLine, count};
}

// Switch: from here on ReadLine reads `next`, split afresh; a file read before is closed.
void Switch(Source next) {
  if (inputFile >= 0) (void)systemCalls.close(inputFile);
  inputFile = -1;
  source = next;
  // What was read of a file or a text before a failure is answered; standard input keeps
  // the dialogue's own rule.
  splitter.Reset(next != Source::kStandardInput);
}

}  // namespace

void ReadFromStandardInput() {
  Switch(Source::kStandardInput);
}

bool ReadFromFile(const char* name) {
  Switch(Source::kFile);
  inputFile = systemCalls.openToRead(name);
  if (inputFile >= 0) return true;
  readError = errno;
  textLeft = {};
  Switch(Source::kText);  // nothing to read
  return false;
}

void ReadFromText(std::string_view text) {
  Switch(Source::kText);
  textLeft = text;
}

ReadResult ReadLine(std::span<char> buffer) {
  if (OutputFailed()) return {ReadStatus::kWriteFailed, 0};
  if (source == Source::kFile) {
    FlushOutput();  // as before any read that may wait
    if (OutputFailed()) return {ReadStatus::kWriteFailed, 0};
    return splitter.NextPiece(buffer, ReadFileChunk);
  }
  if (source == Source::kText) return splitter.NextPiece(buffer, ReadTextChunk);
  if (KindOfInput() == InputKind::kEditedTerminal) {
    // A line as long as one read, with its line end: no splitting needed.
    const ReadResult edited = ReadEditedLine(buffer);  // it writes out the prompt
    if (edited.status == ReadStatus::kFailed) readError = errno;
    return edited;
  }
  return splitter.NextPiece(buffer, ReadChunk);
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
  Switch(Source::kStandardInput);
  systemCalls = calls;
  inputKind = InputKind::kUnknown;
  ResetOutput();
  readError = writeError = 0;
}

}  // namespace intcalc
