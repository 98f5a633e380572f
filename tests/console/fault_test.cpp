// Faults of the platform, made through the console's system-call seam: short writes,
// interrupted and would-block calls, failed reads and writes. The dialogue completes short
// writes without writing anything twice and retries what was interrupted. A read or a
// write that fails outright ends the run with status 1 and a message on standard error;
// after a failed write nothing more is written or read. Nothing loops forever.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "dialogue/main_loop.h"
#include "support/case_name.h"
#include "support/memory_console.h"
#include "text/limits.h"

namespace intcalc {
namespace {

// The command lines of the two forms of answer.
using Answers = std::vector<const char*>;
const Answers kDialogue;
const Answers kResults = {"-r"};

// RunWith: the calculator over `input` with the faults; returns its exit status. What it
// wrote and the calls it made stay in MemoryConsole until the next run.
int RunWith(std::string_view input, const Faults& faults, const Answers& arguments = kDialogue) {
  MemoryConsole::Start(input, faults);
  const int status = RunAfresh(arguments);
  MemoryConsole::Stop();
  return status;
}

// CleanOutput: what the calculator writes for `input` when nothing goes wrong; a run, so
// taken before the run it is compared with.
std::string CleanOutput(std::string_view input, const Answers& answers = kDialogue) {
  EXPECT_EQ(RunWith(input, {}, answers), kExitInputEnded);
  return std::string(MemoryConsole::Output());
}

constexpr std::string_view kCannotRead = "intcalc: cannot read standard input: ";
constexpr std::string_view kCannotWrite = "intcalc: cannot write to standard output: ";

constexpr std::string_view kInput = "1 + 1\n-2 + 3*(7 - 2*8)\n\n5/0\n";

struct FaultCase {
  std::string name;
  Faults faults;
  bool stepping = false;  // with --step
};

class RecoveredFaultTest : public testing::TestWithParam<FaultCase> {};

TEST_P(RecoveredFaultTest, GiveTheSameOutputAsNoFault) {
  const std::string clean = CleanOutput(kInput);
  EXPECT_EQ(RunWith(kInput, GetParam().faults, GetParam().stepping ? Answers{"--step"} : kDialogue),
            kExitInputEnded);
  const CallsSeen& seen = MemoryConsole::Seen();
  EXPECT_FALSE(seen.looped);
  EXPECT_EQ(MemoryConsole::Output(), clean);
  // Input that is no terminal has no settings to touch.
  if (!GetParam().faults.inputIsTerminal) {
    EXPECT_EQ(seen.modeChanges, 0);
  } else {
    EXPECT_EQ(seen.modeChanges, 2);  // the line mode once for every read, and put back
    EXPECT_EQ(seen.firstModes.c_iflag & (IGNCR | INLCR), 0U);  // a CR is Enter, as typed
  }
  // A trace stops at the first row it cannot write.
  EXPECT_EQ(seen.errorWrites, GetParam().faults.errorFailsAtATerminal ? 1 : 0);
  const bool blocks = GetParam().faults.blockReads || GetParam().faults.blockWrites;
  EXPECT_GE(seen.polls, blocks ? 1 : 0);  // a call that would block waits for readiness first
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
        {"WouldBlockReadsAndWrites", {.blockReads = true, .blockWrites = true}},
        // Only input is a terminal, so its own line mode edits; setting that mode fails.
        {"ATerminalWhoseModeCannotBeSet", {.inputIsTerminal = true, .setModesFails = true}},
        // The steps cannot show, so no key is waited for: a key read would take input.
        {"SteppingWhereStandardErrorFails",
         {.readSize = 1, .inputIsTerminal = true, .errorFailsAtATerminal = true},
         true},
    }),
    CaseName());

TEST(FaultTest, AnswersGoOutInFewBigWrites) {
  std::string input;
  for (int line = 0; line < 2000; ++line)
    input += "1+1\n";
  RunWith(input, {});
  EXPECT_LE(MemoryConsole::Seen().writes, MemoryConsole::OutputSize() / 32768 + 1);  // 32 KiB each
}

TEST(FaultTest, NothingIsWrittenAfterAFailedWrite) {
  // The lines read before the failure are still answered, into a buffer that fills again.
  std::string input;
  for (int line = 0; line < 20000; ++line)
    input += "1+1\n";
  EXPECT_EQ(RunWith(input, {.writeFailureFrom = 2, .writeFailureTo = 2}), kExitFailed);
  EXPECT_EQ(MemoryConsole::Seen().callsAfterFailure, 0);
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
  const std::string clean = failure.inputBefore
                                ? CleanOutput(*failure.inputBefore, answers)
                                : CleanOutput(kInput, answers).substr(0, failure.kept);
  EXPECT_EQ(RunWith(kInput, failure.faults, answers), kExitFailed);
  const CallsSeen& seen = MemoryConsole::Seen();
  EXPECT_FALSE(seen.looped);
  EXPECT_EQ(MemoryConsole::ErrorOutput(), failure.message);
  EXPECT_TRUE(seen.failed);
  EXPECT_EQ(seen.callsAfterFailure, 0);
  EXPECT_EQ(MemoryConsole::Output(), clean);
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
  EXPECT_EQ(MemoryConsole::Seen().timedPolls, 2);
  EXPECT_NE(MemoryConsole::Output().find("\r\n1+1=2\r\n"), std::string::npos)
      << MemoryConsole::Output();
  const termios& raw = MemoryConsole::Seen().firstModes;  // each byte as typed, eight bits wide
  EXPECT_EQ(raw.c_iflag & (BRKINT | ICRNL | INPCK | ISTRIP | IXON), 0U);
  EXPECT_EQ(raw.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(raw.c_lflag & (ECHO | ICANON | IEXTEN | ISIG), 0U);
}

TEST(FaultTest, TheWaitForTheRestOfAKeyEndsItOnlyWhenNothingCame) {
  setenv("TERM", "xterm", 1);
  const Faults editing = {.readSize = 1, .inputIsTerminal = true, .outputIsTerminal = true};
  // The rest of a sequence in later reads: still the one key, Left; the terminal's erase
  // key, and its erase-word key, Ctrl-B, where Ctrl-B would be Left.
  EXPECT_EQ(RunWith("9 12\x1b[D3\x18\x02\r", editing), kExitInputEnded);
  EXPECT_NE(MemoryConsole::Output().find("\r\n92=92\r\n"), std::string::npos)
      << MemoryConsole::Output();
  EXPECT_EQ(MemoryConsole::Seen().timedWait,
            500);  // the longest a slow link may take between its bytes
  // A wait that fails is a failed read, not a read after it.
  Faults failing = editing;
  failing.pollFails = true;
  EXPECT_EQ(RunWith("\x1b", failing), kExitFailed);
  EXPECT_EQ(MemoryConsole::ErrorOutput(), std::string(kCannotRead) + "Invalid argument\n");
  // An unfinished character when nothing more came: each of its bytes, as typed.
  Faults unfinished = editing;
  unfinished.readSize = 2;
  unfinished.waitsInterrupted = true;
  EXPECT_EQ(RunWith("\xe4\xb8\r", unfinished), kExitInputEnded);
  EXPECT_NE(MemoryConsole::Output().find("\xe4\xb8=ERROR"), std::string::npos)
      << MemoryConsole::Output();
}

TEST(FaultTest, AResizeAsTheWaitBeginsIsDrawnBeforeTheNextKey) {
  setenv("TERM", "xterm", 1);
  EXPECT_EQ(
      RunWith(
          "12\r",
          {.readSize = 1, .inputIsTerminal = true, .outputIsTerminal = true, .resizeAtWait = 2}),
      kExitInputEnded);
  const std::string_view output = MemoryConsole::Output();
  const std::string_view beforeTheNextKey = output.substr(0, output.find("\r12"));
  EXPECT_NE(beforeTheNextKey.find("\r1\x1b[0K"), beforeTheNextKey.rfind("\r1\x1b[0K")) << output;
}

TEST(FaultTest, RawModeThatCannotBeSetIsAFailedRead) {
  // Both ends are terminals that understand cursor movement: the line editor's turn.
  setenv("TERM", "xterm", 1);
  const std::string introduction = CleanOutput("");
  for (const Faults& faults :
       {Faults{.inputIsTerminal = true, .outputIsTerminal = true, .setModesFails = true},
        Faults{.inputIsTerminal = true, .outputIsTerminal = true, .getModesFails = true}}) {
    EXPECT_EQ(RunWith(kInput, faults), kExitFailed);
    EXPECT_EQ(MemoryConsole::Seen().reads, 0);
    EXPECT_EQ(MemoryConsole::Output(), introduction);
    EXPECT_EQ(MemoryConsole::ErrorOutput(), kReadFailed);
  }
}

TEST(FaultTest, KeysWithTheLastOneAreDrawnBeforeTheEnd) {
  setenv("TERM", "xterm", 1);
  EXPECT_EQ(RunWith("2+2\x01\x0b\x04", {.inputIsTerminal = true, .outputIsTerminal = true}),
            kExitInputEnded);
  EXPECT_TRUE(MemoryConsole::Output().ends_with("\r\x1b[0K\r")) << MemoryConsole::Output();
}

TEST(FaultTest, AFileThatFailsIsNamedAndWhatWasReadOfItAnswered) {
  const std::string tooLong(kErrorLineCapacity, 'x');  // its line is cut to the capacity
  const std::array<const char*, 5> arguments = {"-r", "broken", "locked", tooLong.c_str(), "sound"};
  MemoryConsole::Start("");
  MemoryConsole::AddFile("broken", "1+1\n2", EIO);  // fails after its first read
  MemoryConsole::AddFile("locked", "", 0, EACCES);
  MemoryConsole::AddFile("sound", "3*3\n4*4\n5*5\n");
  EXPECT_EQ(RunAfresh(arguments), kExitFailed);
  EXPECT_EQ(MemoryConsole::Output(), "2\n2\n9\n16\n25\n");  // "2", cut short, is answered
  EXPECT_EQ(MemoryConsole::Seen().writes, 3);  // before each read after the first, not each line
  EXPECT_EQ(MemoryConsole::Seen().fileCloses, 2);
  EXPECT_EQ(MemoryConsole::ErrorOutput(),
            "intcalc: broken: Input/output error\nintcalc: locked: Permission denied\n" +
                ("intcalc: " + tooLong).substr(0, kErrorLineCapacity - 1) + "\n");
  MemoryConsole::Stop();
}

// ---- The history file: its newest 64 lines read, lines kept added, a bad one left as it is
namespace fs = std::filesystem;
std::string Numbers(int first, int last) {
  std::string lines;
  for (int number = first; number <= last; ++number)
    lines += std::to_string(number) + "\n";
  return lines;
}
const std::string kAnswered = "This is your expression: ";
constexpr std::streamoff kHugeSize = std::streamoff{3} << 30;   // sparse: it takes no disk
const std::string kKeys = std::string(65, '\x10') + "\r5*5\r";  // Ctrl-P (Up) past the oldest
const std::string kTwo = "1+1\n3*3\n";
const std::string kNotText = "\x01\n" + std::string(120, '7') + "\n" + kTwo;
enum class Place : unsigned char { kFile, kNoFolder, kLink, kHuge, kFifo, kFolder, kDevice };
using enum Place;
struct HistoryCase {
  std::string name;
  Place place;
  std::string before;
  std::string oldest;  // the oldest line read, which Up past it shows; 5*5 for none
  std::string after;   // past a huge file's first kHugeSize bytes
  std::string warning = "";
  FileCall fails = FileCall::kNone;
};
class HistoryFileTest : public testing::TestWithParam<HistoryCase> {};

TEST_P(HistoryFileTest, LeavesTheSessionAndTheFileAsTheyShouldBe) {
  const HistoryCase& row = GetParam();
  const fs::path folder = testing::TempDir() + "intcalc_" + row.name + std::to_string(getpid());
  fs::create_directories(folder);
  fs::path path = folder / (row.place == kNoFolder ? "intcalc/history" : "history");
  const std::streamoff start = row.place == kHuge ? kHugeSize : 0;
  if (row.place == kLink) fs::create_symlink(folder / "target", path);
  if (row.place == kFifo) mkfifo(path.c_str(), S_IRWXU);
  if (row.place == kFolder) fs::create_directory(path);
  if (row.place == kDevice) path = "/dev/null";
  if (!row.before.empty()) std::ofstream(path).seekp(start) << row.before;
  setenv("TERM", "xterm", 1);
  setenv("XDG_STATE_HOME", folder.c_str(), 1);
  Faults faults{.inputIsTerminal = true, .outputIsTerminal = true, .fileCallFails = row.fails};
  faults.history = row.place == kNoFolder ? nullptr : path.c_str();
  EXPECT_EQ(RunWith(kKeys, faults), kExitInputEnded);
  const std::string_view output = MemoryConsole::Output();
  EXPECT_EQ(output.find(kAnswered), output.find(kAnswered + row.oldest + "\r")) << output;
  std::ifstream file(fs::is_regular_file(path) ? path : "");  // a FIFO would wait
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file.seekg(start)), {}), row.after);
  const std::string warning = "intcalc: history: " + path.string() + ": " + row.warning + "\n";
  EXPECT_EQ(MemoryConsole::ErrorOutput(), row.warning.empty() ? "" : warning);
  EXPECT_TRUE(row.place != kNoFolder ||  // made private: the folder 0700, the file 0600
              (fs::status(path.parent_path()).permissions() == fs::perms::owner_all &&
               fs::status(path).permissions() == (fs::perms::owner_read | fs::perms::owner_write)));
  fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Files, HistoryFileTest,
    testing::ValuesIn<HistoryCase>({
        {"MissingFolders", kNoFolder, "", "5*5", "5*5\n"},
        {"NewestSixtyFourReadThousandKept", kFile, Numbers(1, 2000), "1937",
         Numbers(1002, 2000) + "1937\n5*5\n"},
        {"SymlinkNeverTrimmed", kLink, Numbers(1, 2000), "1937", Numbers(1, 2000) + "1937\n5*5\n"},
        {"Fifo", kFifo, "", "5*5", "", "not a regular file"},
        {"Folder", kFolder, "", "5*5", "", "not a regular file"},
        {"Device", kDevice, "", "5*5", "", "not a regular file"},
        {"Unreadable", kFile, kTwo, "5*5", kTwo, "Permission denied", FileCall::kOpenToRead},
        {"FullDisk", kFile, kTwo, "1+1", kTwo, "No space left on device", FileCall::kWrite},
        {"Huge", kHuge, "\n" + kTwo, "1+1", "\n" + kTwo,
         "too big: only its end is read, and it is left as it is"},
        {"NotText", kFile, kNotText, "1+1", kNotText,
         "holds lines that are not text: it is left as it is"},
        {"LockHeldElsewhere", kFile, kTwo, "1+1", kTwo,
         "locked by another session: no more lines are added", FileCall::kLock},
    }),
    CaseName());

}  // namespace
}  // namespace intcalc
