// Trace points: what the evaluator tells, as it works, to whoever watches it.
//
// The points sit in the code that computes, so what a watcher is told is what happened.
// Nobody watches unless the diagnostics ask to; then each point costs one test of a
// pointer. A watcher is told what changed and reads the shared tables and texts itself.
#pragma once

#include <cstdint>
#include <string_view>
#include <type_traits>

#include "eval/evaluation_tables.h"
#include "text/result_text.h"

namespace intcalc {

// The two passes of ResolveIt: the strong operators, then the weak ones.
enum class Pass : std::uint8_t { kStrong, kWeak };

// How a group leaves the working text: a plain number loses its parentheses; an
// expression's value replaces it.
enum class Rewrite : std::uint8_t { kStripped, kSpliced };

// EvaluationWatcher: the events, in the order they happen for one expression. Few are
// told per operator, as those are the ones that cost while nobody watches.
class EvaluationWatcher {
 public:
  virtual void ExpressionBegins(TextView working) = 0;
  virtual void GroupFound(TextView working, GroupBounds group, GroupKind kind) = 0;
  // A group's own evaluation ended; on success the result text holds its value.
  virtual void GroupEvaluated(Outcome outcome) = 0;
  virtual void GroupRewritten(TextView working, Rewrite rewrite) = 0;
  virtual void SignsFolded(TextView text) = 0;
  virtual void LoneOperand() = 0;  // the result text holds the operand as typed
  virtual void TablesRead() = 0;   // the operator and pair tables as read
  // Operator k, whose code was `code`, was applied in `pass`: ArithmeticResult holds the
  // value, handed on to the operators `left` and `right`, either of which may be
  // kNoOperator.
  virtual void Applied(Pass pass, std::uint32_t k, OperatorCode code, std::uint32_t left,
                       std::uint32_t right) = 0;
  // The word, just written to the result text, and why; `at`, when not empty, is the
  // text where reading stopped.
  virtual void Failed(TextView word, std::string_view why, std::string_view at) = 0;
  // Operator k failed in `pass`: the failure just told was its own.
  virtual void NotApplied(Pass pass, std::uint32_t k) = 0;
  virtual void ExpressionEnds(Outcome outcome) = 0;

 protected:
  EvaluationWatcher() = default;
  ~EvaluationWatcher() = default;
  EvaluationWatcher(const EvaluationWatcher&) = default;
  EvaluationWatcher& operator=(const EvaluationWatcher&) = default;
  EvaluationWatcher(EvaluationWatcher&&) = default;
  EvaluationWatcher& operator=(EvaluationWatcher&&) = default;
};

// Watcher: who watches the evaluation now; nobody when null.
inline EvaluationWatcher*& Watcher() {
  static constinit EvaluationWatcher* watcher = nullptr;
  return watcher;
}

// TellWatcher: the call of one event, kept out of line and out of the way: were the
// compiler to inline the only watcher there is into the evaluator, the evaluator would
// grow and run slower while nobody watches.
template <typename... Parameters>
[[gnu::noinline, gnu::cold]] void TellWatcher(EvaluationWatcher& watcher,
                                              void (EvaluationWatcher::*event)(Parameters...),
                                              Parameters... arguments) {
  (watcher.*event)(arguments...);
}

// Tell: tells the watcher of an event, if anyone watches. The arguments arrive as the
// event's own parameters, by value: a text buffer handed over as a TextView, not by its
// address, which would keep the compiler from passing a caller's buffer in registers.
template <typename... Parameters>
inline void Tell(void (EvaluationWatcher::*event)(Parameters...),
                 std::type_identity_t<Parameters>... arguments) {
  if (EvaluationWatcher* const watcher = Watcher(); watcher != nullptr) [[unlikely]] {
    TellWatcher(*watcher, event, arguments...);
  }
}

// FailWith: how a step that owns a failure reports it: the word into the result text, the
// word and why to whoever watches, then the failure. Out of line and cold, as failures
// are rare: inlined at every step that may fail, it would crowd the steps that succeed.
[[gnu::noinline, gnu::cold]] inline Outcome FailWith(TextView word, std::string_view why,
                                                     std::string_view at = {}) {
  SetResultText(word);
  Tell(&EvaluationWatcher::Failed, word, why, at);
  return Outcome::kFailure;
}

}  // namespace intcalc
