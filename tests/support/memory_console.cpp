#include "support/memory_console.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "console/system_calls.h"

namespace intcalc {

namespace {

std::string_view pendingInput;
std::size_t readLimit = MemoryConsole::kWholeReads;
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

Kept output;
Kept errorOutput;

ssize_t ReadFromMemory(int /*fileDescriptor*/, void* buffer, std::size_t count) {
  const std::size_t taken = std::min({count, readLimit, pendingInput.size()});
  std::memcpy(buffer, pendingInput.data(), taken);
  pendingInput.remove_prefix(taken);
  return static_cast<ssize_t>(taken);
}

ssize_t WriteToMemory(int fileDescriptor, const void* buffer, std::size_t count) {
  (fileDescriptor == STDERR_FILENO ? errorOutput : output).Write(buffer, count);
  return static_cast<ssize_t>(count);
}

int NeverTerminal(int /*fileDescriptor*/) {
  return 0;
}

int AlwaysReady(pollfd* /*descriptors*/, nfds_t count, int /*timeout*/) {
  return static_cast<int>(count);
}

int NoModesToGet(int /*fileDescriptor*/, termios* /*modes*/) {
  errno = ENOTTY;
  return -1;
}

int NoModesToSet(int /*fileDescriptor*/, int /*when*/, const termios* /*modes*/) {
  errno = ENOTTY;
  return -1;
}

}  // namespace

void MemoryConsole::Start(std::string_view input, std::size_t readSize) {
  pendingInput = input;
  readLimit = readSize;
  output.written = 0;
  errorOutput.written = 0;
  InstallSystemCalls(
      {ReadFromMemory, WriteToMemory, NeverTerminal, AlwaysReady, NoModesToGet, NoModesToSet});
}

std::string_view MemoryConsole::Output() {
  return output.View();
}

std::size_t MemoryConsole::OutputSize() {
  return output.written;
}

std::string_view MemoryConsole::ErrorOutput() {
  return errorOutput.View();
}

void MemoryConsole::Stop() {
  InstallSystemCalls(RealSystemCalls());
}

}  // namespace intcalc
