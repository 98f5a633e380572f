// The console's streams on POSIX: read(2) and write(2) on the standard descriptors, and
// open(2) on the files the command line names, all through the system-call seam.
//
// A write to standard output that fails because the pipe's reader has gone ends the
// program by SIGPIPE, as the signal would by default, but only after the terminal is put
// back; a write to standard error that fails is that stream's failure alone. So the
// signal is ignored and each write's EPIPE decides; a caller's choice to ignore it stays.
//
// What this layer cannot check: whether the terminal really honours the mode it is
// given (tcsetattr succeeds when any of the changes took), and whether bytes handed to
// write(2) reach the person at the other end.
#include <fcntl.h>
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

void SetPipePolicy(WriteState& state) {
  if (state.pipePolicy != PipePolicy::kUnset) return;
  struct sigaction ignored {};
  ignored.sa_handler = SIG_IGN;
  sigemptyset(&ignored.sa_mask);
  struct sigaction before {};
  (void)Calls().signalAction(SIGPIPE, &ignored, &before);
  state.pipePolicy =
      before.sa_handler == SIG_IGN ? PipePolicy::kIgnored : PipePolicy::kEndByTheSignal;
}

// ResultOf: what a read that returned `count` brought.
ReadResult ResultOf(ssize_t count) {
  if (count > 0) return ReadResult::Piece(static_cast<std::size_t>(count));
  if (count == 0) return ReadResult::Ended();
  return ReadResult::Failed(errno);
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

InputKind StandardInputKind() {
  if (EditorSuits()) return InputKind::kInteractive;
  if (Calls().isTerminal(STDIN_FILENO) != 0) return InputKind::kTerminal;
  return InputKind::kStream;
}

bool KeysCanBeWaitedFor() {
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
    if (waited == Waited::kFailed) return ReadResult::Failed(errno);
  }
  return ResultOf(Retrying(STDIN_FILENO, POLLIN, [&] {
    return Calls().read(STDIN_FILENO, destination.data(), destination.size());
  }));
}

SystemError OpenInputFile(InputFile& file, const char* name) {
  file.descriptor = Calls().open(name, O_RDONLY | O_CLOEXEC, 0);
  return file.descriptor >= 0 ? 0 : errno;
}

ReadResult ReadInputFile(const InputFile& file, std::span<char> destination) {
  const int descriptor = file.descriptor;
  return ResultOf(Retrying(descriptor, POLLIN, [&] {
    return Calls().read(descriptor, destination.data(), destination.size());
  }));
}

void CloseInputFile(InputFile& file) {
  if (file.descriptor >= 0) (void)Calls().close(file.descriptor);
  file.descriptor = -1;
}

Written WriteSome(WriteState& state, Stream stream, std::span<const char> bytes) {
  SetPipePolicy(state);
  const int fileDescriptor = stream == Stream::kError ? STDERR_FILENO : STDOUT_FILENO;
  const ssize_t count = Retrying(fileDescriptor, POLLOUT, [&] {
    return Calls().write(fileDescriptor, bytes.data(), bytes.size());
  });
  if (count > 0) return {static_cast<std::size_t>(count), 0};
  const int error = count == 0 ? EIO : errno;  // no progress, and no reason given
  if (stream == Stream::kOutput && error == EPIPE &&
      state.pipePolicy == PipePolicy::kEndByTheSignal) {
    EndBySignal(SIGPIPE);
  }
  return {0, error};
}

std::string_view SystemReason(SystemError error, std::span<char> /*room*/) {
  return std::strerror(error);
}

void RestorePlatform(PlatformState& platform) {
  platform.terminal.Restore();
}

}  // namespace intcalc
