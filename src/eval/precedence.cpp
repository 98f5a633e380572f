#include "eval/precedence.h"

#include "eval/arithmetic.h"
#include "text/result_text.h"

namespace intcalc {

namespace {

constexpr bool IsLive(OperatorCode code) {
  return code != OperatorCode::kNone;
}

Outcome ApplyPair(std::uint32_t k) {
  const OperandPair& pair = Pairs().pairs[k];
  return ApplyOperator(pair.leftSign, pair.leftMagnitude, pair.rightSign, pair.rightMagnitude,
                       Operators().codes[k]);
}

Outcome Finish() {
  const SignedMagnitude& value = ArithmeticResult();
  (void)FormatResult(value.sign, value.magnitude, ResultText());  // ten digits always fit
  return Outcome::kSuccess;
}

}  // namespace

bool PropagateLeft(std::uint32_t k) {
  for (std::uint32_t j = k; j-- > 0;) {
    if (IsLive(Operators().codes[j])) {
      Pairs().pairs[j].rightSign = ArithmeticResult().sign;
      Pairs().pairs[j].rightMagnitude = ArithmeticResult().magnitude;
      return true;
    }
  }
  return false;
}

bool PropagateRight(std::uint32_t k) {
  const std::uint32_t count = Operators().count;
  for (std::uint32_t j = k + 1; j < count; ++j) {
    if (IsLive(Operators().codes[j])) {
      Pairs().pairs[j].leftSign = ArithmeticResult().sign;
      Pairs().pairs[j].leftMagnitude = ArithmeticResult().magnitude;
      return true;
    }
  }
  return false;
}

Outcome ResolveIt() {
  OperatorList& operators = Operators();
  const std::uint32_t count = operators.count;

  // Pass 1: each strong operator is applied and consumed, and its value handed to the
  // nearest live neighbours on both sides, so a chain carries its running value rightwards.
  for (std::uint32_t k = 0; k < count; ++k) {
    if (!IsStrong(operators.codes[k])) continue;
    if (ApplyPair(k) == Outcome::kFailure) return Outcome::kFailure;
    operators.codes[k] = OperatorCode::kNone;
    const bool foundLeft = PropagateLeft(k);
    const bool foundRight = PropagateRight(k);
    if (!foundLeft && !foundRight) return Finish();  // no live operator remains anywhere
  }

  // Pass 2: only weak operators are live; the running value moves right.
  for (std::uint32_t k = 0; k < count; ++k) {
    if (!IsLive(operators.codes[k])) continue;
    if (ApplyPair(k) == Outcome::kFailure) return Outcome::kFailure;
    if (!PropagateRight(k)) return Finish();
  }

  return FailWith(kResolveItErrorWord);
}

}  // namespace intcalc
