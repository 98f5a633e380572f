// The one way the POSIX console retries a read or a write: again after an interruption,
// and, on a descriptor that another program left non-blocking, after poll says it is ready.
#pragma once

#include <poll.h>
#include <sys/types.h>

#include <cerrno>

#include "console/system_calls.h"

namespace intcalc {

// Retrying: calls `call` (a read or write of fileDescriptor) until it does more than fail
// with EINTR, EAGAIN or EWOULDBLOCK; returns its last result, with errno of a failure. After
// an interruption it asks `interrupted` whether to go on; when not, the interruption is
// the result. A poll that fails is the call's failure, with poll's errno.
template <typename Call, typename Interrupted>
ssize_t Retrying(int fileDescriptor, short events, Call call, Interrupted interrupted) {
  while (true) {
    const ssize_t result = call();
    if (result >= 0) return result;
    if (errno == EINTR) {
      if (interrupted()) continue;
      errno = EINTR;
      return -1;
    }
    if (errno != EAGAIN && errno != EWOULDBLOCK) return -1;
    pollfd request{fileDescriptor, events, 0};
    while (Calls().poll(&request, 1, -1) < 0) {
      if (errno != EINTR) return -1;
    }
  }
}

template <typename Call>
ssize_t Retrying(int fileDescriptor, short events, Call call) {
  return Retrying(fileDescriptor, events, call, [] { return true; });
}

}  // namespace intcalc
