#include "eval/precedence.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "support/quiet_watcher.h"
#include "text/result_text.h"

namespace intcalc {
namespace {

// Tables: operands and operators as the flat reader lays them out.
EvaluationTables Tables(std::initializer_list<Magnitude> operands,
                        std::initializer_list<OperatorCode> codes) {
  const std::vector<Magnitude> values(operands);
  EvaluationTables tables;
  for (const OperatorCode code : codes)
    tables.operators.codes[tables.operators.count++] = code;
  for (std::uint32_t k = 0; k <= tables.operators.count; ++k)
    tables.pairs.pairs[k].left = {kPositive, values[k]};
  return tables;
}

TEST(ResolveItTest, WorkedExampleLeavesTheTablesAsDescribed) {
  // 1+2*3*4-5, told, as only a watcher reads the consumed marks and the values handed on
  EvaluationTables tables =
      Tables({1, 2, 3, 4, 5}, {OperatorCode::kAdd, OperatorCode::kMultiply, OperatorCode::kMultiply,
                               OperatorCode::kSubtract});
  SignedMagnitude value;
  ResultTextBuffer result;
  QuietWatcher watcher;
  ASSERT_EQ(ResolveIt(tables, value, result, {&watcher, Scope::kExpression}), Outcome::kSuccess);
  EXPECT_EQ(result.View(), "20");
  EXPECT_EQ(tables.operators.codes[1], OperatorCode::kNone);
  EXPECT_EQ(tables.operators.codes[2], OperatorCode::kNone);
  EXPECT_EQ(tables.operators.codes[0], OperatorCode::kAdd);  // weak operators are not cleared
  EXPECT_EQ(tables.pairs.pairs[3].left.magnitude, 25U);
  EXPECT_EQ(value.magnitude, 20U);
}

TEST(ResolveItTest, StopsAtTheFirstFailure) {
  // 1+2/0*3: the division fails before anything else is applied
  EvaluationTables tables =
      Tables({1, 2, 0, 3}, {OperatorCode::kAdd, OperatorCode::kDivide, OperatorCode::kMultiply});
  SignedMagnitude value;
  ResultTextBuffer result;
  EXPECT_EQ(ResolveIt(tables, value, result, {}), Outcome::kFailure);
  EXPECT_EQ(result.View(), kErrorWord);
  EXPECT_EQ(tables.operators.codes[2], OperatorCode::kMultiply);
  EXPECT_EQ(tables.pairs.pairs[2].left.magnitude, 0U);
}

}  // namespace
}  // namespace intcalc
