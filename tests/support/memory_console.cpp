#include "support/memory_console.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>

#include "console/console.h"
#include "console/system_calls.h"
#include "dialogue/command_line.h"
#include "dialogue/main_loop.h"

namespace intcalc {

namespace {

// Beyond this many calls the console is taken to be looping; every call then fails.
constexpr int kCallLimit = 100000;
// The descriptors of the files in memory.
constexpr int kFirstFile = 100;

struct MemoryFile {
  std::string_view name;
  std::string_view left;  // what is left to read
  int readError = 0;      // of every read after the first
  int openError = 0;
  int reads = 0;
};

// Kept: the first bytes written to one stream, and how many were written in all.
struct Kept {
  std::array<char, MemoryConsole::kOutputKept> bytes;
  std::size_t written = 0;

  void Write(const void* buffer, std::size_t count) {
    if (written < bytes.size()) {
      std::memcpy(bytes.data() + written, buffer, std::min(count, bytes.size() - written));
    }
    written += count;
  }
  std::string_view View() const { return {bytes.data(), std::min(written, bytes.size())}; }
};

struct Fake {
  Faults faults;
  std::string_view input;
  CallsSeen seen;
  Kept output;
  Kept errorOutput;
  std::array<MemoryFile, MemoryConsole::kMostFiles> files{};
  std::size_t fileCount = 0;
};

Fake fake;

bool Looping(int calls) {
  if (calls > kCallLimit) fake.seen.looped = true;
  return calls > kCallLimit;
}

// Fail: a call that fails outright, after which no call may come.
ssize_t Fail(int error) {
  fake.seen.failed = true;
  return errno = error, -1;
}

MemoryFile* FileOf(int fileDescriptor) {
  const auto index = static_cast<std::size_t>(fileDescriptor - kFirstFile);
  return fileDescriptor >= kFirstFile && index < fake.fileCount ? &fake.files[index] : nullptr;
}

// FileFails: whether the faults fail `call` of the history file; errno then says why.
bool FileFails(FileCall call) {
  constexpr std::array kErrors = {0, EACCES, ENOSPC, EWOULDBLOCK};  // by FileCall
  return fake.faults.fileCallFails == call && (errno = kErrors.at(std::size_t(call)), true);
}

ssize_t Take(std::string_view& source, void* buffer, std::size_t count) {
  const std::size_t taken = std::min({count, fake.faults.readSize, source.size()});
  std::memcpy(buffer, source.data(), taken);
  source.remove_prefix(taken);
  return static_cast<ssize_t>(taken);
}

ssize_t Read(int fileDescriptor, void* buffer, std::size_t count) {
  if (MemoryFile* file = FileOf(fileDescriptor)) {
    if (file->readError != 0 && file->reads++ > 0) return errno = file->readError, -1;
    return Take(file->left, buffer, count);
  }
  if (fileDescriptor != STDIN_FILENO) return RealSystemCalls().read(fileDescriptor, buffer, count);
  const Faults& faults = fake.faults;
  const int call = ++fake.seen.reads;
  if (fake.seen.failed) ++fake.seen.callsAfterFailure;
  if (Looping(call)) return errno = EIO, -1;
  if (faults.readErrorAt == call) return Fail(EIO);
  if (faults.interruptReads && call % 2 == 1) return errno = EINTR, -1;
  if (faults.blockReads && call % 2 == 1) return errno = EAGAIN, -1;
  return Take(fake.input, buffer, count);
}

ssize_t Write(int fileDescriptor, const void* buffer, std::size_t count) {
  const Faults& faults = fake.faults;
  if (fileDescriptor == STDERR_FILENO) {
    ++fake.seen.errorWrites;
    if (faults.errorFailsAtATerminal) return errno = EIO, -1;
    fake.errorOutput.Write(buffer, count);
    return static_cast<ssize_t>(count);
  }
  if (fileDescriptor != STDOUT_FILENO) {
    if (FileFails(FileCall::kWrite)) return -1;
    return RealSystemCalls().write(fileDescriptor, buffer, count);
  }
  const int call = ++fake.seen.writes;
  if (fake.seen.failed) ++fake.seen.callsAfterFailure;
  if (Looping(call)) return errno = EIO, -1;
  if (faults.writesReturnZero) {
    fake.seen.failed = true;
    return 0;
  }
  if (call >= faults.writeFailureFrom && call <= faults.writeFailureTo) return Fail(ENOSPC);
  if (faults.interruptWrites && call % 2 == 1) return errno = EINTR, -1;
  if (faults.blockWrites && call % 2 == 1) return errno = EAGAIN, -1;
  const std::size_t written = std::min(count, faults.writeLimit);
  fake.output.Write(buffer, written);
  return static_cast<ssize_t>(written);
}

int IsTerminal(int fileDescriptor) {
  const Faults& faults = fake.faults;
  return (fileDescriptor == STDIN_FILENO && faults.inputIsTerminal) ||
         (fileDescriptor == STDOUT_FILENO && faults.outputIsTerminal) ||
         (fileDescriptor == STDERR_FILENO && faults.errorFailsAtATerminal);
}

// GetModes: on a terminal, every flag on and seven-bit characters, so each flag a mode
// sets or clears shows; Ctrl-X the erase key, Ctrl-B the erase-word key, and no other key
// named.
int GetModes(int /*fileDescriptor*/, termios* modes) {
  if (!fake.faults.inputIsTerminal) return errno = ENOTTY, -1;
  if (fake.faults.getModesFails) return errno = EIO, -1;
  *modes = termios{};
  modes->c_iflag = modes->c_oflag = modes->c_lflag = ~tcflag_t{0};
  modes->c_cflag = CS7;
  modes->c_cc[VERASE] = '\x18';
  modes->c_cc[VWERASE] = '\x02';
  return 0;
}

int SetModes(int /*fileDescriptor*/, int /*when*/, const termios* modes) {
  if (!fake.faults.inputIsTerminal) return errno = ENOTTY, -1;
  if (fake.seen.modeChanges++ == 0) fake.seen.firstModes = *modes;
  if (fake.faults.setModesFails) return errno = EIO, -1;
  return 0;
}

// Resized: the resize that comes as the wait begins: held back until then, it ends the
// wait; taken before, it is news only after the next key, for which a wait of the
// system's would go on.
bool Resized(const sigset_t* mask) {
  raise(SIGWINCH);
  sigset_t pending;
  sigpending(&pending);
  if (sigismember(&pending, SIGWINCH) != 1) return false;
  sigset_t before;
  sigprocmask(SIG_SETMASK, mask, &before);
  sigprocmask(SIG_SETMASK, &before, nullptr);
  return true;
}

int Ready(pollfd* descriptors, nfds_t count, const timespec* timeout, const sigset_t* mask) {
  CallsSeen& seen = fake.seen;
  const Faults& faults = fake.faults;
  ++seen.polls;
  if (count != 1 || descriptors[0].fd > STDERR_FILENO) {
    return RealSystemCalls().ppoll(descriptors, count, timeout, mask);
  }
  if (timeout != nullptr) seen.timedWait = timeout->tv_sec * 1000 + timeout->tv_nsec / 1000000;
  if (seen.polls == faults.resizeAtWait && mask != nullptr && Resized(mask)) {
    return errno = EINTR, -1;
  }
  if (faults.waitsInterrupted && timeout != nullptr) {
    return ++seen.timedPolls == 1 ? (errno = EINTR, -1) : 0;
  }
  if (faults.pollFails) return static_cast<int>(Fail(EINVAL));
  return static_cast<int>(count);
}

int Open(const char* path, int flags, mode_t mode) {
  for (std::size_t index = 0; index < fake.fileCount; ++index) {
    MemoryFile& file = fake.files[index];
    if (file.name != path) continue;
    if (file.openError != 0) return errno = file.openError, -1;
    return kFirstFile + static_cast<int>(index);
  }
  // Opening to read, which makes no file, fails where the faults say.
  if ((flags & O_CREAT) == 0 && FileFails(FileCall::kOpenToRead)) return -1;
  return RealSystemCalls().open(path, flags, mode);
}

int Close(int fileDescriptor) {
  if (FileOf(fileDescriptor) == nullptr) return RealSystemCalls().close(fileDescriptor);
  ++fake.seen.fileCloses;
  return 0;
}

}  // namespace

void MemoryConsole::Start(std::string_view input, const Faults& faults) {
  fake.faults = faults;
  fake.input = input;
  fake.seen = CallsSeen{};
  fake.output.written = 0;
  fake.errorOutput.written = 0;
  fake.fileCount = 0;
  SystemCalls calls = RealSystemCalls();
  calls.read = Read;
  calls.write = Write;
  calls.isTerminal = IsTerminal;
  calls.ppoll = Ready;
  calls.getModes = GetModes;
  calls.setModes = SetModes;
  calls.windowSize = [](int, winsize*) { return errno = ENOTTY, -1; };  // the default width
  calls.open = Open;
  calls.close = Close;
  calls.lock = [](int file, int how) { return FileFails(FileCall::kLock) ? -1 : flock(file, how); };
  (void)(faults.history ? setenv("INTCALC_HISTORY", faults.history, 1)
                        : unsetenv("INTCALC_HISTORY"));
  InstallSystemCalls(calls);
}

void MemoryConsole::AddFile(std::string_view name, std::string_view content, int readError,
                            int openError) {
  fake.files.at(fake.fileCount++) = {name, content, readError, openError, 0};
}

std::string_view MemoryConsole::Output() {
  return fake.output.View();
}

std::size_t MemoryConsole::OutputSize() {
  return fake.output.written;
}

std::string_view MemoryConsole::ErrorOutput() {
  return fake.errorOutput.View();
}

const CallsSeen& MemoryConsole::Seen() {
  return fake.seen;
}

void MemoryConsole::Stop() {
  InstallSystemCalls(RealSystemCalls());
}

int RunAfresh(std::span<const char* const> arguments) {
  static Console console;  // both destroyed by nothing: a new one is built in place
  static Dialogue dialogue;
  return RunCommandLine(*std::construct_at(&console), *std::construct_at(&dialogue), arguments);
}

}  // namespace intcalc
