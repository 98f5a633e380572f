#include "eval/arithmetic.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "support/case_name.h"
#include "support/load_text.h"
#include "text/result_text.h"

namespace intcalc {
namespace {

constexpr Magnitude kLargest = 4294967295U;

struct ApplyCase {
  std::string name;
  SignFlag leftSign;
  Magnitude leftMagnitude;
  OperatorCode code;
  SignFlag rightSign;
  Magnitude rightMagnitude;
  std::string_view word;  // empty when the step succeeds
  SignFlag sign;
  Magnitude magnitude;
};

constexpr SignFlag kPlus = kPositive;
constexpr SignFlag kMinus = kNegative;
constexpr OperatorCode kSub = OperatorCode::kSubtract;
constexpr OperatorCode kAdd = OperatorCode::kAdd;
constexpr OperatorCode kMul = OperatorCode::kMultiply;
constexpr OperatorCode kDiv = OperatorCode::kDivide;
constexpr OperatorCode kRem = OperatorCode::kRemainder;

class ApplyOperatorTest : public testing::TestWithParam<ApplyCase> {};

TEST_P(ApplyOperatorTest, ComputesOrFailsWithItsWord) {
  const ApplyCase& step = GetParam();
  ResultTextBuffer result;
  LoadText("untouched", result);
  SignedMagnitude value{kMinus, 12345};
  const Outcome outcome =
      ApplyOperator({step.leftSign, step.leftMagnitude}, {step.rightSign, step.rightMagnitude},
                    step.code, value, result);
  if (step.word.empty()) {
    ASSERT_EQ(outcome, Outcome::kSuccess);
    EXPECT_EQ(value.sign, step.sign);
    EXPECT_EQ(value.magnitude, step.magnitude);
    EXPECT_EQ(result.View(), "untouched");
  } else {
    EXPECT_EQ(outcome, Outcome::kFailure);
    EXPECT_EQ(result.View(), step.word);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplyOperatorTest,
    testing::ValuesIn<ApplyCase>({
        {"SumAtTheLimit", kPlus, kLargest, kAdd, kPlus, 0, "", kPlus, kLargest},
        {"SumPastTheLimit", kPlus, kLargest, kAdd, kPlus, 1, kOverflowWord, 0, 0},
        {"NegativeSumPastTheLimit", kMinus, kLargest, kSub, kPlus, 1, kOverflowWord, 0, 0},
        {"NegativeSumAtTheLimit", kMinus, kLargest - 1, kSub, kPlus, 1, "", kMinus, kLargest},
        {"DifferenceTakesTheLargerSign", kPlus, 10, kSub, kPlus, 20, "", kMinus, 10},
        {"EqualDifferenceKeepsLeftSign", kPlus, 5, kSub, kPlus, 5, "", kPlus, 0},
        {"NegativeZeroFromAddition", kMinus, 5, kAdd, kPlus, 5, "", kMinus, 0},
        {"SubtractingNegative", kPlus, 2, kSub, kMinus, 3, "", kPlus, 5},
        {"AddingNegative", kPlus, 2, kAdd, kMinus, 3, "", kMinus, 1},
        {"LargestDifference", kPlus, 0, kSub, kPlus, kLargest, "", kMinus, kLargest},
        {"NoDifferenceOverflows", kMinus, kLargest, kSub, kMinus, kLargest, "", kMinus, 0},
        {"ProductAtTheLimit", kPlus, 65535, kMul, kPlus, 65537, "", kPlus, kLargest},
        {"ProductPastTheLimit", kPlus, 65536, kMul, kPlus, 65536, kOverflowWord, 0, 0},
        {"LargestProductPastTheLimit", kPlus, kLargest, kMul, kMinus, kLargest, kOverflowWord, 0,
         0},
        {"ProductSign", kMinus, 2, kMul, kPlus, 3, "", kMinus, 6},
        {"ZeroProductKeepsTheSign", kPlus, 0, kMul, kMinus, 5, "", kMinus, 0},
        {"DivisionTruncates", kMinus, 7, kDiv, kPlus, 2, "", kMinus, 3},
        {"DivisionByNegative", kPlus, 7, kDiv, kMinus, 2, "", kMinus, 3},
        {"DivisionOfNegatives", kMinus, 7, kDiv, kMinus, 2, "", kPlus, 3},
        {"DivisionByZero", kPlus, 5, kDiv, kPlus, 0, kErrorWord, 0, 0},
        {"DivisionByNegativeZero", kPlus, 5, kDiv, kMinus, 0, kErrorWord, 0, 0},
        {"Remainder", kPlus, 7, kRem, kPlus, 2, "", kPlus, 1},
        {"RemainderOfNegative", kMinus, 7, kRem, kPlus, 2, "", kMinus, 1},
        {"RemainderByNegative", kPlus, 7, kRem, kMinus, 2, "", kMinus, 1},
        {"RemainderOfNegatives", kMinus, 7, kRem, kMinus, 2, "", kPlus, 1},
        {"RemainderByZero", kPlus, 1, kRem, kPlus, 0, kErrorWord, 0, 0},
        {"LargestQuotient", kPlus, kLargest, kDiv, kPlus, 1, "", kPlus, kLargest},
    }),
    CaseName());

struct FormatCase {
  SignFlag sign;
  Magnitude magnitude;
  std::string_view expected;
  bool narrow = false;  // into a text of four characters rather than the result text
};

class FormatResultTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatResultTest, WritesDecimalTextOrStarsWhereItDoesNotFit) {
  ResultTextBuffer wide;
  TextBuffer<4> narrow;
  const SignedMagnitude value{GetParam().sign, GetParam().magnitude};
  LoadText("previous text", wide);
  LoadText("previous text", narrow);
  const Outcome outcome =
      GetParam().narrow ? FormatResult(value, narrow) : FormatResult(value, wide);
  const TextSpan destination = GetParam().narrow ? narrow.Span() : wide.Span();
  EXPECT_EQ(destination.View(), GetParam().expected);
  EXPECT_EQ(destination.View().data()[destination.Length()], '\0');
  EXPECT_EQ(outcome, GetParam().expected.starts_with('*') ? Outcome::kFailure : Outcome::kSuccess);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatResultTest,
                         testing::ValuesIn<FormatCase>({
                             {kPlus, 0, "0"},
                             {kMinus, 0, "0"},
                             {kPlus, 7, "7"},
                             {kMinus, 7, "-7"},
                             {kPlus, 10, "10"},
                             {kPlus, 9, "9"},
                             {kMinus, 99, "-99"},
                             {kPlus, 101, "101"},
                             {kPlus, 12345678, "12345678"},
                             {kMinus, 99999999, "-99999999"},
                             {kPlus, 100000000, "100000000"},
                             {kMinus, 100000001, "-100000001"},
                             {kPlus, 999999999, "999999999"},
                             {kPlus, 1000000000, "1000000000"},
                             {kMinus, 1000000009, "-1000000009"},
                             {kPlus, 4200000000, "4200000000"},
                             {kPlus, kLargest, "4294967295"},
                             {kMinus, kLargest, "-4294967295"},
                             {kMinus, 999, "-999", true},  // three digits and a sign fit
                             {kPlus, 1000, "****", true},
                         }));

}  // namespace
}  // namespace intcalc
