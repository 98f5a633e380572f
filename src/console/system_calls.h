// The POSIX calls the console makes, gathered behind one seam so that tests can make them
// fail. The seam is static, as the signal handlers write through it too.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <termios.h>
#include <time.h>

#include <cstddef>

namespace intcalc {

struct SystemCalls {
  ssize_t (*read)(int fileDescriptor, void* buffer, std::size_t count);
  ssize_t (*write)(int fileDescriptor, const void* buffer, std::size_t count);
  int (*isTerminal)(int fileDescriptor);
  // ppoll: the wait, with the signal mask `mask` (when not null) while it waits.
  int (*ppoll)(pollfd* descriptors, nfds_t count, const timespec* timeout, const sigset_t* mask);
  int (*blockSignals)(int how, const sigset_t* signals, sigset_t* before);  // sigprocmask
  int (*getModes)(int fileDescriptor, termios* modes);                      // tcgetattr
  int (*setModes)(int fileDescriptor, int when, const termios* modes);      // tcsetattr
  int (*openToRead)(const char* path);                                      // open(2) with O_RDONLY
  int (*close)(int fileDescriptor);
};

// RealSystemCalls: the calls of the operating system itself.
SystemCalls RealSystemCalls();

// Calls: the calls the console makes now.
const SystemCalls& Calls();

// InstallSystemCalls: the calls the console and the signal handlers make from now on.
void InstallSystemCalls(const SystemCalls& calls);

}  // namespace intcalc
