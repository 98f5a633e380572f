#include "eval/arithmetic.h"

namespace intcalc {

namespace {

constexpr LimitText kSumBeyond{"the sum is beyond ", kLargestMagnitude, ""};
constexpr LimitText kProductBeyond{"the product is beyond ", kLargestMagnitude, ""};

}  // namespace

OperatorFailure FailureOf(OperatorCode code) {
  switch (code) {
    case OperatorCode::kSubtract:
    case OperatorCode::kAdd:
      return {kOverflowWord, kSumBeyond};
    case OperatorCode::kMultiply:
      return {kOverflowWord, kProductBeyond};
    case OperatorCode::kDivide:
      return {kErrorWord, "a division by zero"};
    case OperatorCode::kRemainder:
      return {kErrorWord, "a remainder by zero"};
    case OperatorCode::kNone:
      break;
  }
  return {kErrorWord, "no operator to apply"};
}

Outcome OperatorFailed(ResultTextBuffer& result, OperatorCode code) {
  SetResultText(result, FailureOf(code).word);
  return Outcome::kFailure;
}

}  // namespace intcalc
