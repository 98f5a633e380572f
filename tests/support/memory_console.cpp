#include "support/memory_console.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <span>

#include "console/console.h"
#include "console/system_calls.h"
#include "dialogue/command_line.h"
#include "dialogue/main_loop.h"

namespace intcalc {

namespace {

std::string_view pendingInput;
std::size_t readLimit = MemoryConsole::kWholeReads;

// The files the console may open: a name and what is left to read of it.
constexpr int kFirstFile = 100;
struct MemoryFile {
  std::string_view name;
  std::string_view left;
};
std::array<MemoryFile, MemoryConsole::kMostFiles> files{};
std::size_t fileCount = 0;
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

ssize_t ReadFromMemory(int fileDescriptor, void* buffer, std::size_t count) {
  std::string_view& source = fileDescriptor >= kFirstFile
                                 ? files[static_cast<std::size_t>(fileDescriptor - kFirstFile)].left
                                 : pendingInput;
  const std::size_t taken = std::min({count, readLimit, source.size()});
  std::memcpy(buffer, source.data(), taken);
  source.remove_prefix(taken);
  return static_cast<ssize_t>(taken);
}

int OpenInMemory(const char* path) {
  for (std::size_t index = 0; index < fileCount; ++index) {
    if (files[index].name == path) return kFirstFile + static_cast<int>(index);
  }
  errno = ENOENT;
  return -1;
}

int CloseInMemory(int /*fileDescriptor*/) {
  return 0;
}

ssize_t WriteToMemory(int fileDescriptor, const void* buffer, std::size_t count) {
  (fileDescriptor == STDERR_FILENO ? errorOutput : output).Write(buffer, count);
  return static_cast<ssize_t>(count);
}

int NeverTerminal(int /*fileDescriptor*/) {
  return 0;
}

int AlwaysReady(pollfd* /*descriptors*/, nfds_t count, const timespec* /*timeout*/,
                const sigset_t* /*mask*/) {
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
  fileCount = 0;
  InstallSystemCalls({ReadFromMemory, WriteToMemory, NeverTerminal, AlwaysReady, ::sigprocmask,
                      NoModesToGet, NoModesToSet, OpenInMemory, CloseInMemory});
}

void MemoryConsole::AddFile(std::string_view name, std::string_view content) {
  files.at(fileCount++) = {name, content};
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

int RunAfresh(std::span<const char* const> arguments) {
  static Console console;  // both destroyed by nothing: a new one is built in place
  static Dialogue dialogue;
  return RunCommandLine(*std::construct_at(&console), *std::construct_at(&dialogue), arguments);
}

}  // namespace intcalc
