// The POSIX calls the console makes, gathered behind one seam so tests can make them fail.
#pragma once

#include <poll.h>
#include <sys/types.h>
#include <termios.h>

#include <cstddef>

namespace intcalc {

struct SystemCalls {
  ssize_t (*read)(int fileDescriptor, void* buffer, std::size_t count);
  ssize_t (*write)(int fileDescriptor, const void* buffer, std::size_t count);
  int (*isTerminal)(int fileDescriptor);
  int (*poll)(pollfd* descriptors, nfds_t count, int timeout);
  int (*getModes)(int fileDescriptor, termios* modes);                  // tcgetattr
  int (*setModes)(int fileDescriptor, int when, const termios* modes);  // tcsetattr
  int (*openToRead)(const char* path);                                  // open(2) with O_RDONLY
  int (*close)(int fileDescriptor);
};

// RealSystemCalls: the calls of the operating system itself.
SystemCalls RealSystemCalls();

// Calls: the calls the console makes now.
const SystemCalls& Calls();

// InstallSystemCalls: makes the console use these calls from now on, and starts it afresh:
// reading standard input, no input kept, no output pending, the kind of standard input not
// yet known.
void InstallSystemCalls(const SystemCalls& calls);

}  // namespace intcalc
