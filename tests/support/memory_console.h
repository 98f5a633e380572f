// MemoryConsole: the one fake of the console's system calls. Standard input comes from
// bytes in memory, in reads of a chosen size; what standard output and standard error get
// is counted and its first bytes kept, apart; files are found by name in memory. As a
// test asks, it is a terminal, and it fails as a platform may: each call the Faults name.
// Any call it is not told to fake goes to the real one. Nothing here allocates once
// started.
#pragma once

#include <termios.h>

#include <cstddef>
#include <span>
#include <string_view>

namespace intcalc {

// FileCall: the history file's call that fails, each time, as it would (FileFails says how).
enum class FileCall : unsigned char { kNone, kOpenToRead, kWrite, kLock };

// Faults: what the platform does beyond reading and writing memory.
struct Faults {
  static constexpr std::size_t kWholeReads = 1 << 16;
  std::size_t readSize = kWholeReads;  // most bytes a read brings
  int readErrorAt = 0;                 // the read call (from 1) that fails with EIO; 0 for none
  bool interruptReads = false;         // every other read fails with EINTR first
  bool blockReads = false;             // every other read fails with EAGAIN first
  std::size_t writeLimit = 1 << 20;
  bool interruptWrites = false;
  bool blockWrites = false;
  int writeFailureFrom = 0;  // write calls from this one (from 1) fail with ENOSPC...
  int writeFailureTo = 0;    // ...up to this one
  bool writesReturnZero = false;
  bool pollFails = false;  // poll fails with EINVAL
  bool inputIsTerminal = false;
  bool outputIsTerminal = false;
  bool errorFailsAtATerminal = false;  // standard error is a terminal whose writes fail
  bool setModesFails = false;          // tcsetattr fails with EIO
  bool getModesFails = false;          // tcgetattr fails with EIO
  bool waitsInterrupted = false;  // a poll with a timeout fails with EINTR once, then times out
  int resizeAtWait = 0;           // the wait (from 1) as which the terminal is resized
  FileCall fileCallFails = FileCall::kNone;
  const char* history = "";  // INTCALC_HISTORY, unset when null: no history file by default
};

// CallsSeen: what the calls were.
struct CallsSeen {
  int reads = 0;
  int writes = 0;             // to standard output
  bool failed = false;        // a read or a write to standard output has failed outright
  int callsAfterFailure = 0;  // reads and writes to standard output since then
  int polls = 0;
  int timedPolls = 0;
  long timedWait = 0;    // the milliseconds of the latest wait with a timeout
  int modeChanges = 0;   // calls that set the terminal's settings
  termios firstModes{};  // the settings the first of them set
  int errorWrites = 0;   // to standard error
  int fileCloses = 0;    // of the files in memory that opened
  bool looped = false;   // more calls than any run needs: the console was taken to loop
};

class MemoryConsole {
 public:
  static constexpr std::size_t kOutputKept = 1 << 22;
  static constexpr std::size_t kMostFiles = 8;

  // Start: the console reads `input`, which must outlive the run, and counts what it
  // writes, with the platform's faults.
  static void Start(std::string_view input, const Faults& faults = {});

  // AddFile: after Start, a file the console may open by name and read; the name, with a
  // NUL after it, and the content must outlive the run. A file may refuse to open, with
  // `openError`, or fail every read after its first, with `readError`.
  static void AddFile(std::string_view name, std::string_view content, int readError = 0,
                      int openError = 0);

  // Output: the first kOutputKept bytes written since Start; OutputSize: every byte.
  static std::string_view Output();
  static std::size_t OutputSize();

  // ErrorOutput: the first kOutputKept bytes written to standard error since Start.
  static std::string_view ErrorOutput();

  static const CallsSeen& Seen();

  // Stop: the console uses the real system calls again.
  static void Stop();
};

// RunAfresh: the calculator as the command line `arguments` asks (none: the dialogue on
// standard input), on a console and a dialogue built anew, as the program starts with
// them, through the system calls installed now; returns its exit status.
int RunAfresh(std::span<const char* const> arguments = {});

}  // namespace intcalc
