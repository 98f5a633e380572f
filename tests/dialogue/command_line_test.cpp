// The command line, through the built program.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/case_name.h"
#include "support/run_program.h"

namespace intcalc {
namespace {

constexpr std::size_t kWidestHelpLine = 80;

struct TextCase {
  std::string name;
  std::vector<std::string> arguments;
  std::string pattern;  // what standard output must match, whole
};

class PrintedTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(PrintedTextTest, PrintsAndEndsWithStatusZero) {
  const ProgramRun run = RunProgram(INTCALC_PROGRAM, "1+1\n", GetParam().arguments);
  ASSERT_TRUE(run.started);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_TRUE(std::regex_match(run.output, std::regex(GetParam().pattern))) << run.output;
  EXPECT_EQ(run.errorOutput, "");
}

const std::string kVersion = "intcalc [0-9]+\\.[0-9]+\\.[0-9]+\n";
const std::string kHelp = "usage: intcalc [^\r]*\n";  // nothing was calculated either

INSTANTIATE_TEST_SUITE_P(Options, PrintedTextTest,
                         testing::ValuesIn<TextCase>({
                             {"Help", {"--help"}, kHelp},
                             {"ShortHelp", {"-h"}, kHelp},
                             {"Version", {"--version"}, kVersion},
                             {"ShortVersion", {"-V"}, kVersion},
                         }),
                         CaseName());

TEST(HelpTest, TellsTheTopicsInLinesOfAtMostEightyColumns) {
  const ProgramRun run = RunProgram(INTCALC_PROGRAM, "", {"--help"});
  for (const char* topic :
       {"remainder", "4294967295", "OVERFLOW", "ERROR", "Up/Down", "Ctrl-D", "Ctrl-L", "Alt-B",
        "Ctrl-Left", "--results", "--expression=EXPR", "FILE", "--trace", "--step", "--version",
        "Exit status", "128+N", "3\nwith -e", "INTCALC_HISTORY"}) {
    EXPECT_NE(run.output.find(topic), std::string::npos) << topic;
  }
  std::istringstream lines(run.output);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_LE(line.size(), kWidestHelpLine) << line;
  }
}

TEST(SteppingTest, WithoutATerminalIsTheTraceByteForByte) {
  const std::string input = "-2 + 3*(7 - 2*8)\n(--5)+1\n";
  const ProgramRun stepped = RunProgram(INTCALC_PROGRAM, input, {"--step"});
  const ProgramRun traced = RunProgram(INTCALC_PROGRAM, input, {"--trace"});
  EXPECT_EQ(stepped.exitStatus, 0);
  EXPECT_EQ(stepped.errorOutput, traced.errorOutput);
  EXPECT_EQ(stepped.output, traced.output);
  EXPECT_NE(traced.errorOutput.find("result     ERROR"), std::string::npos);
}

// Shell: what a bash command line prints; INTCALC stands for the program.
std::string Shell(std::string command) {
  for (std::size_t at = command.find("INTCALC"); at != std::string::npos;
       at = command.find("INTCALC")) {
    command.replace(at, 7, INTCALC_PROGRAM);
  }
  return RunProgram(FindInPath("bash"), "", {"-c", command}).output;
}

TEST(ClosedStreamTest, AClosedStandardErrorStopsTheTraceAndTheAnswersGoOn) {
  const std::string folder = testing::TempDir();
  // The trace's reader goes away at once; every answer still reaches the file, and the
  // status is what it would be without the trace.
  EXPECT_EQ(Shell("seq 3000 | sed 's/$/*2/' | INTCALC -r --trace 2>&1 >" + folder +
                  "/answers | head -c 10 >/dev/null; echo ${PIPESTATUS[2]}; wc -l <" + folder +
                  "/answers; tail -n 1 " + folder + "/answers"),
            "0\n3000\n6000\n");
  EXPECT_EQ(Shell("echo 6*7 | INTCALC -r --trace 2>/dev/full; echo $?"), "42\n0\n");
}

TEST(ClosedStreamTest, AClosedStandardOutputEndsTheRunQuietlyBySigpipe) {
  // By the signal itself, not an exit with its number: perl tells them apart. A caller
  // may hand the signal over blocked; it still ends the run.
  EXPECT_EQ(Shell("{ seq 100000 | perl -MPOSIX -e 'sigprocmask(SIG_BLOCK, POSIX::SigSet->new("
                  "SIGPIPE)); system @ARGV; print STDERR \" signal \", $? & 127' "
                  "INTCALC 2>&3 | head -c 3; } 3>&1"),
            "It  signal 13");
  // Where the caller ignores SIGPIPE, the closed output is a failed write.
  const std::string errors = testing::TempDir() + "/intcalc-sigpipe-" + std::to_string(getpid());
  EXPECT_EQ(Shell("trap '' PIPE; seq 100000 | INTCALC 2>" + errors +
                  " | head -c 3; echo \" ${PIPESTATUS[1]}\"; cat " + errors + "; rm " + errors),
            "It  1\nintcalc: cannot write to standard output: Broken pipe\n");
}

// ---- Argument vectors -----------------------------------------------------------------

// The files the rows read, made in a scratch folder that is the program's working folder.
const std::vector<std::pair<std::string, std::string>> kFiles = {
    {"sums.txt", "1+1\n2(3)\n\n5/0\n"},
    {"unended.txt", "4*4"},
    {"seven.txt", "7"},  // a read of one byte
    {"one.txt", "9-10\n"},
    {"-x", "6/3\n"},
};

struct VectorCase {
  std::string name;
  std::vector<std::string> arguments;
  std::string input;  // standard input
  // All of standard output; "=FILE": what FILE on standard input gives ("=-": what the
  // row's standard input alone gives), "=help": the help.
  std::string output;
  std::string errors = {};
  int status = 0;
};

class ArgumentVectorTest : public testing::TestWithParam<VectorCase> {
 protected:
  static void SetUpTestSuite() {
    // A folder of this process's own: the rows may run in processes side by side.
    folder = testing::TempDir() + "/intcalc-arguments-" + std::to_string(getpid());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder + "/folder");
    for (const auto& [name, content] : kFiles)
      std::ofstream(folder + "/" + name) << content;
    std::filesystem::current_path(folder);
  }
  static void TearDownTestSuite() {  // or each run would leave its folder behind
    std::filesystem::current_path(testing::TempDir());
    std::filesystem::remove_all(folder);
  }
  static inline std::string folder;
};

constexpr std::string_view kIntro =
    "It does Sub(-), Add(+), Mul(*), Div(/) and Remainder(\\)\r\n"
    "It uses integers from -4 294 967 295 to 4 294 967 295 \r\n\r\n";
constexpr std::string_view kPrompt =
    "Type an expression and press enter [ ex: -2 + 3*(7 - 2*8) ]\r\n";
const std::string kHint = "; try 'intcalc --help'\n";

// The program under test: this build's, or, with INTCALC_WINDOWS_PROGRAM naming it, the
// Windows program under Wine.
const char* const kWindowsProgram = std::getenv("INTCALC_WINDOWS_PROGRAM");

// A row's run takes milliseconds: one that runs for seconds hangs, and fails here.
constexpr std::chrono::seconds kHanging{10};

ProgramRun RunTheProgram(std::string_view input, std::vector<std::string> arguments) {
  if (kWindowsProgram == nullptr) return RunProgram(INTCALC_PROGRAM, input, arguments, kHanging);
  arguments.insert(arguments.begin(), kWindowsProgram);
  return RunProgram(WindowsLoader(), input, arguments);
}

// AsThePlatformSays: the row's text as the program under test writes it: on Windows, its
// own lines end with CR LF, and the system gives its reasons in its own words.
std::string AsThePlatformSays(std::string text) {
  if (kWindowsProgram == nullptr) return text;
  const std::pair<std::string_view, std::string_view> kReasons[] = {
      {"No such file or directory", "File not found"}, {"Is a directory", "Access denied"}};
  for (const auto& [linux, windows] : kReasons) {
    for (std::size_t at = text.find(linux); at != std::string::npos; at = text.find(linux)) {
      text.replace(at, linux.size(), windows);
    }
  }
  std::string lines;
  for (std::size_t index = 0; index < text.size(); ++index) {
    if (text[index] == '\n' && (index == 0 || text[index - 1] != '\r')) lines += '\r';
    lines += text[index];
  }
  return lines;
}

TEST_P(ArgumentVectorTest, AnswersAsTheCommandLineAsks) {
  const VectorCase& row = GetParam();
  const ProgramRun run = RunTheProgram(row.input, row.arguments);
  ASSERT_TRUE(run.started);
  std::string output = AsThePlatformSays(row.output);
  if (row.output == "=help") {
    output = RunTheProgram("", {"--help"}).output;
  } else if (row.output.starts_with("=")) {
    std::ifstream file(row.output.substr(1));
    const std::string content =
        row.output == "=-" ? row.input : std::string{std::istreambuf_iterator<char>(file), {}};
    output = RunTheProgram(content, {}).output;
  }
  EXPECT_EQ(run.output, output);
  EXPECT_EQ(run.errorOutput, AsThePlatformSays(row.errors));
  EXPECT_EQ(run.exitStatus, row.status);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ArgumentVectorTest,
    testing::ValuesIn<VectorCase>({
        // Standard input, as it always was.
        {"NoArguments", {}, "6*7\n", "=-"},
        {"EndOfOptionsAlone", {"--"}, "2 (3)\n", "=-"},
        {"Results", {"--results"}, "6*7\n\n2 (3)\n", "42\n\n23\n"},
        {"ShortResultsTwice", {"-r", "--results"}, "6*7\n", "42\n"},
        // Files, in turn, each of whose ends ends its last line.
        {"OneFileIsItsOwnStandardInput", {"sums.txt"}, "", "=sums.txt"},
        {"TwoFiles", {"-r", "sums.txt", "one.txt"}, "", "2\n23\n\nERROR\n-1\n"},
        {"AFileWithoutALastLineEnd", {"-r", "unended.txt", "one.txt"}, "", "16\n-1\n"},
        {"AFileOfOneByte", {"-r", "seven.txt"}, "", "7\n"},
        {"DashIsStandardInput", {"-r", "one.txt", "-", "one.txt"}, "3*3\n", "-1\n9\n-1\n"},
        {"DashAfterItsEndReadsNothingMore", {"-r", "-", "-"}, "1\n", "1\n"},
        {"OptionsAfterFiles", {"one.txt", "-r"}, "", "-1\n"},
        {"AFileNamedLikeAnOption", {"-r", "--", "-x"}, "", "2\n"},
        {"TheDialogueOverTwoFiles",
         {"unended.txt", "one.txt"},
         "",
         std::string(kIntro) + std::string(kPrompt) +
             "This is your expression: 4*4\r\nThis is your Result:  16\r\n4*4=16\r\n"
             "---------------------------------------------\r\n" +
             std::string(kPrompt) +
             "This is your expression: 9-10\r\nThis is your Result:  -1\r\n9-10=-1\r\n"
             "---------------------------------------------\r\n" +
             std::string(kPrompt)},
        // Expressions: the results form, in the order given, before the files.
        {"AnExpression", {"-e", "2*3"}, "", "6\n"},
        {"ExpressionsInOrder",
         {"-e", "1+1", "--expression", "7*7", "--expression=8/2"},
         "",
         "2\n49\n4\n"},
        {"AnExpressionWithALineEnd", {"-e", "1+1\n2+2"}, "", "2\n4\n"},
        {"ExpressionsBeforeFiles", {"one.txt", "-e", "1"}, "", "1\n-1\n"},
        {"ExpressionsReadNoStandardInput", {"-e", "1"}, "5\n", "1\n"},
        {"ExpressionsAndStandardInputNamed", {"-e", "1", "-"}, "5\n", "1\n5\n"},
        {"AnErrorWordIsStatusThree", {"-e", "5/0", "-e", "1+1"}, "", "ERROR\n2\n", "", 3},
        {"ALineLongerThanOneReadIsAnErrorWord",
         {"-e", std::string(130, '1')},
         "",
         "ERROR\n",
         "",
         3},
        {"OverflowIsStatusThree", {"--expression=65536*65536"}, "", "OVERFLOW\n", "", 3},
        {"AnErrorWordInAFileAfterAnExpression",
         {"-e", "1", "sums.txt"},
         "",
         "1\n2\n23\n\nERROR\n",
         "",
         3},
        {"AnErrorWordWithoutExpressionsIsNoFailure", {"-r", "sums.txt"}, "", "2\n23\n\nERROR\n"},
        // Short options combine.
        {"ResultsAndAnExpression", {"-re", "3+3"}, "", "6\n"},
        {"AnExpressionInTheCluster", {"-e3+4"}, "", "7\n"},
        {"VersionInACluster", {"-rV"}, "", "intcalc " INTCALC_VERSION_TEXT "\n"},
        {"HelpAnywhere", {"-r", "one.txt", "-h"}, "", "=help"},
        // Inputs that cannot be read: named with the system's reason, the rest answered.
        {"AMissingFile",
         {"-r", "missing.txt", "one.txt"},
         "",
         "-1\n",
         "intcalc: missing.txt: No such file or directory\n",
         1},
        {"AFolder",
         {"-r", "folder", "one.txt"},
         "",
         "-1\n",
         "intcalc: folder: Is a directory\n",
         1},
        {"AMissingFileWithAnErrorWord",
         {"-e", "5/0", "missing.txt"},
         "",
         "ERROR\n",
         "intcalc: missing.txt: No such file or directory\n",
         1},
        // What the line editor shows as a line is edited changes no answer.
        {"NoLiveAnswer", {"--no-live", "-r"}, "6*7\n", "42\n"},
        // Usage errors: one line, status 2, nothing answered.
        {"AnUnknownOption", {"-x"}, "1\n", "", "intcalc: unknown option '-x'" + kHint, 2},
        {"AnUnknownOptionInACluster",
         {"-rx"},
         "1\n",
         "",
         "intcalc: unknown option '-x' in '-rx'" + kHint,
         2},
        {"AnUnknownLongOption", {"--res"}, "1\n", "", "intcalc: unknown option '--res'" + kHint, 2},
        {"AnExpressionMissing",
         {"-r", "-e"},
         "1\n",
         "",
         "intcalc: option '-e' needs an expression after it" + kHint,
         2},
        {"ALongExpressionMissing",
         {"--expression"},
         "1\n",
         "",
         "intcalc: option '--expression' needs an expression after it" + kHint,
         2},
        {"AValueNotTaken",
         {"--results=yes"},
         "1\n",
         "",
         "intcalc: option '--results' takes no value" + kHint,
         2},
        {"AnErrorBeforeHelp", {"-x", "-h"}, "1\n", "", "intcalc: unknown option '-x'" + kHint, 2},
    }),
    CaseName());

}  // namespace
}  // namespace intcalc
