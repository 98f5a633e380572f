#include "eval/flat_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/case_name.h"
#include "support/load_text.h"
#include "text/result_text.h"

namespace intcalc {
namespace {

constexpr TextLength kTextCapacity = 123;

struct EvaluateCase {
  std::string name;
  std::string text;
  std::string expected;
};

class EvaluateFlatTest : public testing::TestWithParam<EvaluateCase> {};

TEST_P(EvaluateFlatTest, LeavesTheResultText) {
  TextBuffer<kTextCapacity> text;
  LoadText(GetParam().text, text);
  const Outcome outcome = EvaluateFlat(text);
  EXPECT_EQ(ResultText().View(), GetParam().expected);
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

struct ReadCase {
  std::string name;
  std::string text;
  Outcome outcome;
  std::string digits;
  SignFlag sign;
  OperatorCode code;
  std::string rest;
};

class ReadOperandTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadOperandTest, ReadsSignDigitsAndOperator) {
  TextBuffer<kTextCapacity> text;
  LoadText(GetParam().text, text);
  OperandDigits digits;
  SignFlag sign = kNegative + 1;
  OperatorCode code = OperatorCode::kRemainder;
  std::string_view rest = text.View();
  ASSERT_EQ(ReadOperand(rest, digits, sign, code), GetParam().outcome);
  if (GetParam().outcome == Outcome::kFailure) {
    EXPECT_EQ(rest, GetParam().text);  // left where the operand began
    return;
  }
  EXPECT_EQ(digits.View(), GetParam().digits);
  EXPECT_EQ(sign, GetParam().sign);
  EXPECT_EQ(code, GetParam().code);
  EXPECT_EQ(rest, GetParam().rest);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadOperandTest,
    testing::ValuesIn<ReadCase>({
        {"Digits", "42", Outcome::kSuccess, "42", kPositive, OperatorCode::kNone, ""},
        {"NegativeWithOperator", "-42*7", Outcome::kSuccess, "42", kNegative,
         OperatorCode::kMultiply, "7"},
        {"Plus", "+1/2", Outcome::kSuccess, "1", kPositive, OperatorCode::kDivide, "2"},
        {"Remainder", "9\\2", Outcome::kSuccess, "9", kPositive, OperatorCode::kRemainder, "2"},
        {"SignThenOperator", "--5", Outcome::kSuccess, "", kNegative, OperatorCode::kSubtract, "5"},
        {"LeadingZerosKeptForNow", "007+1", Outcome::kSuccess, "007", kPositive, OperatorCode::kAdd,
         "1"},
        {"TwentyDigits", "12345678901234567890+1", Outcome::kSuccess, "12345678901234567890",
         kPositive, OperatorCode::kAdd, "1"},
        {"TwentyOneDigits", "123456789012345678901", Outcome::kFailure, "", 0, OperatorCode::kNone,
         ""},
        {"Nothing", "", Outcome::kFailure, "", 0, OperatorCode::kNone, ""},
        {"SignOnly", "-", Outcome::kFailure, "", 0, OperatorCode::kNone, ""},
        {"OperatorLast", "1+", Outcome::kFailure, "", 0, OperatorCode::kNone, ""},
        {"NotAnOperator", "1=2", Outcome::kFailure, "", 0, OperatorCode::kNone, ""},
        {"StartsWithOperator", "*2", Outcome::kFailure, "", 0, OperatorCode::kNone, ""},
    }),
    CaseName());

struct MagnitudeCase {
  std::string digits;
  Outcome outcome;
  Magnitude magnitude;
};

class DigitsToMagnitudeTest : public testing::TestWithParam<MagnitudeCase> {};

TEST_P(DigitsToMagnitudeTest, ConvertsWithin32Bits) {
  OperandDigits digits;
  LoadText(GetParam().digits, digits);
  Magnitude magnitude = 12345;
  ASSERT_EQ(DigitsToMagnitude(digits, magnitude), GetParam().outcome);
  if (GetParam().outcome == Outcome::kSuccess) {
    EXPECT_EQ(magnitude, GetParam().magnitude);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, DigitsToMagnitudeTest,
                         testing::ValuesIn<MagnitudeCase>({
                             {"", Outcome::kSuccess, 0},
                             {"0", Outcome::kSuccess, 0},
                             {"7", Outcome::kSuccess, 7},
                             {"123456789", Outcome::kSuccess, 123456789},
                             {"4294967295", Outcome::kSuccess, 4294967295U},
                             {"4294967296", Outcome::kFailure, 0},
                             {"4294967300", Outcome::kFailure, 0},
                             {"42949672950", Outcome::kFailure, 0},
                             {"99999999999999999999", Outcome::kFailure, 0},
                         }));

TEST(MergeLeadingSignsTest, FoldsOnlyWithMoreThanTwoCharacters) {
  TextBuffer<kTextCapacity> text;
  LoadText("-5", text);
  std::string_view rest = text.View();
  EXPECT_EQ(MergeLeadingSigns(text, rest), Outcome::kSuccess);
  EXPECT_EQ(rest, "-5");

  LoadText("-+7", text);
  rest = text.View();
  EXPECT_EQ(MergeLeadingSigns(text, rest), Outcome::kSuccess);
  EXPECT_EQ(text.View(), " -7");
  EXPECT_EQ(rest, "-7");
}

TEST(PushOperatorTest, RefusesTheOperatorPastItsCapacity) {
  Operators().count = 0;
  for (std::uint32_t index = 0; index < OperatorList::kCapacity; ++index) {
    ASSERT_EQ(PushOperator(OperatorCode::kAdd), Outcome::kSuccess);
  }
  EXPECT_EQ(PushOperator(OperatorCode::kAdd), Outcome::kFailure);
  EXPECT_EQ(Operators().count, OperatorList::kCapacity);
}

}  // namespace
}  // namespace intcalc
