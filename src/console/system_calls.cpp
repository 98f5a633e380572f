#include "console/system_calls.h"

#include <fcntl.h>
#include <unistd.h>

namespace intcalc {

namespace {

int OpenToRead(const char* path) {
  return ::open(path, O_RDONLY | O_CLOEXEC);  // NOLINT(cppcoreguidelines-pro-type-vararg)
}

constinit SystemCalls systemCalls{::read,      ::write,     ::isatty,   ::ppoll, ::sigprocmask,
                                  ::tcgetattr, ::tcsetattr, OpenToRead, ::close};

}  // namespace

SystemCalls RealSystemCalls() {
  return {::read,      ::write,     ::isatty,   ::ppoll, ::sigprocmask,
          ::tcgetattr, ::tcsetattr, OpenToRead, ::close};
}

const SystemCalls& Calls() {
  return systemCalls;
}

void InstallSystemCalls(const SystemCalls& calls) {
  systemCalls = calls;
}

}  // namespace intcalc
