// The dialogue on single lines of input, through the console's seam: what it makes of the
// bytes of a line, the three lines it answers an expression with, and the trace's rows of
// the expression: every byte shown, a line wider than a row wrapped below its label.
#include "dialogue/main_loop.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

#include "support/case_name.h"
#include "support/memory_console.h"

namespace intcalc {
namespace {

constexpr std::string_view kIntroAndPrompt =
    "It does Sub(-), Add(+), Mul(*), Div(/) and Remainder(\\)\r\n"
    "It uses integers from -4 294 967 295 to 4 294 967 295 \r\n\r\n"
    "Type an expression and press enter [ ex: -2 + 3*(7 - 2*8) ]\r\n";

struct LineCase {
  std::string name;
  std::string input;
  std::string expression;  // as the dialogue shows it; empty for the introduction again
  std::string result;
  std::string traced = {};  // when not empty: the trace's rows of the expression
};

class DialogueLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(DialogueLineTest, ShowsTheLineWithoutItsBlanksAndItsResult) {
  MemoryConsole::Start(GetParam().input);
  EXPECT_EQ(RunAfresh(), kExitInputEnded);
  const std::string output(MemoryConsole::Output());
  MemoryConsole::Stop();
  const std::string& expression = GetParam().expression;
  if (expression.empty()) {
    EXPECT_EQ(output, std::string(kIntroAndPrompt) + std::string(kIntroAndPrompt));
    return;
  }
  const std::string answer = "This is your expression: " + expression +
                             "\r\nThis is your Result:  " + GetParam().result + "\r\n" +
                             expression + "=" + GetParam().result + "\r\n";
  EXPECT_TRUE(output.starts_with(std::string(kIntroAndPrompt) + answer)) << output;
  if (GetParam().traced.empty()) return;
  constexpr std::array<const char*, 1> kTraced = {"--trace"};
  MemoryConsole::Start(GetParam().input);
  (void)RunAfresh(kTraced);
  MemoryConsole::Stop();
  const std::string rows = "\nexpression " + GetParam().traced + "\n";
  EXPECT_NE(MemoryConsole::ErrorOutput().find(rows), std::string::npos)
      << MemoryConsole::ErrorOutput();
}

// Sums of ones: "1+1+...+1" of 121 characters is 61, and with a 0 after it, of 120, 69.
std::string Ones(std::size_t operands) {
  std::string text = "1";
  while (--operands > 0)
    text += "+1";
  return text;
}
const std::string k121 = Ones(61);
const std::string k120 = Ones(60) + "0";
const std::string kBelow = "\n           ";  // a row that goes on below its label
std::string Escapes(int count) {
  return count == 0 ? "" : "\\x01" + Escapes(count - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DialogueLineTest,
    testing::ValuesIn<LineCase>({
        {"Empty", "\n", "", ""},
        {"Blanks", "    \r\n", "", ""},
        {"Expression", "2 * (3+4)\n", "2*(3+4)", "14"},
        {"BlanksInsideNumbers", "1 2 + 3\n", "12+3", "15"},
        {"TabIsKept", "1\t+ 2\n", "1\t+2", "ERROR", "1\\x09+2"},
        {"Remainder", "7\\2\n", "7\\2", "1", "7\\\\2"},
        {"StopsAtCarriageReturn", "1+2\r3\n", "1+2", "3"},
        {"StopsAtNul", std::string("12\0+3\n", 6), "12", "12"},
        {"ControlBytesAreKept", "\x01\x7f\n", "\x01\x7f", "ERROR", "\\x01\\x7F"},
        {"NonAsciiIsKept", "\xc3\xa9+\xff\n", "\xc3\xa9+\xff", "ERROR", "\\xC3\\xA9+\\xFF"},
        // A whole read of a longer line: its line end is read next, as an empty line.
        {"FullRead", k121 + "\n", k121, "61", k121.substr(0, 69) + kBelow + k121.substr(69)},
        {"EscapesAreNotSplit", std::string(18, '\x01') + "\n", std::string(18, '\x01'), "ERROR",
         Escapes(17) + kBelow + Escapes(1)},
        {"FullReadEndingInCarriageReturn", k120 + "\n", k120, "69"},
    }),
    CaseName());

// Answers are kept in the output buffer and written out when it fills; an answer that
// does not fit whole goes in text by text around the write. Every byte must come out in
// order, wherever in an answer the buffer fills.
TEST(DialogueOutputTest, KeepsEveryByteAcrossTheOutputBuffersWrites) {
  constexpr int kLines = 2000;  // about 370 kB of answers: five fillings of the buffer
  std::string input;
  std::string expected(kIntroAndPrompt);
  for (int line = 1; line <= kLines; ++line) {
    const std::string expression = std::to_string(line) + "+" + std::to_string(line);
    const std::string result = std::to_string(2 * line);
    input += expression + "\n";
    expected += "This is your expression: " + expression + "\r\nThis is your Result:  " + result +
                "\r\n" + expression + "=" + result + "\r\n" + std::string(45, '-') + "\r\n" +
                "Type an expression and press enter [ ex: -2 + 3*(7 - 2*8) ]\r\n";
  }
  MemoryConsole::Start(input);
  EXPECT_EQ(RunAfresh(), kExitInputEnded);
  const std::string output(MemoryConsole::Output());
  MemoryConsole::Stop();
  ASSERT_GT(output.size(), std::size_t{5} * 64 * 1024);
  EXPECT_TRUE(output == expected);  // not printed: 370 kB
}

// The answer shown as a line is edited: what Enter would print, or nothing where it would
// only distract.
struct LiveCase {
  std::string name;
  std::string line;
  std::string answer;
};

class LiveAnswerTest : public testing::TestWithParam<LiveCase> {};

TEST_P(LiveAnswerTest, IsWhatEnterWouldPrint) {
  static LiveAnswers live;
  EXPECT_EQ(live.Answer(GetParam().line), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(Lines, LiveAnswerTest,
                         testing::ValuesIn<LiveCase>({
                             {"Sum", "3 + 4", "7"},
                             {"DivisionByZero", "5/0", "ERROR"},
                             {"BeyondTheRange", "4294967295+1", "OVERFLOW"},
                             {"TwoSignsFolded", "--5", " +5"},
                             {"AGroupJoinsItsNeighbours", "2(3)", "23"},
                             {"AGroupOfAnOverflow", "(65536*65536)", "ERROR"},
                             {"Blank", "   ", ""},
                             {"EndsWithAnOperator", "3*", ""},
                             {"EndsWithASign", "2*-", ""},
                             {"AGroupLeftOpen", "(1+2", ""},
                             {"TheLineItself", "4 2", ""},
                             {"ASignedNumber", "+5", ""},
                             {"ATab", "1\t+2", "ERROR"},
                             {"MoreClosedThanOpened", "2+3)", "ERROR"},
                         }),
                         CaseName());

}  // namespace
}  // namespace intcalc
