#include "eval/parentheses.h"

#include <string_view>

#include "eval/flat_reader.h"
#include "eval/trace_points.h"
#include "text/decimal.h"

namespace intcalc {

namespace {

constexpr char kClose = ')';
constexpr TextLength kEmptyGroupSpan = 1;         // "()"
constexpr TextLength kOneCharacterGroupSpan = 2;  // "(5)"

enum class Step : std::uint8_t { kRewritten, kNoGroupLeft, kFailed };

constexpr LimitText kGroupTooLong{"a group longer than ", kGroupCapacity, " characters"};
constexpr LimitText kGroupOfTooManyDigits{"a group of more than ", kOperandDigitsCapacity,
                                          " digits"};

// Rewritten: one step's outcome; a failed one says why, for whoever watches. Small enough
// to come back in registers.
struct Rewritten {
  Step step;
  const char* why = nullptr;
};

constexpr Rewritten kAnotherRewrite{Step::kRewritten};

constexpr Rewritten Failure(const char* why) {
  return {Step::kFailed, why};
}

// FindInnermostGroup: the first group that holds no other group.
Rewritten FindInnermostGroup(std::string_view text, GroupBounds& group) {
  const std::size_t firstOpen = text.find(kGroupOpen);
  if (firstOpen == std::string_view::npos) return {Step::kNoGroupLeft};
  std::size_t open = firstOpen;
  for (std::size_t index = open + 1; index < text.size(); ++index) {
    if (text[index] == kClose) {
      group = {static_cast<TextLength>(open), static_cast<TextLength>(index)};
      return kAnotherRewrite;
    }
    if (text[index] == kGroupOpen) open = index;
  }
  return Failure("a \"(\" without a \")\" after it");
}

// ClassifyGroup: tells whether a group's inner text is a plain signed number.
GroupKind ClassifyGroup(std::string_view group) {
  if (group.empty()) return GroupKind::kNotANumber;
  const char first = group.front();
  if (!IsSign(first) && !IsDigit(first)) return GroupKind::kNotANumber;
  TextLength digits = IsDigit(first) ? 1 : 0;
  for (const char character : Part(group, 1, group.size() - 1)) {
    if (!IsDigit(character)) return GroupKind::kExpression;
    if (digits == kOperandDigitsCapacity) return GroupKind::kTooManyDigits;
    ++digits;
  }
  return GroupKind::kPlainNumber;
}

// StripGroup: a plain number loses its parentheses; blanks anywhere in the text go too.
void StripGroup(TextSpan working, GroupBounds group, EvaluationWatcher* watcher) {
  working.Put(group.open, kBlank);
  working.Put(group.close, kBlank);
  RemoveBlanks(working);
  Tell(watcher, &EvaluationWatcher::GroupRewritten, TextView(working), Rewrite::kStripped);
}

// SpliceResult: replaces the group, both parentheses included, by the result text. The
// scratch holds any working text and any result text, so no part is ever cut.
void SpliceResult(Evaluation& evaluation, GroupBounds group) {
  const TextView text = evaluation.working;
  CopyText(text.First(group.open), evaluation.scratch);
  AppendText(evaluation.result, evaluation.scratch);
  AppendText(text.From(group.close + 1), evaluation.scratch);
  CopyText(evaluation.scratch, evaluation.working);
  Tell(evaluation.watcher, &EvaluationWatcher::GroupRewritten, TextView(evaluation.working),
       Rewrite::kSpliced);
}

// RewriteInnermostGroup: one rewrite of the working text, or the news that none is needed.
Rewritten RewriteInnermostGroup(Evaluation& evaluation) {
  const TextSpan working = evaluation.working;
  if (working.IsEmpty()) return Failure("nothing is left");
  GroupBounds group;
  const Rewritten found = FindInnermostGroup(working.View(), group);
  if (found.step != Step::kRewritten) return found;

  // Every group is told, whatever its length; a group of one character is a plain number
  // only when that character is a digit.
  const TextLength span = group.close - group.open;
  const TextView inner = TextView(working).From(group.open + 1).First(span - 1);
  GroupKind kind = GroupKind::kNotANumber;
  if (span == kOneCharacterGroupSpan) {
    if (IsDigit(working.At(group.open + 1))) kind = GroupKind::kPlainNumber;
  } else if (span > kEmptyGroupSpan) {
    kind = ClassifyGroup(inner);
  }
  Tell(evaluation.watcher, &EvaluationWatcher::GroupFound, TextView(working), group, kind);
  if (span == kEmptyGroupSpan) return Failure("an empty group");
  if (span == kOneCharacterGroupSpan) {
    if (kind != GroupKind::kPlainNumber) return Failure("a group of one character, no digit");
    StripGroup(working, group, evaluation.watcher);
    return kAnotherRewrite;
  }
  if (inner.Length() > kGroupCapacity) return Failure(kGroupTooLong.Text());
  switch (kind) {
    case GroupKind::kPlainNumber:
      StripGroup(working, group, evaluation.watcher);
      return kAnotherRewrite;
    case GroupKind::kExpression: {
      CopyText(inner, evaluation.group);  // never cut: a longer group failed above
      const Outcome outcome = EvaluateFlat(evaluation, Scope::kGroup);
      Tell(evaluation.watcher, &EvaluationWatcher::GroupEvaluated, outcome,
           TextView(evaluation.result));
      if (outcome == Outcome::kFailure) return Failure("the group's evaluation failed");
      SpliceResult(evaluation, group);
      return kAnotherRewrite;
    }
    case GroupKind::kNotANumber:
      return Failure("a group that starts with neither a sign nor a digit");
    case GroupKind::kTooManyDigits:
      return Failure(kGroupOfTooManyDigits.Text());
  }
  return Failure("a group of no known kind");
}

}  // namespace

Outcome RewriteGroups(Evaluation& evaluation) {
  while (true) {
    const Rewritten rewritten = RewriteInnermostGroup(evaluation);
    switch (rewritten.step) {
      case Step::kRewritten:
        continue;
      case Step::kNoGroupLeft:
        return Outcome::kSuccess;
      case Step::kFailed:  // over whatever word an inner evaluation left
        return FailWith(evaluation.result, {evaluation.watcher, Scope::kExpression}, kErrorWord,
                        rewritten.why);
    }
  }
}

}  // namespace intcalc
