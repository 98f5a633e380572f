// Trace points: what the evaluator tells, as it works, to whoever watches it.
//
// The points sit in the code that computes, so what a watcher is told is what happened,
// and each event carries all its facts: a watcher needs to keep nothing between events.
// The watcher is the Evaluation's, handed down with each stage; nobody watches unless the
// diagnostics ask to, and then each point costs one test of a pointer.
#pragma once

#include <cstdint>
#include <string_view>
#include <type_traits>

#include "eval/evaluation_tables.h"
#include "text/result_text.h"

namespace intcalc {

// Scope: what a flat evaluation evaluates: what is left of the whole expression, or the
// content of one group.
enum class Scope : std::uint8_t { kExpression, kGroup };

// The two passes of ResolveIt: the strong operators, then the weak ones.
enum class Pass : std::uint8_t { kStrong, kWeak };

// How a group leaves the working text: a plain number loses its parentheses; an
// expression's value replaces it.
enum class Rewrite : std::uint8_t { kStripped, kSpliced };

// Application: operator k of the tables, applied in `pass` to its pair's operands: on
// success, its value, handed on to the operators `left` and `right` (either may be
// kNoOperator).
struct Application {
  Pass pass = Pass::kStrong;
  std::uint32_t k = 0;
  OperatorCode code = OperatorCode::kNone;
  OperandPair operands;
  SignedMagnitude value;
  std::uint32_t left = kNoOperator;
  std::uint32_t right = kNoOperator;
};

// EvaluationWatcher: the events, in the order they may happen for one expression:
// ExpressionBegins; for each group, GroupFound, then for an expression its own flat
// evaluation in Scope::kGroup and GroupEvaluated, then GroupRewritten; the flat evaluation
// of what is left; ExpressionEnds. A flat evaluation tells SignsFolded, then LoneOperand,
// or TablesRead and an Applied for each operator applied, or a NotApplied for the one that
// failed. Failed comes from the step that wrote an error word, wherever it is.
class EvaluationWatcher {
 public:
  virtual void ExpressionBegins(TextView expression) = 0;
  virtual void GroupFound(TextView working, GroupBounds group, GroupKind kind) = 0;
  // A group's own evaluation ended; `result` holds its value, or the word of its failure.
  virtual void GroupEvaluated(Outcome outcome, TextView result) = 0;
  virtual void GroupRewritten(TextView working, Rewrite rewrite) = 0;
  virtual void SignsFolded(Scope scope, TextView text) = 0;
  // The text was one operand: `result` holds it, as typed, cut to the result text.
  virtual void LoneOperand(Scope scope, TextView text, TextView result) = 0;
  virtual void TablesRead(Scope scope, const EvaluationTables& tables) = 0;
  // An operator was applied; the tables are as it left them.
  virtual void Applied(Scope scope, const Application& application,
                       const EvaluationTables& tables) = 0;
  // An operator failed, with the word it wrote.
  virtual void NotApplied(Scope scope, const Application& application, TextView word) = 0;
  // A step other than an operator's wrote an error word, for the reason `why`; `at`, when
  // not empty, is the text where reading stopped.
  virtual void Failed(Scope scope, TextView word, std::string_view why, std::string_view at) = 0;
  virtual void ExpressionEnds(Outcome outcome, TextView result) = 0;

 protected:
  EvaluationWatcher() = default;
  ~EvaluationWatcher() = default;
  EvaluationWatcher(const EvaluationWatcher&) = default;
  EvaluationWatcher& operator=(const EvaluationWatcher&) = default;
  EvaluationWatcher(EvaluationWatcher&&) = default;
  EvaluationWatcher& operator=(EvaluationWatcher&&) = default;
};

// TellWatcher: the call of one event, kept out of line and out of the way: were the
// compiler to inline the only watcher there is into the evaluator, the evaluator would
// grow and run slower while nobody watches.
template <typename... Parameters>
[[gnu::noinline, gnu::cold]] void TellWatcher(EvaluationWatcher& watcher,
                                              void (EvaluationWatcher::*event)(Parameters...),
                                              std::type_identity_t<Parameters>... arguments) {
  (watcher.*event)(arguments...);
}

// Tell: tells the watcher of an event, if anyone watches. The arguments arrive as the
// event's own parameters: a text buffer handed over as a TextView, not by its address,
// which would keep the compiler from passing a caller's buffer in registers.
template <typename... Parameters>
inline void Tell(EvaluationWatcher* watcher, void (EvaluationWatcher::*event)(Parameters...),
                 std::type_identity_t<Parameters>... arguments) {
  if (watcher != nullptr) [[unlikely]] {
    TellWatcher<Parameters...>(*watcher, event, arguments...);
  }
}

// Watch: who is told of a flat evaluation's steps, nobody when null, and which it is.
struct Watch {
  EvaluationWatcher* watcher = nullptr;
  Scope scope = Scope::kExpression;
};

// FailWith: how a step that owns a failure reports it: the word into the result text, the
// word and why to whoever watches, then the failure. Out of line and cold, as failures
// are rare: inlined at every step that may fail, it would crowd the steps that succeed.
[[gnu::noinline, gnu::cold]] inline Outcome FailWith(ResultTextBuffer& result, Watch watch,
                                                     TextView word, std::string_view why,
                                                     std::string_view at = {}) {
  SetResultText(result, word);
  Tell(watch.watcher, &EvaluationWatcher::Failed, watch.scope, word, why, at);
  return Outcome::kFailure;
}

}  // namespace intcalc
