// The one way the POSIX console retries a call that a signal cut short: a read or a write
// again, after poll says a descriptor that another program left non-blocking is ready; a
// wait at the terminal again, after the news the signal brought is taken.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "console/system_calls.h"

namespace intcalc {

// Retrying: calls `call` (a read or write of fileDescriptor) until it does more than fail
// with EINTR, EAGAIN or EWOULDBLOCK; returns its last result, with errno of a failure. A
// poll that fails is the call's failure, with poll's errno.
template <typename Call>
ssize_t Retrying(int fileDescriptor, short events, Call call) {
  while (true) {
    const ssize_t result = call();
    if (result >= 0) return result;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return -1;
    pollfd request{fileDescriptor, events, 0};
    while (Calls().ppoll(&request, 1, nullptr, nullptr) < 0) {
      if (errno != EINTR) return -1;
    }
  }
}

enum class Waited : std::uint8_t {
  kReady,     // standard input has bytes to read, or has ended
  kTimedOut,  // nothing came in time
  kStopped,   // the check before the wait said not to wait
  kFailed,    // the wait failed; errno says why
};

// WaitForInput: waits until standard input can be read, at most `milliseconds` when it
// is not -1. Before each wait it calls `beforeWait`, with the signals that bring news
// (SIGWINCH, SIGCONT) held back, for the caller to take the news and write out what is
// pending; false stops the waiting (kStopped). Only the wait itself lets the signals
// through, so news that comes at any instant ends the wait at once, and `beforeWait` sees
// it before the next. A wait cut short is waited again, whole.
template <typename BeforeWait>
Waited WaitForInput(int milliseconds, BeforeWait beforeWait) {
  constexpr long kNanosecondsPerMillisecond = 1'000'000;
  constexpr int kMillisecondsPerSecond = 1000;
  sigset_t news;
  sigemptyset(&news);
  sigaddset(&news, SIGWINCH);
  sigaddset(&news, SIGCONT);
  sigset_t open;
  if (Calls().blockSignals(SIG_BLOCK, &news, &open) != 0) return Waited::kFailed;
  const timespec timeout{milliseconds / kMillisecondsPerSecond,
                         (milliseconds % kMillisecondsPerSecond) * kNanosecondsPerMillisecond};
  Waited waited = Waited::kFailed;
  while (true) {
    if (!beforeWait()) {
      waited = Waited::kStopped;
      break;
    }
    pollfd request{STDIN_FILENO, POLLIN, 0};
    const int ready = Calls().ppoll(&request, 1, milliseconds >= 0 ? &timeout : nullptr, &open);
    if (ready > 0) {
      waited = Waited::kReady;
      break;
    }
    if (ready == 0) {
      waited = Waited::kTimedOut;
      break;
    }
    if (errno != EINTR) break;
  }
  const int error = errno;
  (void)Calls().blockSignals(SIG_SETMASK, &open, nullptr);
  errno = error;
  return waited;
}

}  // namespace intcalc
