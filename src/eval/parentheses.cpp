#include "eval/parentheses.h"

#include "eval/flat_reader.h"
#include "text/result_text.h"

namespace intcalc {

namespace {

constexpr char kOpen = '(';
constexpr char kClose = ')';
constexpr TextLength kEmptyGroupSpan = 1;         // "()"
constexpr TextLength kOneCharacterGroupSpan = 2;  // "(5)"

constinit TextBuffer<kGroupCapacity> groupBuffer;
constinit TextBuffer<kScratchCapacity> scratchBuffer;

enum class Step : std::uint8_t { kRewritten, kNoGroupLeft, kFailed };

// FindInnermostGroup: the first group that holds no other group.
Step FindInnermostGroup(std::string_view text, GroupBounds& group) {
  const std::size_t firstOpen = text.find(kOpen);
  if (firstOpen == std::string_view::npos) return Step::kNoGroupLeft;
  std::size_t open = firstOpen;
  for (std::size_t index = open + 1; index < text.size(); ++index) {
    if (text[index] == kClose) {
      group = {static_cast<TextLength>(open), static_cast<TextLength>(index)};
      return Step::kRewritten;
    }
    if (text[index] == kOpen) open = index;
  }
  return Step::kFailed;  // no ")" after the last "(", which may be the last character
}

// StripGroup: a plain number loses its parentheses; blanks anywhere in the text go too.
void StripGroup(TextSpan working, GroupBounds group) {
  working.Put(group.open, kBlank);
  working.Put(group.close, kBlank);
  RemoveBlanks(working);
}

// RewriteInnermostGroup: one rewrite of the working text, or the news that none is needed.
Step RewriteInnermostGroup(TextSpan working) {
  if (working.IsEmpty()) return Step::kFailed;
  GroupBounds group;
  const Step found = FindInnermostGroup(working.View(), group);
  if (found != Step::kRewritten) return found;

  const TextLength span = group.close - group.open;
  if (span == kEmptyGroupSpan) return Step::kFailed;
  if (span == kOneCharacterGroupSpan) {
    if (!IsDigit(working.At(group.open + 1))) return Step::kFailed;
    StripGroup(working, group);
    return Step::kRewritten;
  }

  const TextView inner = TextView(working).From(group.open + 1).First(span - 1);
  if (inner.Length() > kGroupCapacity) return Step::kFailed;
  CopyText(inner, groupBuffer);
  switch (ClassifyGroup(groupBuffer.View())) {
    case GroupKind::kPlainNumber:
      StripGroup(working, group);
      return Step::kRewritten;
    case GroupKind::kExpression:
      if (EvaluateFlat(groupBuffer) == Outcome::kFailure) return Step::kFailed;
      SpliceResult(working, group);
      return Step::kRewritten;
    case GroupKind::kNotANumber:
    case GroupKind::kTooManyDigits:
      break;
  }
  return Step::kFailed;
}

}  // namespace

GroupKind ClassifyGroup(std::string_view group) {
  if (group.empty()) return GroupKind::kNotANumber;
  const char first = group.front();
  if (!IsSign(first) && !IsDigit(first)) return GroupKind::kNotANumber;
  TextLength digits = IsDigit(first) ? 1 : 0;
  for (const char character : group.substr(1)) {
    if (!IsDigit(character)) return GroupKind::kExpression;
    if (digits == kOperandDigitsCapacity) return GroupKind::kTooManyDigits;
    ++digits;
  }
  return GroupKind::kPlainNumber;
}

void SpliceResult(TextSpan working, GroupBounds group) {
  CheckBounds(working.Length() <= kWorkingCapacity);  // so the scratch holds every part
  const TextView text = working;
  CopyText(text.First(group.open), scratchBuffer);
  AppendText(ResultText(), scratchBuffer);
  AppendText(text.From(group.close + 1), scratchBuffer);
  CopyText(scratchBuffer, working);
}

Outcome ResolveParentheses(TextSpan working) {
  while (true) {
    switch (RewriteInnermostGroup(working)) {
      case Step::kRewritten:
        continue;
      case Step::kNoGroupLeft:
        return Outcome::kSuccess;
      case Step::kFailed:
        return FailWith(kErrorWord);  // over whatever word an inner evaluation left
    }
  }
}

}  // namespace intcalc
