// Hostile input through the built program, over pipes: whatever arrives, the dialogue
// goes on with the right words, ends with status 0 when input ends, and never hangs; the
// results form answers every line with the result text the dialogue showed for it; and
// tracing leaves the output as it is, telling every expression in lines of 80 columns.
#include <gtest/gtest.h>

#include <string>

#include "support/case_name.h"
#include "support/dialogue_shape.h"
#include "support/run_program.h"

namespace intcalc {
namespace {

struct HostileCase {
  std::string name;
  std::string input;
};

std::string Repeat(std::string_view text, std::size_t count) {
  std::string repeated;
  repeated.reserve(text.size() * count);
  for (std::size_t index = 0; index < count; ++index)
    repeated += text;
  return repeated;
}

std::string EveryByteValue() {
  std::string input;
  for (int value = 0; value < 256; ++value) {
    input += '1';
    input += static_cast<char>(value);
    input += "2\n";
  }
  for (int value = 0; value < 256; ++value)
    input += static_cast<char>(value);
  return input + "\n";
}

std::vector<HostileCase> Cases() {
  return {
      {"EveryByteValue", EveryByteValue()},
      {"NulInsideLines", std::string("12\0+3\n\0\n1+\0\n\0\0\0\n", 14)},
      {"MegabyteLine", Repeat("1+", 512 * 1024) + "1\n"},
      {"MegabyteOfBlanks", Repeat(" ", 1 << 20) + "\n7\n"},
      {"HundredThousandEmptyLines", std::string(100000, '\n')},
      {"EndsMidLine", "1+2\n3*"},
      {"EndsAfterCarriageReturn", "1+2\r"},
      {"OnlyCarriageReturns", std::string(300, '\r')},
      {"UnbalancedParentheses", "((((\n))))\n(()\n())(\n)(\n(\n)\n(1+2))\n((1+2)\n"},
      {"DeepNesting", Repeat("(", 60) + "1" + Repeat(")", 60) + "\n"},
      {"NestingDeeperThanALine", Repeat("(", 500) + "1" + Repeat(")", 500) + "\n"},
      {"GroupLongerThanItsBuffer", "(" + Repeat("1+", 45) + "1)\n"},
      {"MostOperatorsInALine", Repeat("1*", 60) + "1\n" + Repeat("9-", 60) + "9\n"},
      {"LongestNumbers",
       Repeat("9", 121) + "\n" + Repeat("0", 120) + "1\n-" + Repeat("9", 20) + "\n"},
      {"MixedLineEnds", "1\r\r\n2\r\n\r3\n\n\r\n4"},
  };
}

class HostileInputTest : public testing::TestWithParam<HostileCase> {
 protected:
  // Run: the program over the case's input, which must end it with status 0, in time.
  static ProgramRun Run(const std::vector<std::string>& arguments = {}) {
    ProgramRun run = RunProgram(INTCALC_PROGRAM, GetParam().input, arguments);
    EXPECT_TRUE(run.started);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.exitStatus, 0);
    return run;
  }
};

TEST_P(HostileInputTest, TheDialogueGoesOn) {
  EXPECT_EQ(CheckDialogue(GetParam().input, Run().output), "");
}

TEST_P(HostileInputTest, TheResultsAreTheDialoguesLineByLine) {
  std::vector<std::string> results;
  ASSERT_EQ(CheckDialogue(GetParam().input, Run().output, &results), "");
  EXPECT_EQ(Run({"--results"}).output, ExpectedResults(GetParam().input, results));
}

TEST_P(HostileInputTest, TracingLeavesTheOutputAsItIs) {
  const ProgramRun plain = Run();
  std::vector<std::string> results;
  ASSERT_EQ(CheckDialogue(GetParam().input, plain.output, &results), "");
  const ProgramRun traced = Run({"--trace"});
  EXPECT_TRUE(traced.output == plain.output) << "tracing changed the output";
  EXPECT_EQ(CheckTrace(traced.errorOutput, results.size()), "");
}

INSTANTIATE_TEST_SUITE_P(Inputs, HostileInputTest, testing::ValuesIn(Cases()), CaseName());

}  // namespace
}  // namespace intcalc
