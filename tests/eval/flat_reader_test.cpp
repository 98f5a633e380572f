#include "eval/flat_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/case_name.h"
#include "support/load_text.h"
#include "support/quiet_watcher.h"
#include "text/result_text.h"

namespace intcalc {
namespace {

// Flat: one flat evaluation of `text` as a whole expression, told to `watcher`; its
// outcome, and its result text in `result`.
Outcome Flat(std::string_view text, ResultTextBuffer& result, EvaluationWatcher* watcher = {}) {
  static Evaluation evaluation;
  LoadText(text, evaluation.working);
  evaluation.watcher = watcher;
  const Outcome outcome = EvaluateFlat(evaluation, Scope::kExpression);
  CopyText(evaluation.result, result);
  return outcome;
}

struct EvaluateCase {
  std::string name;
  std::string text;
  std::string expected;
};

class EvaluateFlatTest : public testing::TestWithParam<EvaluateCase> {};

TEST_P(EvaluateFlatTest, LeavesTheResultText) {
  ResultTextBuffer result;
  LoadText("left over", result);
  const Outcome outcome = Flat(GetParam().text, result);
  EXPECT_EQ(result.View(), GetParam().expected);
  const std::string_view expected = GetParam().expected;
  const bool failed = expected == kErrorWord || expected == kOverflowWord;
  EXPECT_EQ(outcome, failed ? Outcome::kFailure : Outcome::kSuccess);
}

INSTANTIATE_TEST_SUITE_P(LoneOperands, EvaluateFlatTest,
                         testing::ValuesIn<EvaluateCase>({
                             {"Digit", "5", "5"},
                             {"LeadingZerosKept", "007", "007"},
                             {"NegativeZero", "-0", "-0"},
                             {"PlusSign", "+5", "+5"},
                             {"OutOfRangeShownAsTyped", "99999999999", "99999999999"},
                             {"TwentyDigits", "12345678901234567890", "12345678901234567890"},
                             {"TwentyOneDigits", "123456789012345678901", "ERROR"},
                             {"CutToTwentyCharacters", "-12345678901234567890",
                              "-1234567890123456789"},
                             {"DoubledSignLeavesABlank", "--5", " +5"},
                             {"MixedSignsFold", "+-5", " -5"},
                             {"TripleSign", "---5", "ERROR"},
                             {"TripleMixedSign", "-+-5", "ERROR"},
                             {"TwoSignsOnly", "+-", "ERROR"},
                             {"LoneMinus", "-", "ERROR"},
                             {"LonePlus", "+", "ERROR"},
                             {"Letter", "a", "ERROR"},
                             {"Tab", "1\t", "ERROR"},
                             {"LeadingBlank", " 5", "ERROR"},
                             {"Empty", "", "ERROR"},
                         }),
                         CaseName());

INSTANTIATE_TEST_SUITE_P(Reading, EvaluateFlatTest,
                         testing::ValuesIn<EvaluateCase>({
                             {"OperatorAtTheEnd", "3+", "ERROR"},
                             {"UnknownCharacter", "1+a", "ERROR"},
                             {"UnopenedParenthesis", "2+3)", "ERROR"},
                             {"FoldedSignsThenExpression", "-+5*2", "-10"},
                             {"MinusMinus", "2--3", "5"},
                             {"PlusMinus", "2+-3", "-1"},
                             {"TimesMinus", "2*-3", "-6"},
                             {"BareSignIsZero", "3*--5", "-5"},
                             {"BareSignInSubtraction", "2---3", "-1"},
                             {"OperandPastTheLimit", "99999999999+0", "OVERFLOW"},
                             {"LargestOperand", "4294967295+0", "4294967295"},
                             {"SmallestOperandPastTheLimit", "4294967296+0", "OVERFLOW"},
                             {"ConvertedAsSoonAsRead", "99999999999+a", "OVERFLOW"},
                             {"ReadErrorBeforeLaterOverflow", "1+a+99999999999", "ERROR"},
                             {"ReadBeforeApplied", "65536*65536+a", "ERROR"},
                             {"ConversionBeforeDivision", "1/0*99999999999", "OVERFLOW"},
                             {"LeadingZerosCountTowardTheLimit", "000000000000000000001+1",
                              "ERROR"},
                             {"TwentyDigitsWithLeadingZeros", "00000000000000000001+1", "2"},
                             {"TwentyDigitsPastTheLimit", "00000000004294967296+1", "OVERFLOW"},
                             {"RemainderOperator", "7\\3", "1"},
                         }),
                         CaseName());

INSTANTIATE_TEST_SUITE_P(Precedence, EvaluateFlatTest,
                         testing::ValuesIn<EvaluateCase>({
                             {"SubtractionLeftToRight", "2-3-4", "-5"},
                             {"DivisionLeftToRight", "8/2/2", "2"},
                             {"StrongBeforeWeak", "2*3+4*5", "26"},
                             {"StrongInTheMiddle", "2-3*4+5", "-5"},
                             {"TruncationOrder", "100/7*7", "98"},
                             {"PromptExampleFlattened", "-2+3*-9", "-29"},
                             {"ChainBetweenWeak", "1+2*3*4-5", "20"},
                             {"StrongChainThenWeak", "2*3*4+1", "25"},
                             {"WeakThenStrongChain", "1+2*3*4", "25"},
                             {"AlternatingLevels", "1+2*3-4/2+5\\3", "7"},
                             {"DivisionByZero", "5/0", "ERROR"},
                             {"RemainderByZeroAfterWeak", "1+2\\0", "ERROR"},
                             {"ProductOverflow", "65536*65536", "OVERFLOW"},
                             {"SumOverflow", "4294967295+1", "OVERFLOW"},
                             {"LargestDifference", "4294967295-4294967295", "0"},
                             {"NegativeLimit", "0-4294967295-0", "-4294967295"},
                             {"NegativeOverflow", "0-4294967295-1", "OVERFLOW"},
                             {"StrongFailureFirst", "4294967295+1+5/0", "ERROR"},
                             {"WeakOverflowThenRecovery", "4294967295+1-2", "OVERFLOW"},
                             {"NegativeZeroPrintsAsZero", "0*-5", "0"},
                             {"ZeroDifference", "-5+5", "0"},
                         }),
                         CaseName());

INSTANTIATE_TEST_SUITE_P(Conversion, EvaluateFlatTest,
                         testing::ValuesIn<EvaluateCase>({
                             {"Zero", "0+0", "0"},
                             {"OneDigit", "7+0", "7"},
                             {"NineDigits", "123456789+0", "123456789"},
                             {"TheLargest", "4294967295-0", "4294967295"},
                             {"OnePastTheLargest", "4294967296+0", "OVERFLOW"},
                             {"PastTheLargestInTheLastDigit", "4294967300+0", "OVERFLOW"},
                             {"ElevenDigits", "42949672950+0", "OVERFLOW"},
                             {"WrapsSixtyFourBits", "18446744073709551621+0", "OVERFLOW"},
                             {"LastOperandPastTheLimit", "0+4294967296", "OVERFLOW"},
                             {"MiddleOperandPastTheLimit", "0+4294967296+0", "OVERFLOW"},
                         }),
                         CaseName());

// FailureWatcher: keeps where the reader stopped when a step failed.
// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor)
class FailureWatcher final : public QuietWatcher {
 public:
  void Failed(Scope /*scope*/, TextView /*word*/, std::string_view /*why*/,
              std::string_view at) override {
    at_ = at;
  }

  std::string at_;
};

struct StopCase {
  std::string name;
  std::string text;
  std::string at;  // where reading stopped: the operand that failed, and what follows it
};

class ReadingStopsTest : public testing::TestWithParam<StopCase> {};

TEST_P(ReadingStopsTest, AtTheOperandThatFailed) {
  FailureWatcher watcher;
  ResultTextBuffer result;
  EXPECT_EQ(Flat(GetParam().text, result, &watcher), Outcome::kFailure);
  EXPECT_EQ(watcher.at_, GetParam().at);
}

INSTANTIATE_TEST_SUITE_P(Reading, ReadingStopsTest,
                         testing::ValuesIn<StopCase>({
                             {"FirstOperand", "*2", "*2"},
                             {"LaterOperand", "1+2+a", "a"},
                             {"OperatorLast", "1+2*", "2*"},
                             {"NotAnOperator", "12=3", "12=3"},
                             {"SignOnly", "5+-", "-"},
                             {"TwentyOneDigits", "1+123456789012345678901",
                              "123456789012345678901"},
                             {"OverflowShowsTheDigits", "7+00004294967296", "4294967296"},
                         }),
                         CaseName());

}  // namespace
}  // namespace intcalc
