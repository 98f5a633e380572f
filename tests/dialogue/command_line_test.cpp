// The command line, through the built program.
#include <gtest/gtest.h>

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
       {"remainder", "4294967295", "OVERFLOW", "ERROR", "Up/Down", "Ctrl-D", "Ctrl-L", "--results",
        "--trace", "--step", "--version", "Exit status"}) {
    EXPECT_NE(run.output.find(topic), std::string::npos) << topic;
  }
  std::istringstream lines(run.output);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_LE(line.size(), kWidestHelpLine) << line;
  }
}

struct AnswerCase {
  std::string name;
  std::vector<std::string> arguments;
  std::string output;
};

class AnswerFormTest : public testing::TestWithParam<AnswerCase> {};

TEST_P(AnswerFormTest, AnswersAsAsked) {
  const ProgramRun run = RunProgram(INTCALC_PROGRAM, "6*7\n\n2 (3)\n", GetParam().arguments);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.errorOutput, "");
  if (GetParam().output.empty()) {
    EXPECT_NE(run.output.find("6*7=42\r\n"), std::string::npos) << run.output;  // the dialogue
  } else {
    EXPECT_EQ(run.output, GetParam().output);
  }
}

INSTANTIATE_TEST_SUITE_P(Options, AnswerFormTest,
                         testing::ValuesIn<AnswerCase>({
                             {"NoArguments", {}, ""},
                             {"EndOfOptionsAlone", {"--"}, ""},
                             {"Results", {"--results"}, "42\n\n23\n"},
                             {"ShortResults", {"-r"}, "42\n\n23\n"},
                             {"ResultsThenEndOfOptions", {"-r", "--"}, "42\n\n23\n"},
                             {"ResultsTwice", {"-r", "--results"}, "42\n\n23\n"},
                         }),
                         CaseName());

TEST(SteppingTest, WithoutATerminalIsTheTraceByteForByte) {
  const std::string input = "-2 + 3*(7 - 2*8)\n(--5)+1\n";
  const ProgramRun stepped = RunProgram(INTCALC_PROGRAM, input, {"--step"});
  const ProgramRun traced = RunProgram(INTCALC_PROGRAM, input, {"--trace"});
  EXPECT_EQ(stepped.exitStatus, 0);
  EXPECT_EQ(stepped.errorOutput, traced.errorOutput);
  EXPECT_EQ(stepped.output, traced.output);
  EXPECT_NE(traced.errorOutput.find("result     ERROR"), std::string::npos);
}

struct UsageCase {
  std::string name;
  std::vector<std::string> arguments;
  std::string named;  // the argument the message names
};

class UsageErrorTest : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrorTest, OneLineOnStandardErrorAndStatusTwo) {
  const ProgramRun run = RunProgram(INTCALC_PROGRAM, "1+1\n", GetParam().arguments);
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(run.errorOutput,
            "intcalc: unexpected argument '" + GetParam().named + "'; try 'intcalc --help'\n");
}

INSTANTIATE_TEST_SUITE_P(Arguments, UsageErrorTest,
                         testing::ValuesIn<UsageCase>({
                             {"UnknownOption", {"-x"}, "-x"},
                             {"AnExpression", {"1+1"}, "1+1"},
                             {"AnEmptyArgument", {""}, ""},
                             {"HelpWithMore", {"--help", "--version"}, "--version"},
                             {"VersionWithMore", {"-V", "x"}, "x"},
                             {"HelpAfterAnOption", {"-r", "-h"}, "-h"},
                             {"OptionAfterTheEnd", {"--", "-r"}, "-r"},
                             {"SecondEnd", {"--", "--"}, "--"},
                             {"JoinedShortOptions", {"-rV"}, "-rV"},
                         }),
                         CaseName());

}  // namespace
}  // namespace intcalc
