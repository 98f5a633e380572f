// The command line, through the built program.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "support/case_name.h"
#include "support/run_program.h"

namespace intcalc {
namespace {

constexpr std::string_view kUsageLine = "usage: intcalc [--help | --version]";

TEST(CommandLineTest, HelpDescribesTheCalculatorAndEndsWithStatusZero) {
  const ProgramRun run = RunProgram(INTCALC_PROGRAM, "1+1\n", {"--help"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_TRUE(run.output.starts_with(std::string(kUsageLine) + "\r\n")) << run.output;
  for (const char* topic : {"remainder", "4294967295", "OVERFLOW", "ERROR", "Up/Down", "Ctrl-D"}) {
    EXPECT_NE(run.output.find(topic), std::string::npos) << topic;
  }
  EXPECT_EQ(run.output.find("1+1"), std::string::npos);  // nothing was calculated
  EXPECT_EQ(run.errorOutput, "");
}

TEST(CommandLineTest, VersionIsTheNameAndThreeNumbers) {
  const ProgramRun run = RunProgram(INTCALC_PROGRAM, "", {"--version"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_TRUE(std::regex_match(run.output, std::regex("intcalc [0-9]+\\.[0-9]+\\.[0-9]+\r\n")))
      << run.output;
  EXPECT_EQ(run.errorOutput, "");
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
  EXPECT_EQ(run.errorOutput, "intcalc: unexpected argument '" + GetParam().named + "'; " +
                                 std::string(kUsageLine) + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Arguments, UsageErrorTest,
                         testing::ValuesIn<UsageCase>({
                             {"UnknownOption", {"-x"}, "-x"},
                             {"AnExpression", {"1+1"}, "1+1"},
                             {"AnEmptyArgument", {""}, ""},
                             {"HelpWithMore", {"--help", "--version"}, "--version"},
                             {"VersionWithMore", {"--version", "x"}, "x"},
                             {"ShortHelp", {"-h"}, "-h"},
                         }),
                         CaseName());

}  // namespace
}  // namespace intcalc
