#include "support/memory_console.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "console/system_calls.h"

namespace intcalc {

namespace {

std::string_view pendingInput;
std::size_t readLimit = MemoryConsole::kWholeReads;
std::array<char, MemoryConsole::kOutputKept> keptOutput;
std::size_t writtenBytes = 0;

ssize_t ReadFromMemory(int /*fileDescriptor*/, void* buffer, std::size_t count) {
  const std::size_t taken = std::min({count, readLimit, pendingInput.size()});
  std::memcpy(buffer, pendingInput.data(), taken);
  pendingInput.remove_prefix(taken);
  return static_cast<ssize_t>(taken);
}

ssize_t WriteToMemory(int /*fileDescriptor*/, const void* buffer, std::size_t count) {
  if (writtenBytes < keptOutput.size()) {
    const std::size_t kept = std::min(count, keptOutput.size() - writtenBytes);
    std::memcpy(keptOutput.data() + writtenBytes, buffer, kept);
  }
  writtenBytes += count;
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
  writtenBytes = 0;
  InstallSystemCalls(
      {ReadFromMemory, WriteToMemory, NeverTerminal, AlwaysReady, NoModesToGet, NoModesToSet});
}

std::string_view MemoryConsole::Output() {
  return {keptOutput.data(), std::min(writtenBytes, keptOutput.size())};
}

std::size_t MemoryConsole::OutputSize() {
  return writtenBytes;
}

void MemoryConsole::Stop() {
  InstallSystemCalls(RealSystemCalls());
}

}  // namespace intcalc
