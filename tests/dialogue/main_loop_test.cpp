#include "dialogue/main_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "support/case_name.h"
#include "support/load_text.h"

namespace intcalc {
namespace {

struct CompactCase {
  std::string name;
  std::string raw;
  std::string expected;
};

class CompactInputTest : public testing::TestWithParam<CompactCase> {};

TEST_P(CompactInputTest, KeepsEverythingButBlanksUpToTheLineEnd) {
  ExpressionBuffer expression;
  LoadText("left over from before", expression);
  const bool empty = CompactInput(GetParam().raw, expression);
  EXPECT_EQ(expression.View(), GetParam().expected);
  EXPECT_EQ(empty, GetParam().expected.empty());
  EXPECT_EQ(expression.CString()[expression.Length()], '\0');
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompactInputTest,
    testing::ValuesIn<CompactCase>({
        {"Empty", "\r\n", ""},
        {"OnlyLineFeed", "\n", ""},
        {"Blanks", "    \r\n", ""},
        {"Expression", "2 * (3+4)\r\n", "2*(3+4)"},
        {"BlanksInsideNumbers", "1 2 + 3\r\n", "12+3"},
        {"TabIsKept", "1\t+ 2\r\n", "1\t+2"},
        {"StopsAtCarriageReturn", "1+2\r3\r\n", "1+2"},
        {"StopsAtNul", std::string("12\0+3\r\n", 7), "12"},
        {"ControlBytesAreKept", "\x01\x7f\r\n", "\x01\x7f"},
        {"NonAsciiIsKept", "\xc3\xa9+\xff\r\n", "\xc3\xa9+\xff"},
        {"FullReadWithoutLineEnd", std::string(kReadLimit, '7'), std::string(kReadLimit, '7')},
        {"FullReadEndingInCarriageReturn", std::string(120, '7') + "\r", std::string(120, '7')},
    }),
    CaseName());

TEST(CompactInputReuseTest, TakesOnlyTheBytesTheReadDelivered) {
  // "12345" and its line end, then a last piece "9" without one, in the same buffer.
  RawLine line{};
  const std::string_view earlier = "12345\r\n";
  std::copy(earlier.begin(), earlier.end(), line.begin());
  line[0] = '9';
  ExpressionBuffer expression;
  EXPECT_FALSE(CompactInput(std::span(line).first(1), expression));
  EXPECT_EQ(expression.View(), "9");
}

struct EchoCase {
  std::string expression;
  std::string result;
  std::string expected;
};

class BuildEchoLineTest : public testing::TestWithParam<EchoCase> {};

TEST_P(BuildEchoLineTest, JoinsExpressionAndResult) {
  ExpressionBuffer expression;
  LoadText(GetParam().expression, expression);
  ResultTextBuffer result;
  LoadText(GetParam().result, result);
  EchoLineBuffer echo;
  BuildEchoLine(expression, result, echo);
  EXPECT_EQ(echo.View(), GetParam().expected);
  EXPECT_EQ(echo.CString()[echo.Length()], '\0');
}

INSTANTIATE_TEST_SUITE_P(Cases, BuildEchoLineTest,
                         testing::ValuesIn<EchoCase>({
                             {"2*(3+4)", "14", "2*(3+4)=14"},
                             {"5/0", "ERROR", "5/0=ERROR"},
                             {"--5", " +5", "--5= +5"},
                             {"1+2", "", "1+2="},
                             {std::string(kReadLimit, '1'), std::string(kResultCapacity, '2'),
                              std::string(kReadLimit, '1') + "=" +
                                  std::string(kResultCapacity, '2')},
                         }));

TEST(ClearOutputsTest, EmptiesResultAndEchoLine) {
  EchoLineBuffer echo;
  LoadText("1+1=2", echo);
  LoadText("2", ResultText());
  ClearOutputs(echo);
  EXPECT_EQ(echo.Length(), 0U);
  EXPECT_EQ(ResultText().Length(), 0U);
}

}  // namespace
}  // namespace intcalc
