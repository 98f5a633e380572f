// Faults of the platform, made through the console's system-call seam: short writes,
// interrupted and would-block calls, failed reads and writes. The dialogue completes short
// writes without writing anything twice and retries what was interrupted. A read or a
// write that fails outright ends the run with status 1 and a message on standard error;
// after a failed write nothing more is written or read. Nothing loops forever.
#include <gtest/gtest.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "console/system_calls.h"
#include "dialogue/main_loop.h"
#include "support/case_name.h"
#include "support/memory_console.h"
#include "text/limits.h"

namespace intcalc {
namespace {

// Beyond this many calls the console is taken to be looping; every call then fails.
constexpr int kCallLimit = 100000;

struct Faults {
  std::size_t readSize = 1 << 16;  // most bytes a read brings
  int readErrorAt = 0;             // the read call (from 1) that fails with EIO; 0 for none
  bool interruptReads = false;     // every other read fails with EINTR first
  bool blockReads = false;         // every other read fails with EAGAIN first
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
  bool stepping = false;               // with --step
  bool setModesFails = false;          // tcsetattr fails with EIO
  bool waitsInterrupted = false;  // a poll with a timeout fails with EINTR once, then times out
  int resizeAtWait = 0;           // the wait (from 1) as which the terminal is resized
};

struct FaultState {
  Faults faults;
  std::string_view input;
  std::string output;       // what reached standard output
  std::string errorOutput;  // what reached standard error
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
  bool looped = false;
};

FaultState state;

bool Looping(int calls) {
  if (calls <= kCallLimit) return false;
  state.looped = true;
  return true;
}

// Fail: a call that fails outright, after which no call may come.
ssize_t Fail(int error) {
  state.failed = true;
  errno = error;
  return -1;
}

ssize_t FaultyRead(int /*fileDescriptor*/, void* buffer, std::size_t count) {
  const int call = ++state.reads;
  if (state.failed) ++state.callsAfterFailure;
  if (Looping(call)) return errno = EIO, -1;
  if (state.faults.readErrorAt == call) return Fail(EIO);
  if (state.faults.interruptReads && call % 2 == 1) return errno = EINTR, -1;
  if (state.faults.blockReads && call % 2 == 1) return errno = EAGAIN, -1;
  const std::size_t taken = std::min({count, state.faults.readSize, state.input.size()});
  std::memcpy(buffer, state.input.data(), taken);
  state.input.remove_prefix(taken);
  return static_cast<ssize_t>(taken);
}

ssize_t FaultyWrite(int fileDescriptor, const void* buffer, std::size_t count) {
  if (fileDescriptor == STDERR_FILENO) {
    ++state.errorWrites;
    if (state.faults.errorFailsAtATerminal) return errno = EIO, -1;
    state.errorOutput.append(static_cast<const char*>(buffer), count);
    return static_cast<ssize_t>(count);
  }
  const int call = ++state.writes;
  if (state.failed) ++state.callsAfterFailure;
  if (Looping(call)) return errno = EIO, -1;
  if (state.faults.writesReturnZero) {
    state.failed = true;
    return 0;
  }
  if (call >= state.faults.writeFailureFrom && call <= state.faults.writeFailureTo) {
    return Fail(ENOSPC);
  }
  if (state.faults.interruptWrites && call % 2 == 1) return errno = EINTR, -1;
  if (state.faults.blockWrites && call % 2 == 1) return errno = EAGAIN, -1;
  const std::size_t written = std::min(count, state.faults.writeLimit);
  state.output.append(static_cast<const char*>(buffer), written);
  return static_cast<ssize_t>(written);
}

int IsTerminal(int fileDescriptor) {
  return (fileDescriptor == STDIN_FILENO && state.faults.inputIsTerminal) ||
         (fileDescriptor == STDOUT_FILENO && state.faults.outputIsTerminal) ||
         (fileDescriptor == STDERR_FILENO && state.faults.errorFailsAtATerminal);
}

// GetModes: every flag on and seven-bit characters, so each flag a mode sets or clears
// shows; Ctrl-X the erase key, and no other key named.
int GetModes(int /*fileDescriptor*/, termios* modes) {
  *modes = termios{};
  modes->c_iflag = modes->c_oflag = modes->c_lflag = ~tcflag_t{0};
  modes->c_cflag = CS7;
  modes->c_cc[VERASE] = '\x18';
  return 0;
}

int SetModes(int /*fileDescriptor*/, int /*when*/, const termios* modes) {
  if (state.modeChanges++ == 0) state.firstModes = *modes;
  if (state.faults.setModesFails) return errno = EIO, -1;
  return 0;
}

int Ready(pollfd* /*descriptors*/, nfds_t count, const timespec* timeout, const sigset_t* mask) {
  ++state.polls;
  EXPECT_EQ(count, 1U);  // the console waits for one descriptor at a time
  if (timeout != nullptr) state.timedWait = timeout->tv_sec * 1000 + timeout->tv_nsec / 1000000;
  if (state.polls == state.faults.resizeAtWait && mask != nullptr) {
    // Held back until the wait, the resize ends it; taken before, it is news only after
    // the next key, for which a wait of the system's would go on.
    raise(SIGWINCH);
    sigset_t pending;
    sigpending(&pending);
    if (sigismember(&pending, SIGWINCH) == 1) {
      sigset_t before;
      sigprocmask(SIG_SETMASK, mask, &before);
      sigprocmask(SIG_SETMASK, &before, nullptr);
      return errno = EINTR, -1;
    }
  }
  if (state.faults.waitsInterrupted && timeout != nullptr) {
    return ++state.timedPolls == 1 ? (errno = EINTR, -1) : 0;
  }
  if (state.faults.pollFails) return static_cast<int>(Fail(EINVAL));
  return static_cast<int>(count);
}

// The command lines of the two forms of answer.
using Answers = std::vector<const char*>;
const Answers kDialogue;
const Answers kResults = {"-r"};

// RunWith: the calculator over `input` with the faults; returns its exit status.
int RunWith(std::string_view input, const Faults& faults, Answers arguments = kDialogue) {
  state = FaultState{};
  state.faults = faults;
  state.input = input;
  if (faults.stepping) arguments.push_back("--step");
  InstallSystemCalls({FaultyRead, FaultyWrite, IsTerminal, Ready, ::sigprocmask, GetModes, SetModes,
                      RealSystemCalls().openToRead, RealSystemCalls().close});
  const int status = RunAfresh(arguments);
  InstallSystemCalls(RealSystemCalls());
  return status;
}

// CleanOutput: what the calculator writes for `input` when nothing goes wrong.
std::string CleanOutput(std::string_view input, const Answers& answers = kDialogue) {
  MemoryConsole::Start(input);
  EXPECT_EQ(RunAfresh(answers), kExitInputEnded);
  std::string output(MemoryConsole::Output());
  MemoryConsole::Stop();
  return output;
}

constexpr std::string_view kCannotRead = "intcalc: cannot read standard input: ";
constexpr std::string_view kCannotWrite = "intcalc: cannot write to standard output: ";

constexpr std::string_view kInput = "1 + 1\n-2 + 3*(7 - 2*8)\n\n5/0\n";

struct FaultCase {
  std::string name;
  Faults faults;
};

class RecoveredFaultTest : public testing::TestWithParam<FaultCase> {};

TEST_P(RecoveredFaultTest, GiveTheSameOutputAsNoFault) {
  EXPECT_EQ(RunWith(kInput, GetParam().faults), kExitInputEnded);
  EXPECT_FALSE(state.looped);
  EXPECT_EQ(state.output, CleanOutput(kInput));
  // Input that is no terminal has no settings to touch.
  if (!GetParam().faults.inputIsTerminal) {
    EXPECT_EQ(state.modeChanges, 0);
  } else {
    EXPECT_EQ(state.modeChanges, 2);  // the line mode once for every read, and put back
    EXPECT_EQ(state.firstModes.c_iflag & (IGNCR | INLCR), 0U);  // a CR is Enter, as typed
  }
  // A trace stops at the first row it cannot write.
  EXPECT_EQ(state.errorWrites, GetParam().faults.errorFailsAtATerminal ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RecoveredFaultTest,
    testing::ValuesIn<FaultCase>({
        {"ShortWrites", {.writeLimit = 7}},
        {"OneByteWrites", {.writeLimit = 1}},
        {"InterruptedWrites", {.interruptWrites = true}},
        {"InterruptedShortWrites", {.writeLimit = 3, .interruptWrites = true}},
        {"InterruptedReads", {.interruptReads = true}},
        {"OneByteReads", {.readSize = 1}},
        {"InterruptedOneByteReads", {.readSize = 1, .interruptReads = true}},
        {"WouldBlockReads", {.blockReads = true}},
        {"WouldBlockWrites", {.blockWrites = true}},
        // The steps cannot show, so no key is waited for: a key read would take input.
        {"SteppingWhereStandardErrorFails",
         {.readSize = 1, .inputIsTerminal = true, .errorFailsAtATerminal = true, .stepping = true}},
    }),
    CaseName());

TEST(FaultTest, AnswersGoOutInFewBigWrites) {
  std::string input;
  for (int line = 0; line < 2000; ++line)
    input += "1+1\n";
  RunWith(input, {});
  EXPECT_LE(state.writes, static_cast<int>(state.output.size() / 32768) + 1);  // 32 KiB each
}

TEST(FaultTest, NothingIsWrittenAfterAFailedWrite) {
  // The lines read before the failure are still answered, into a buffer that fills again.
  std::string input;
  for (int line = 0; line < 20000; ++line)
    input += "1+1\n";
  EXPECT_EQ(RunWith(input, {.writeFailureFrom = 2, .writeFailureTo = 2}), kExitFailed);
  EXPECT_EQ(state.callsAfterFailure, 0);
}

TEST(FaultTest, WouldBlockWaitsForReadiness) {
  RunWith(kInput, {.blockReads = true, .blockWrites = true});
  EXPECT_GT(state.polls, 0);
  EXPECT_EQ(state.output, CleanOutput(kInput));
}

TEST(FaultTest, ATerminalWhoseModeCannotBeSetStillReads) {
  // Only input is a terminal, so its own line mode edits; setting that mode fails.
  EXPECT_EQ(RunWith(kInput, {.inputIsTerminal = true, .setModesFails = true}), kExitInputEnded);
  EXPECT_EQ(state.output, CleanOutput(kInput));
}

// ---- Failures that end the run, in both forms of answer -------------------------------

struct FailureCase {
  std::string name;
  Faults faults;
  std::string message;  // on standard error
  // What still went out: the first `kept` bytes of the clean output, or, after a failed
  // read, the clean output of the input read before it.
  std::size_t kept = 0;
  std::optional<std::string_view> inputBefore = std::nullopt;
};

void PrintTo(const FailureCase& failure, std::ostream* stream) {
  *stream << failure.name;
}

class FailureTest : public testing::TestWithParam<std::tuple<FailureCase, Answers>> {};

TEST_P(FailureTest, EndsWithStatusOneAndAMessageAndNothingAfter) {
  const auto& [failure, answers] = GetParam();
  EXPECT_EQ(RunWith(kInput, failure.faults, answers), kExitFailed);
  EXPECT_FALSE(state.looped);
  EXPECT_EQ(state.errorOutput, failure.message);
  EXPECT_TRUE(state.failed);
  EXPECT_EQ(state.callsAfterFailure, 0);
  if (failure.inputBefore) {
    EXPECT_EQ(state.output, CleanOutput(*failure.inputBefore, answers));
  } else {
    EXPECT_EQ(state.output, CleanOutput(kInput, answers).substr(0, failure.kept));
  }
}

const std::string kWriteFailed = std::string(kCannotWrite) + "No space left on device\n";
const std::string kReadFailed = std::string(kCannotRead) + "Input/output error\n";

INSTANTIATE_TEST_SUITE_P(
    Faults, FailureTest,
    testing::Combine(
        testing::ValuesIn<FailureCase>({
            {"FirstWriteFails", {.writeFailureFrom = 1, .writeFailureTo = 1}, kWriteFailed},
            {"EveryWriteFails", {.writeFailureFrom = 1, .writeFailureTo = 1000}, kWriteFailed},
            {"WriteFailsAfterAShortOne",
             {.writeLimit = 10, .writeFailureFrom = 2, .writeFailureTo = 2},
             kWriteFailed,
             10},
            {"WritesWriteNothing",
             {.writesReturnZero = true},
             std::string(kCannotWrite) + "Input/output error\n"},
            {"PollFailsOnAWriteThatWouldBlock",
             {.blockWrites = true, .pollFails = true},
             std::string(kCannotWrite) + "Invalid argument\n"},
            // The first read brings the first line; the second fails.
            {"ReadFailsAfterALine", {.readSize = 6, .readErrorAt = 2}, kReadFailed, 0, "1 + 1\n"},
            {"ReadFailsMidLine", {.readSize = 3, .readErrorAt = 2}, kReadFailed, 0, ""},
            {"PollFailsOnAReadThatWouldBlock",
             {.blockReads = true, .pollFails = true},
             std::string(kCannotRead) + "Invalid argument\n",
             0,
             ""},
        }),
        testing::Values(kDialogue, kResults)),
    [](const testing::TestParamInfo<FailureTest::ParamType>& test) {
      return std::get<0>(test.param).name +
             (std::get<1>(test.param).empty() ? "Dialogue" : "Results");
    });

TEST(FaultTest, AnInterruptedWaitAfterEscapeTakesNoKey) {
  // On a terminal the line editor reads; the Escape comes alone, it waits for more, its
  // wait is interrupted, then nothing more comes in time: a lone Escape, which asks nothing.
  setenv("TERM", "xterm", 1);
  EXPECT_EQ(RunWith("\x1b"
                    "1+1\r",
                    {.readSize = 1,
                     .inputIsTerminal = true,
                     .outputIsTerminal = true,
                     .waitsInterrupted = true}),
            kExitInputEnded);
  EXPECT_EQ(state.timedPolls, 2);
  EXPECT_NE(state.output.find("\r\n1+1=2\r\n"), std::string::npos) << state.output;
  const termios& raw = state.firstModes;  // each byte as typed, eight bits wide
  EXPECT_EQ(raw.c_iflag & (BRKINT | ICRNL | INPCK | ISTRIP | IXON), 0U);
  EXPECT_EQ(raw.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(raw.c_lflag & (ECHO | ICANON | IEXTEN | ISIG), 0U);
}

TEST(FaultTest, TheWaitForTheRestOfAKeyEndsItOnlyWhenNothingCame) {
  setenv("TERM", "xterm", 1);
  const Faults editing = {.readSize = 1, .inputIsTerminal = true, .outputIsTerminal = true};
  // The rest of a sequence in later reads: still the one key, Left; the terminal's erase key.
  EXPECT_EQ(RunWith("12\x1b[D3\x18\r", editing), kExitInputEnded);
  EXPECT_NE(state.output.find("\r\n12=12\r\n"), std::string::npos) << state.output;
  EXPECT_EQ(state.timedWait, 500);  // the longest a slow link may take between its bytes
  // A wait that fails is a failed read, not a read after it.
  Faults failing = editing;
  failing.pollFails = true;
  EXPECT_EQ(RunWith("\x1b", failing), kExitFailed);
  EXPECT_EQ(state.errorOutput, std::string(kCannotRead) + "Invalid argument\n");
  // An unfinished character when nothing more came: each of its bytes, as typed.
  Faults unfinished = editing;
  unfinished.readSize = 2;
  unfinished.waitsInterrupted = true;
  EXPECT_EQ(RunWith("\xe4\xb8\r", unfinished), kExitInputEnded);
  EXPECT_NE(state.output.find("\xe4\xb8=ERROR"), std::string::npos) << state.output;
}

TEST(FaultTest, AResizeAsTheWaitBeginsIsDrawnBeforeTheNextKey) {
  setenv("TERM", "xterm", 1);
  EXPECT_EQ(
      RunWith(
          "12\r",
          {.readSize = 1, .inputIsTerminal = true, .outputIsTerminal = true, .resizeAtWait = 2}),
      kExitInputEnded);
  const std::string beforeTheNextKey = state.output.substr(0, state.output.find("\r12"));
  EXPECT_NE(beforeTheNextKey.find("\r1\x1b[0K"), beforeTheNextKey.rfind("\r1\x1b[0K"))
      << state.output;
}

TEST(FaultTest, RawModeThatCannotBeSetIsAFailedRead) {
  // Both ends are terminals that understand cursor movement: the line editor's turn.
  setenv("TERM", "xterm", 1);
  EXPECT_EQ(
      RunWith(kInput, {.inputIsTerminal = true, .outputIsTerminal = true, .setModesFails = true}),
      kExitFailed);
  EXPECT_EQ(state.reads, 0);
  EXPECT_EQ(state.output, CleanOutput(""));
  EXPECT_EQ(state.errorOutput, kReadFailed);
}

// Files that fail as a disk does: "broken" after its first read, "locked" at its opening.
constexpr int kBroken = 100;
constexpr int kSound = 101;
int fileReads = 0;

ssize_t FileRead(int fileDescriptor, void* buffer, std::size_t count) {
  if (fileDescriptor != kBroken && fileDescriptor != kSound) {
    return FaultyRead(fileDescriptor, buffer, count);
  }
  const std::string_view content = fileDescriptor == kSound ? "3*3\n4*4\n5*5\n" : "1+1\n2";
  if (fileDescriptor == kBroken && fileReads++ > 0) return errno = EIO, -1;
  if (fileDescriptor == kSound && fileReads++ > 0) return 0;
  std::memcpy(buffer, content.data(), std::min(count, content.size()));
  return static_cast<ssize_t>(std::min(count, content.size()));
}

int FileOpen(const char* path) {
  fileReads = 0;
  const std::string_view name = path;
  if (name == "broken") return kBroken;
  if (name == "sound") return kSound;
  errno = name == "locked" ? EACCES : ENOENT;
  return -1;
}

int fileCloses = 0;  // of the files that opened

int FileClose(int fileDescriptor) {
  if (fileDescriptor == kBroken || fileDescriptor == kSound) ++fileCloses;
  return 0;
}

TEST(FaultTest, AFileThatFailsIsNamedAndWhatWasReadOfItAnswered) {
  state = FaultState{};
  fileCloses = 0;
  InstallSystemCalls({FileRead, FaultyWrite, IsTerminal, Ready, ::sigprocmask, GetModes, SetModes,
                      FileOpen, FileClose});
  const std::string tooLong(kErrorLineCapacity, 'x');  // its line is cut to the capacity
  const std::array<const char*, 5> arguments = {"-r", "broken", "locked", tooLong.c_str(), "sound"};
  const int status = RunAfresh(arguments);
  InstallSystemCalls(RealSystemCalls());
  EXPECT_EQ(status, kExitFailed);
  EXPECT_EQ(state.output, "2\n2\n9\n16\n25\n");  // "2", cut short by the failure, is answered
  EXPECT_EQ(state.writes, 3);  // before each read after the first, not for every line
  EXPECT_EQ(fileCloses, 2);
  EXPECT_EQ(state.errorOutput,
            "intcalc: broken: Input/output error\nintcalc: locked: Permission denied\n" +
                ("intcalc: " + tooLong).substr(0, kErrorLineCapacity - 1) + "\n");
}

}  // namespace
}  // namespace intcalc
