#include "console/system_calls.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace intcalc {

namespace {

int OpenToRead(const char* path) {
  return ::open(path, O_RDONLY | O_CLOEXEC);  // NOLINT(cppcoreguidelines-pro-type-vararg)
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
    .openToRead = OpenToRead,
    .close = ::close,
    .signalAction = ::sigaction,
    .raise = ::raise,
    .foregroundGroup = ::tcgetpgrp,
    .processGroup = ::getpgrp,
    .killGroup = ::killpg,
    .exit = ::_exit,
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
