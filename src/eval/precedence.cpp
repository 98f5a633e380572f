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
  const std::uint32_t count = operators.count;
  // Told: the application of operator k, its operands and the value it gave.
  [[maybe_unused]] const auto told = [&](Pass pass, std::uint32_t k, OperatorCode code,
                                         std::uint32_t left, std::uint32_t right) {
    return Application{pass, k, code, tables.pairs.pairs[k], value, left, right};
  };

  // Pass 1: each strong operator is applied and consumed, and its value handed to the
  // nearest live neighbours on both sides, so a chain carries its running value rightwards.
  // Every strong operator left of k is consumed by then, so the nearest live one on the
  // left is the latest weak one; none on the right is consumed yet, so that is k + 1.
  std::uint32_t firstWeak = kNoOperator;
  std::uint32_t latestWeak = kNoOperator;
  for (std::uint32_t k = 0; k < count; ++k) {
    const OperatorCode code = operators.codes[k];
    if (!IsStrong(code)) {
      if (firstWeak == kNoOperator) firstWeak = k;
      latestWeak = k;
      continue;
    }
    const OperandPair& pair = tables.pairs.pairs[k];
    if (ApplyOperator(pair.left, pair.right, code, value, result) == Outcome::kFailure) {
      if constexpr (kTold) {
        Tell(watch.watcher, &EvaluationWatcher::NotApplied, watch.scope,
             told(Pass::kStrong, k, code, kNoOperator, kNoOperator), result);
      }
      return Outcome::kFailure;
    }
    operators.codes[k] = OperatorCode::kNone;
    const std::uint32_t left = latestWeak;
    const std::uint32_t right = k + 1 < count ? k + 1 : kNoOperator;
    if (left != kNoOperator) tables.pairs.pairs[left].right = value;
    if (right != kNoOperator) tables.pairs.pairs[right].left = value;
    if constexpr (kTold) {
      Tell(watch.watcher, &EvaluationWatcher::Applied, watch.scope,
           told(Pass::kStrong, k, code, left, right), tables);
    }
    if (left == kNoOperator && right == kNoOperator) {  // none live anywhere
      (void)FormatResult(value, result);                // a value always fits the result text
      return Outcome::kSuccess;
    }
  }

  // Pass 2: only weak operators are live; the running value moves right, from each to the
  // next live one.
  for (std::uint32_t k = firstWeak; k < count;) {
    const OperatorCode code = operators.codes[k];
    const OperandPair& pair = tables.pairs.pairs[k];
    if (ApplyOperator(pair.left, pair.right, code, value, result) == Outcome::kFailure) {
      if constexpr (kTold) {
        Tell(watch.watcher, &EvaluationWatcher::NotApplied, watch.scope,
             told(Pass::kWeak, k, code, kNoOperator, kNoOperator), result);
      }
      return Outcome::kFailure;
    }
    const std::uint32_t right = NextLive(operators, k);
    if (right != kNoOperator) tables.pairs.pairs[right].left = value;
    if constexpr (kTold) {
      Tell(watch.watcher, &EvaluationWatcher::Applied, watch.scope,
           told(Pass::kWeak, k, code, kNoOperator, right), tables);
    }
    if (right == kNoOperator) {
      (void)FormatResult(value, result);  // a value always fits the result text
      return Outcome::kSuccess;
    }
    k = right;
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
