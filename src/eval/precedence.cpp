#include "eval/precedence.h"

#include "eval/arithmetic.h"

namespace intcalc {

namespace {

// Passed: how a pass ended: an operator failed, the final step was taken, or neither.
enum class Passed : std::uint8_t { kFailed, kFinal, kNotFinal };

// Told: the application of operator k, its operands and the value it gave, for a watcher.
Application Told(const EvaluationTables& tables, Pass pass, std::uint32_t k, OperatorCode code,
                 SignedMagnitude value, std::uint32_t left, std::uint32_t right) {
  return Application{pass, k, code, tables.pairs.pairs[k], value, left, right};
}

// The passes are built twice from this one text: told, each step is told to the watcher;
// untold, there is nothing to tell and no test of whether to. The passes run for every
// operator: with one build, the program runs 2.9% more instructions on bench/batch's
// expressions than with no trace points at all; with two, 1.8%. Untold, they also leave
// out what only a watcher reads: the consumed marks and the values the weak pass hands on,
// whose running value stays in a register. The running value goes to `value` at the end.

// StrongPass: each strong operator is applied and consumed, and its value handed to the
// nearest live neighbours on both sides, so a chain carries its running value rightwards.
// Every strong operator left of k is consumed by then, so the nearest live one on the left
// is the latest weak one; none on the right is consumed yet, so that is k + 1, and its left
// half is operator k's right operand. Only a watcher reads a right half or a consumed
// mark. It lists the weak operators as it meets them (OperatorList::nextWeak, whose head is
// the entry at kNoOperator, where the weak pass begins); without a weak one, the last
// value is the final one.
template <bool kTold>
Passed StrongPass(EvaluationTables& tables, SignedMagnitude& value, ResultTextBuffer& result,
                  Watch watch) {
  OperatorList& operators = tables.operators;
  std::array<OperandPair, PairList::kCapacity + 1>& pairs = tables.pairs.pairs;
  const std::uint32_t count = operators.count;
  std::uint32_t latestWeak = kNoOperator;
  SignedMagnitude running = value;
  for (std::uint32_t k = 0; k < count; ++k) {
    const OperatorCode code = operators.codes[k];
    if (!IsStrong(code)) {
      operators.nextWeak[latestWeak] = static_cast<std::uint8_t>(k);
      latestWeak = k;
      continue;
    }
    if (ApplyOperator(pairs[k].left, pairs[k + 1].left, code, running, result) ==
        Outcome::kFailure) {
      if constexpr (kTold) {
        Tell(watch.watcher, &EvaluationWatcher::NotApplied, watch.scope,
             Told(tables, Pass::kStrong, k, code, running, kNoOperator, kNoOperator), result);
      }
      return Passed::kFailed;
    }
    pairs[k + 1].left = running;
    if constexpr (kTold) {
      value = running;
      operators.codes[k] = OperatorCode::kNone;
      if (latestWeak != kNoOperator) pairs[latestWeak].right = running;
      const std::uint32_t handedRight = k + 1 < count ? k + 1 : kNoOperator;
      Tell(watch.watcher, &EvaluationWatcher::Applied, watch.scope,
           Told(tables, Pass::kStrong, k, code, running, latestWeak, handedRight), tables);
    }
  }
  value = running;
  if (latestWeak == kNoOperator) return count > 0 ? Passed::kFinal : Passed::kNotFinal;
  operators.nextWeak[latestWeak] = static_cast<std::uint8_t>(count);
  return Passed::kNotFinal;
}

// WeakPass: only weak operators are live, each in the strong pass's list; each takes its
// left operand from its own left half, where the value before it was handed, and its
// right operand from the next live one's left half, or from the record past the last
// operator, and hands its value there.
template <bool kTold>
Passed WeakPass(EvaluationTables& tables, SignedMagnitude& value, ResultTextBuffer& result,
                Watch watch) {
  const OperatorList& operators = tables.operators;
  std::array<OperandPair, PairList::kCapacity + 1>& pairs = tables.pairs.pairs;
  const std::uint32_t count = operators.count;
  std::uint32_t k = operators.nextWeak[kNoOperator];  // read at once, used only past the test
  if (count == 0) return Passed::kNotFinal;           // no operator, and no list
  SignedMagnitude running = pairs[k].left;
  while (true) {
    const OperatorCode code = operators.codes[k];
    const std::uint32_t right = operators.nextWeak[k];
    const SignedMagnitude left = running;
    if (ApplyOperator(left, pairs[right].left, code, running, result) == Outcome::kFailure) {
      if constexpr (kTold) {
        Tell(watch.watcher, &EvaluationWatcher::NotApplied, watch.scope,
             Told(tables, Pass::kWeak, k, code, value, kNoOperator, kNoOperator), result);
      }
      return Passed::kFailed;
    }
    if constexpr (kTold) {
      value = running;
      pairs[right].left = running;
      Tell(watch.watcher, &EvaluationWatcher::Applied, watch.scope,
           Told(tables, Pass::kWeak, k, code, running, kNoOperator,
                right < count ? right : kNoOperator),
           tables);
    }
    if (right == count) break;
    k = right;
  }
  value = running;
  return Passed::kFinal;
}

// Passes: both passes, told or untold; how they ended.
template <bool kTold>
Passed Passes(EvaluationTables& tables, SignedMagnitude& value, ResultTextBuffer& result,
              Watch watch) {
  const Passed passed = StrongPass<kTold>(tables, value, result, watch);
  return passed == Passed::kNotFinal ? WeakPass<kTold>(tables, value, result, watch) : passed;
}

}  // namespace

Outcome ResolveIt(EvaluationTables& tables, SignedMagnitude& value, ResultTextBuffer& result,
                  Watch watch) {
  const Passed passed = watch.watcher != nullptr ? Passes<true>(tables, value, result, watch)
                                                 : Passes<false>(tables, value, result, watch);
  switch (passed) {
    case Passed::kFailed:
      return Outcome::kFailure;
    case Passed::kFinal:
      (void)FormatResult(value, result);  // a value always fits the result text
      return Outcome::kSuccess;
    case Passed::kNotFinal:
      break;
  }
  // Tables the reader builds always reach a final step above; this guards any that do not.
  return FailWith(result, watch, kResolveItErrorWord, "no operator reached the final step");
}

}  // namespace intcalc
