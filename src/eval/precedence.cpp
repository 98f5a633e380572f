#include "eval/precedence.h"

#include "eval/arithmetic.h"

namespace intcalc {

namespace {

constexpr bool IsLive(OperatorCode code) {
  return code != OperatorCode::kNone;
}

// NextLive: the nearest live operator right of k, or kNoOperator when there is none.
std::uint32_t NextLive(const OperatorList& operators, std::uint32_t k) {
  for (std::uint32_t j = k + 1; j < operators.count; ++j) {
    if (IsLive(operators.codes[j])) return j;
  }
  return kNoOperator;
}

// Resolve: ResolveIt's passes, built twice from this one text: told, each step is told to
// the watcher; untold, there is nothing to tell and no test of whether to. The passes run
// for every operator: with one build, the program runs 2.9% more instructions on
// bench/batch's expressions than with no trace points at all; with two, 1.8%.
template <bool kTold>
Outcome Resolve(EvaluationTables& tables, SignedMagnitude& value, ResultTextBuffer& result,
                Watch watch) {
  OperatorList& operators = tables.operators;
  std::array<OperandPair, PairList::kCapacity + 1>& pairs = tables.pairs.pairs;
  const std::uint32_t count = operators.count;
  // Told: the application of operator k, its operands and the value it gave.
  [[maybe_unused]] const auto told = [&](Pass pass, std::uint32_t k, OperatorCode code,
                                         std::uint32_t left, std::uint32_t right) {
    return Application{pass, k, code, pairs[k], value, left, right};
  };

  // Pass 1: each strong operator is applied and consumed, and its value handed to the
  // nearest live neighbours on both sides, so a chain carries its running value rightwards.
  // Every strong operator left of k is consumed by then, so the nearest live one on the
  // left is the latest weak one; none on the right is consumed yet, so that is k + 1, and
  // its left half is operator k's right operand. Only a watcher reads a right half.
  std::uint32_t firstWeak = kNoOperator;
  std::uint32_t latestWeak = kNoOperator;
  for (std::uint32_t k = 0; k < count; ++k) {
    const OperatorCode code = operators.codes[k];
    if (!IsStrong(code)) {
      if (firstWeak == kNoOperator) firstWeak = k;
      latestWeak = k;
      continue;
    }
    const SignedMagnitude right = pairs[k + 1].left;
    if (ApplyOperator(pairs[k].left, right, code, value, result) == Outcome::kFailure) {
      if constexpr (kTold) {
        Tell(watch.watcher, &EvaluationWatcher::NotApplied, watch.scope,
             told(Pass::kStrong, k, code, kNoOperator, kNoOperator), result);
      }
      return Outcome::kFailure;
    }
    operators.codes[k] = OperatorCode::kNone;
    pairs[k + 1].left = value;
    const std::uint32_t handedRight = k + 1 < count ? k + 1 : kNoOperator;
    if constexpr (kTold) {
      if (latestWeak != kNoOperator) pairs[latestWeak].right = value;
      Tell(watch.watcher, &EvaluationWatcher::Applied, watch.scope,
           told(Pass::kStrong, k, code, latestWeak, handedRight), tables);
    }
    if (latestWeak == kNoOperator && handedRight == kNoOperator) {  // none live anywhere
      (void)FormatResult(value, result);  // a value always fits the result text
      return Outcome::kSuccess;
    }
  }

  // Pass 2: only weak operators are live; each takes its right operand from the next live
  // one's left half, or from the record past the last operator, and hands its value there.
  for (std::uint32_t k = firstWeak; k < count;) {
    const OperatorCode code = operators.codes[k];
    const std::uint32_t handedRight = NextLive(operators, k);
    SignedMagnitude& next = pairs[handedRight == kNoOperator ? count : handedRight].left;
    if (ApplyOperator(pairs[k].left, next, code, value, result) == Outcome::kFailure) {
      if constexpr (kTold) {
        Tell(watch.watcher, &EvaluationWatcher::NotApplied, watch.scope,
             told(Pass::kWeak, k, code, kNoOperator, kNoOperator), result);
      }
      return Outcome::kFailure;
    }
    next = value;
    if constexpr (kTold) {
      Tell(watch.watcher, &EvaluationWatcher::Applied, watch.scope,
           told(Pass::kWeak, k, code, kNoOperator, handedRight), tables);
    }
    if (handedRight == kNoOperator) {
      (void)FormatResult(value, result);  // a value always fits the result text
      return Outcome::kSuccess;
    }
    k = handedRight;
  }

  // Tables the reader builds always reach a final step above; this guards any that do not.
  return FailWith(result, watch, kResolveItErrorWord, "no operator reached the final step");
}

}  // namespace

Outcome ResolveIt(EvaluationTables& tables, SignedMagnitude& value, ResultTextBuffer& result,
                  Watch watch) {
  return watch.watcher != nullptr ? Resolve<true>(tables, value, result, watch)
                                  : Resolve<false>(tables, value, result, watch);
}

}  // namespace intcalc
