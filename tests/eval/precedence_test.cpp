#include "eval/precedence.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "text/result_text.h"

namespace intcalc {
namespace {

// LoadTables: operands and operators as the flat reader lays them out.
void LoadTables(std::initializer_list<Magnitude> operands,
                std::initializer_list<OperatorCode> codes) {
  const std::vector<Magnitude> values(operands);
  Operators().count = 0;
  for (const OperatorCode code : codes)
    Operators().codes[Operators().count++] = code;
  Pairs().count = Operators().count;
  for (std::uint32_t k = 0; k < Operators().count; ++k) {
    Pairs().pairs[k] = {kPositive, values[k], kPositive, values[k + 1]};
  }
}

TEST(ResolveItTest, WorkedExampleLeavesTheTablesAsDescribed) {
  // 1+2*3*4-5
  LoadTables({1, 2, 3, 4, 5}, {OperatorCode::kAdd, OperatorCode::kMultiply, OperatorCode::kMultiply,
                               OperatorCode::kSubtract});
  ASSERT_EQ(ResolveIt(), Outcome::kSuccess);
  EXPECT_EQ(ResultText().View(), "20");
  EXPECT_EQ(Operators().codes[1], OperatorCode::kNone);
  EXPECT_EQ(Operators().codes[2], OperatorCode::kNone);
  EXPECT_EQ(Operators().codes[0], OperatorCode::kAdd);  // weak operators are not cleared
  EXPECT_EQ(Pairs().pairs[0].rightMagnitude, 24U);
  EXPECT_EQ(Pairs().pairs[3].leftMagnitude, 25U);
}

TEST(ResolveItTest, FallsBackWhenNoOperatorReachesTheEnd) {
  LoadTables({}, {});
  EXPECT_EQ(ResolveIt(), Outcome::kFailure);
  EXPECT_EQ(ResultText().View(), kResolveItErrorWord);
}

TEST(ResolveItTest, StopsAtTheFirstFailure) {
  // 1+2/0*3: the division fails before anything else is applied
  LoadTables({1, 2, 0, 3}, {OperatorCode::kAdd, OperatorCode::kDivide, OperatorCode::kMultiply});
  EXPECT_EQ(ResolveIt(), Outcome::kFailure);
  EXPECT_EQ(ResultText().View(), kErrorWord);
  EXPECT_EQ(Operators().codes[2], OperatorCode::kMultiply);
  EXPECT_EQ(Pairs().pairs[2].leftMagnitude, 0U);
}

TEST(PropagateTest, SkipsConsumedOperators) {
  LoadTables({1, 2, 3, 4, 5}, {OperatorCode::kAdd, OperatorCode::kNone, OperatorCode::kNone,
                               OperatorCode::kSubtract});
  ArithmeticResult() = {kNegative, 77};
  EXPECT_EQ(PropagateLeft(2), 0U);
  EXPECT_EQ(Pairs().pairs[0].rightSign, kNegative);
  EXPECT_EQ(Pairs().pairs[0].rightMagnitude, 77U);
  EXPECT_EQ(PropagateRight(1), 3U);
  EXPECT_EQ(Pairs().pairs[3].leftSign, kNegative);
  EXPECT_EQ(Pairs().pairs[3].leftMagnitude, 77U);
  EXPECT_EQ(PropagateLeft(0), kNoOperator);
  EXPECT_EQ(PropagateRight(3), kNoOperator);
}

}  // namespace
}  // namespace intcalc
