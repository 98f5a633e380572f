// MemoryConsole: runs the console on bytes in memory, through its system-call seam.
// Standard input comes from a byte string in reads of a chosen size; standard output is
// counted, and its first bytes kept; so are standard error's, apart. Nothing here
// allocates once started.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace intcalc {

class MemoryConsole {
 public:
  static constexpr std::size_t kOutputKept = 1 << 22;
  static constexpr std::size_t kWholeReads = 1 << 16;
  static constexpr std::size_t kMostFiles = 8;

  // Start: the console reads `input`, which must outlive the run, at most readSize bytes
  // per read, and counts what it writes.
  static void Start(std::string_view input, std::size_t readSize = kWholeReads);

  // AddFile: after Start, a file the console may open by name and read; the name, with a
  // NUL after it, and the content must outlive the run.
  static void AddFile(std::string_view name, std::string_view content);

  // Output: the first kOutputKept bytes written since Start.
  static std::string_view Output();

  // OutputSize: every byte written since Start.
  static std::size_t OutputSize();

  // ErrorOutput: the first kOutputKept bytes written to standard error since Start.
  static std::string_view ErrorOutput();

  // Stop: the console uses the real system calls again.
  static void Stop();
};

// RunAfresh: the calculator as the command line `arguments` asks (none: the dialogue on
// standard input), on a console and a dialogue built anew, as the program starts with
// them, through the system calls installed now; returns its exit status.
int RunAfresh(std::span<const char* const> arguments = {});

}  // namespace intcalc
