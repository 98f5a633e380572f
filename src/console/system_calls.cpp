#include "console/system_calls.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace intcalc {

namespace {

int Open(const char* path, int flags, mode_t mode) {
  return ::open(path, flags, mode);  // NOLINT(cppcoreguidelines-pro-type-vararg)
}

int PathStatus(const char* path, struct stat* status, int flags) {
  return ::fstatat(AT_FDCWD, path, status, flags);
}

int WindowSize(int fileDescriptor, winsize* size) {
  // ioctl is the one way to ask a terminal its size, and it takes variable arguments.
  return ::ioctl(fileDescriptor, TIOCGWINSZ, size);  // NOLINT(cppcoreguidelines-pro-type-vararg)
}

constexpr SystemCalls kRealCalls{
    .read = ::read,
    .write = ::write,
    .isTerminal = ::isatty,
    .ppoll = ::ppoll,
    .blockSignals = ::sigprocmask,
    .getModes = ::tcgetattr,
    .setModes = ::tcsetattr,
    .windowSize = WindowSize,
    .open = Open,
    .close = ::close,
    .signalAction = ::sigaction,
    .raise = ::raise,
    .foregroundGroup = ::tcgetpgrp,
    .processGroup = ::getpgrp,
    .killGroup = ::killpg,
    .exit = ::_exit,
    .fileStatus = ::fstat,
    .pathStatus = PathStatus,
    .readAt = ::pread,
    .truncate = ::ftruncate,
    .lock = ::flock,
    .sync = ::fsync,
    .makeDirectory = ::mkdir,
    .rename = ::rename,
    .unlink = ::unlink,
};

constinit SystemCalls systemCalls = kRealCalls;

}  // namespace

SystemCalls RealSystemCalls() {
  return kRealCalls;
}

const SystemCalls& Calls() {
  return systemCalls;
}

void InstallSystemCalls(const SystemCalls& calls) {
  systemCalls = calls;
}

}  // namespace intcalc
