#include "eval/parentheses.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/calculate.h"
#include "support/case_name.h"

namespace intcalc {
namespace {

// The specified limit of a group's inner text, kept here so that a wrong one in the
// program shows.
constexpr std::size_t kGroupLimit = 80;

struct ExpressionCase {
  std::string name;
  std::string expression;
  std::string expected;
};

class ResolveParenthesesTest : public testing::TestWithParam<ExpressionCase> {};

TEST_P(ResolveParenthesesTest, GivesTheResultText) {
  EXPECT_EQ(Calculate(GetParam().expression), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Groups, ResolveParenthesesTest,
                         testing::ValuesIn<ExpressionCase>({
                             {"PromptExample", "-2+3*(7-2*8)", "-29"},
                             {"TwoGroups", "(2+3)*(4+5)", "45"},
                             {"DoubleGroup", "((2+3))", "5"},
                             {"DeepGroup", "(((((1+1)))))", "2"},
                             {"NestedGroups", "(1+(2*(3+(4*5))))", "47"},
                             {"PlainNumber", "(5)", "5"},
                             {"NegativeGroup", "2*(-3)", "-6"},
                             {"SubtractNegativeGroup", "3-(-5)", "8"},
                             {"SignedLoneGroup", "(+5)", "+5"},
                             {"LeftToRightAtOneDepth", "(8/2)/(2*1)", "2"},
                             {"GroupAtTheLimit", "(4294967295)+0", "4294967295"},
                         }),
                         CaseName());

INSTANTIATE_TEST_SUITE_P(
    Failures, ResolveParenthesesTest,
    testing::ValuesIn<ExpressionCase>({
        {"EmptyGroup", "()", "ERROR"},
        {"LetterGroup", "(a)", "ERROR"},
        {"SignGroup", "(-)", "ERROR"},
        {"Unclosed", "(2+3", "ERROR"},
        {"OpenAtTheEnd", "2+(", "ERROR"},
        {"NestedOpenAtTheEnd", "(1+(", "ERROR"},
        {"OperatorFirst", "(*5)", "ERROR"},
        {"Unopened", "2+3)", "ERROR"},
        {"OverflowInsideIsError", "(65536*65536)", "ERROR"},
        {"OverflowOutsideIsOverflow", "65536*65536", "OVERFLOW"},
        {"DivisionByZeroInside", "(5/0)", "ERROR"},
        {"TooManyDigits", "1+(123456789012345678901)", "ERROR"},
        {"TwentyDigitsStrip", "(12345678901234567890)", "12345678901234567890"},
        {"TwoSignsInside", "(--)", "ERROR"},
        {"BlankFirstIsNotANumber", "((--5)+1)", "ERROR"},
        {"LetterFirstIsNotANumber", "(a1)", "ERROR"},
        {"TooManyDigitsBeforeAnOperator", "(123456789012345678901+1)", "ERROR"},
        {"TwentyDigitsSignedStrip", "(-12345678901234567890)", "-1234567890123456789"},
        {"PlusZeroStrips", "(+0)", "+0"},
        {"LetterAfterADigitIsEvaluated", "(1a)", "ERROR"},
    }),
    CaseName());

INSTANTIATE_TEST_SUITE_P(Rewriting, ResolveParenthesesTest,
                         testing::ValuesIn<ExpressionCase>({
                             {"StrippedJoinsLeft", "2(3)", "23"},
                             {"StrippedJoinsRight", "(3)4", "34"},
                             {"SplicedGroupsJoin", "(1+2)(3+4)", "37"},
                             {"SplicedThenStripped", "(1-5)(2)", "-42"},
                             {"SignedGroupJoinsAsOperator", "2(-3)", "-1"},
                             {"NegatedGroup", "-(-5)", " +5"},
                             {"SplicedBlankFails", "(--5)", "ERROR"},
                             {"SplicedBlankFailsLater", "3*(--5)", "ERROR"},
                             {"StripRemovesSplicedBlank", "(--5)+(1)", "6"},
                             {"SplicedBlankStays", "(--5)+1", "ERROR"},
                             {"ASpliceAfterALongText",  // 113 characters
                              "1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+"
                              "1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+(1+1)",
                              "56"},
                         }),
                         CaseName());

TEST(ResolveParenthesesLimitTest, GroupOfEightyCharactersIsEvaluated) {
  std::string inner = "01";  // leading zero: an even length
  for (int ones = 1; ones < 40; ++ones)
    inner += "+1";  // 40 ones in 80 characters
  ASSERT_EQ(inner.size(), kGroupLimit);
  EXPECT_EQ(Calculate("(" + inner + ")"), "40");
}

TEST(ResolveParenthesesLimitTest, LongerGroupIsAnErrorNotATruncation) {
  std::string inner = "01";
  while (inner.size() < kGroupLimit)
    inner += "+1";
  inner += "0";  // 81 characters, whose first 80 would be a sound group
  EXPECT_EQ(Calculate("(" + inner + ")"), "ERROR");
  EXPECT_EQ(Calculate(inner), "49");
}

}  // namespace
}  // namespace intcalc
