// Faults of the platform, made through the console's system-call seam: short writes,
// interrupted and would-block calls, failed reads and writes. The dialogue completes short
// writes without writing anything twice, retries what was interrupted, loses only the text
// of a write that fails outright, ends with status 1 on a failed read after writing out
// what was pending, and never loops forever.
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "console/console.h"
#include "console/system_calls.h"
#include "dialogue/main_loop.h"
#include "support/case_name.h"
#include "support/memory_console.h"

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
  int writeFailureFrom = 0;  // write calls from this one (from 1) fail with EPIPE...
  int writeFailureTo = 0;    // ...up to this one
  bool writesReturnZero = false;
  bool pollFails = false;  // poll fails with EINVAL
  bool inputIsTerminal = false;
  bool outputIsTerminal = false;
  bool setModesFails = false;  // tcsetattr fails with EIO
};

struct FaultState {
  Faults faults;
  std::string_view input;
  std::string output;
  int reads = 0;
  int writes = 0;
  int polls = 0;
  bool looped = false;
};

FaultState state;

bool Looping(int calls) {
  if (calls <= kCallLimit) return false;
  state.looped = true;
  return true;
}

ssize_t FaultyRead(int /*fileDescriptor*/, void* buffer, std::size_t count) {
  const int call = ++state.reads;
  if (Looping(call)) return errno = EIO, -1;
  if (state.faults.readErrorAt == call) return errno = EIO, -1;
  if (state.faults.interruptReads && call % 2 == 1) return errno = EINTR, -1;
  if (state.faults.blockReads && call % 2 == 1) return errno = EAGAIN, -1;
  const std::size_t taken = std::min({count, state.faults.readSize, state.input.size()});
  std::memcpy(buffer, state.input.data(), taken);
  state.input.remove_prefix(taken);
  return static_cast<ssize_t>(taken);
}

ssize_t FaultyWrite(int /*fileDescriptor*/, const void* buffer, std::size_t count) {
  const int call = ++state.writes;
  if (Looping(call)) return errno = EIO, -1;
  if (state.faults.writesReturnZero) return 0;
  if (call >= state.faults.writeFailureFrom && call <= state.faults.writeFailureTo) {
    return errno = EPIPE, -1;
  }
  if (state.faults.interruptWrites && call % 2 == 1) return errno = EINTR, -1;
  if (state.faults.blockWrites && call % 2 == 1) return errno = EAGAIN, -1;
  const std::size_t written = std::min(count, state.faults.writeLimit);
  state.output.append(static_cast<const char*>(buffer), written);
  return static_cast<ssize_t>(written);
}

int IsTerminal(int fileDescriptor) {
  return (fileDescriptor == STDIN_FILENO && state.faults.inputIsTerminal) ||
         (fileDescriptor == STDOUT_FILENO && state.faults.outputIsTerminal);
}

int GetModes(int /*fileDescriptor*/, termios* modes) {
  *modes = termios{};
  return 0;
}

int SetModes(int /*fileDescriptor*/, int /*when*/, const termios* /*modes*/) {
  if (state.faults.setModesFails) return errno = EIO, -1;
  return 0;
}

int Ready(pollfd* /*descriptors*/, nfds_t count, int /*timeout*/) {
  ++state.polls;
  if (state.faults.pollFails) return errno = EINVAL, -1;
  return static_cast<int>(count);
}

// RunWith: the dialogue over `input` with the faults; returns its exit status.
int RunWith(std::string_view input, const Faults& faults) {
  state = FaultState{};
  state.faults = faults;
  state.input = input;
  InstallSystemCalls({FaultyRead, FaultyWrite, IsTerminal, Ready, GetModes, SetModes});
  const int status = RunCalculator();
  InstallSystemCalls(RealSystemCalls());
  return status;
}

// CleanOutput: what the dialogue writes for `input` when nothing goes wrong.
std::string CleanOutput(std::string_view input) {
  MemoryConsole::Start(input);
  EXPECT_EQ(RunCalculator(), kExitInputEnded);
  std::string output(MemoryConsole::Output());
  MemoryConsole::Stop();
  return output;
}

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
}

INSTANTIATE_TEST_SUITE_P(Faults, RecoveredFaultTest,
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
                         }),
                         CaseName());

TEST(FaultTest, WouldBlockWaitsForReadiness) {
  RunWith(kInput, {.blockReads = true, .blockWrites = true});
  EXPECT_GT(state.polls, 0);
  EXPECT_EQ(state.output, CleanOutput(kInput));
}

TEST(FaultTest, PollFailingOnAReadThatWouldBlockIsAFailedRead) {
  EXPECT_EQ(RunWith(kInput, {.blockReads = true, .pollFails = true}), kExitReadFailed);
  EXPECT_FALSE(state.looped);
  EXPECT_EQ(state.output, CleanOutput(""));
}

TEST(FaultTest, PollFailingOnAWriteThatWouldBlockIsAFailedWrite) {
  // Only the first write would block, and its text is lost.
  EXPECT_EQ(RunWith(kInput, {.blockWrites = true, .pollFails = true}), kExitInputEnded);
  EXPECT_FALSE(state.looped);
  EXPECT_EQ(state.output, CleanOutput(kInput).substr(CleanOutput("").size()));
}

TEST(FaultTest, ATerminalWhoseModeCannotBeSetStillReads) {
  // Only input is a terminal, so its own line mode edits; setting that mode fails.
  EXPECT_EQ(RunWith(kInput, {.inputIsTerminal = true, .setModesFails = true}), kExitInputEnded);
  EXPECT_EQ(state.output, CleanOutput(kInput));
}

TEST(FaultTest, RawModeThatCannotBeSetIsAFailedRead) {
  // Both ends are terminals that understand cursor movement: the line editor's turn.
  setenv("TERM", "xterm", 1);
  EXPECT_EQ(
      RunWith(kInput, {.inputIsTerminal = true, .outputIsTerminal = true, .setModesFails = true}),
      kExitReadFailed);
  EXPECT_EQ(state.reads, 0);
  EXPECT_EQ(state.output, CleanOutput(""));
}

TEST(FaultTest, ReadErrorEndsWithStatusOneAfterWritingWhatWasPending) {
  // The first read brings the first line; the second fails.
  EXPECT_EQ(RunWith(kInput, {.readSize = 6, .readErrorAt = 2}), kExitReadFailed);
  EXPECT_EQ(state.output, CleanOutput(kInput.substr(0, 6)));
  EXPECT_EQ(state.reads, 2);
}

TEST(FaultTest, ReadErrorMidLineLosesOnlyThatLine) {
  EXPECT_EQ(RunWith(kInput, {.readSize = 3, .readErrorAt = 2}), kExitReadFailed);
  EXPECT_EQ(state.output, CleanOutput(""));
}

TEST(FaultTest, FailedWriteLosesThatTextAndTheDialogueGoesOn) {
  // The intro and first prompt go out in the first write, before the first read.
  EXPECT_EQ(RunWith(kInput, {.writeFailureFrom = 1, .writeFailureTo = 1}), kExitInputEnded);
  const std::string clean = CleanOutput(kInput);
  const std::string lost = CleanOutput("");
  ASSERT_TRUE(clean.starts_with(lost));
  EXPECT_EQ(state.output, clean.substr(lost.size()));
}

TEST(FaultTest, FailureAfterAShortWriteLosesOnlyTheRest) {
  EXPECT_EQ(RunWith(kInput, {.writeLimit = 10, .writeFailureFrom = 2, .writeFailureTo = 2}),
            kExitInputEnded);
  const std::string clean = CleanOutput(kInput);
  const std::string lost = CleanOutput("");
  EXPECT_EQ(state.output, clean.substr(0, 10) + clean.substr(lost.size()));
}

TEST(FaultTest, EveryWriteFailingStillEnds) {
  EXPECT_EQ(RunWith(kInput, {.writeFailureFrom = 1, .writeFailureTo = kCallLimit}),
            kExitInputEnded);
  EXPECT_FALSE(state.looped);
  EXPECT_EQ(state.output, "");
}

TEST(FaultTest, WritesThatWriteNothingAreNotRetriedForever) {
  EXPECT_EQ(RunWith(kInput, {.writesReturnZero = true}), kExitInputEnded);
  EXPECT_FALSE(state.looped);
  EXPECT_EQ(state.output, "");
}

}  // namespace
}  // namespace intcalc
