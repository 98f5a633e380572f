// The console's streams on POSIX: read(2) and write(2) on the standard descriptors, and
// open(2) on the files the command line names, all through the system-call seam.
//
// A write to standard output that fails because the pipe's reader has gone ends the
// program by SIGPIPE, as the signal would by default, but only after the terminal is put
// back; a write to standard error that fails is that stream's failure alone. So the
// signal is ignored and each write's EPIPE decides; a caller's choice to ignore it stays.
// The errno of the failed read and of the failed write are kept for the messages.
//
// What this layer cannot check: whether the terminal really honours the mode it is
// given (tcsetattr succeeds when any of the changes took), and whether bytes handed to
// write(2) reach the person at the other end.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "console/platform.h"
#include "console/retry.h"
#include "console/system_calls.h"
#include "console/terminal.h"

namespace intcalc {

namespace {

void SetPipePolicy(PlatformState& platform) {
  if (platform.pipePolicy != PipePolicy::kUnset) return;
  struct sigaction current {};
  sigaction(SIGPIPE, nullptr, &current);
  platform.pipePolicy =
      current.sa_handler == SIG_IGN ? PipePolicy::kIgnored : PipePolicy::kEndByTheSignal;
  (void)signal(SIGPIPE, SIG_IGN);
}

// ReadResultOf: what a read that returned `count` brought; a failure's errno is kept.
ReadResult ReadResultOf(PlatformState& platform, ssize_t count) {
  if (count > 0) return {ReadStatus::kPiece, static_cast<std::size_t>(count)};
  if (count == 0) return {ReadStatus::kEndOfInput, 0};
  platform.readError = errno;
  return {ReadStatus::kFailed, 0};
}

// EditorSuits: standard input and output are terminals, and TERM names one that
// understands cursor movement, which the line editor draws with.
bool EditorSuits() {
  if (Calls().isTerminal(STDIN_FILENO) == 0 || Calls().isTerminal(STDOUT_FILENO) == 0) {
    return false;
  }
  const char* terminal = std::getenv("TERM");
  return terminal != nullptr && *terminal != '\0' && std::string_view(terminal) != "dumb";
}

}  // namespace

InputKind StandardInputKind(PlatformState& /*platform*/) {
  if (EditorSuits()) return InputKind::kInteractive;
  if (Calls().isTerminal(STDIN_FILENO) != 0) return InputKind::kTerminal;
  return InputKind::kStream;
}

bool KeysCanBeWaitedFor(PlatformState& /*platform*/) {
  return Calls().isTerminal(STDIN_FILENO) != 0 && Calls().isTerminal(STDERR_FILENO) != 0;
}

void PrepareStandardInput(PlatformState& platform, InputKind kind) {
  // When the mode cannot be set, the terminal edits as it is: the read still works.
  if (kind == InputKind::kTerminal) (void)platform.terminal.SetMode(TerminalMode::kLine);
}

// ReadStandardInput: at a terminal, the wait first, so that after a stop the line mode is
// set again before the read, whenever the continue comes.
ReadResult ReadStandardInput(PlatformState& platform, InputKind kind, std::span<char> destination) {
  if (kind == InputKind::kTerminal) {
    const Waited waited = WaitForInput(-1, [&platform] {
      (void)platform.terminal.TakeNews();
      return true;
    });
    if (waited == Waited::kFailed) return ReadResultOf(platform, -1);
  }
  return ReadResultOf(platform, Retrying(STDIN_FILENO, POLLIN, [&] {
                        return Calls().read(STDIN_FILENO, destination.data(), destination.size());
                      }));
}

bool OpenInputFile(PlatformState& platform, const char* name) {
  platform.inputFile = Calls().openToRead(name);
  if (platform.inputFile >= 0) return true;
  platform.readError = errno;
  return false;
}

ReadResult ReadInputFile(PlatformState& platform, std::span<char> destination) {
  const int file = platform.inputFile;
  return ReadResultOf(platform, Retrying(file, POLLIN, [&] {
                        return Calls().read(file, destination.data(), destination.size());
                      }));
}

void CloseInputFile(PlatformState& platform) {
  if (platform.inputFile >= 0) (void)Calls().close(platform.inputFile);
  platform.inputFile = -1;
}

std::size_t WriteSome(PlatformState& platform, Stream stream, std::span<const char> bytes) {
  SetPipePolicy(platform);
  const int fileDescriptor = stream == Stream::kError ? STDERR_FILENO : STDOUT_FILENO;
  const ssize_t count = Retrying(fileDescriptor, POLLOUT, [&] {
    return Calls().write(fileDescriptor, bytes.data(), bytes.size());
  });
  if (count > 0) return static_cast<std::size_t>(count);
  const int error = count == 0 ? EIO : errno;  // no progress, and no reason given
  if (stream != Stream::kOutput) return 0;
  if (error == EPIPE && platform.pipePolicy == PipePolicy::kEndByTheSignal) EndBySignal(SIGPIPE);
  platform.writeError = error;
  return 0;
}

// cppcheck-suppress constParameter ; Windows keeps the system's words in the state
std::string_view FailureReason(PlatformState& platform, Stream stream) {
  return std::strerror(stream == Stream::kInput ? platform.readError : platform.writeError);
}

void RestorePlatform(PlatformState& platform) {
  platform.terminal.Restore();
}

}  // namespace intcalc
