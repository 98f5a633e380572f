// The road of a line to its answer, which both Enter and the answer shown as a line is
// edited take: the line's blanks removed, then the same evaluation of a working copy.
#pragma once

#include <array>
#include <cstddef>

#include "eval/expression.h"
#include "text/limits.h"
#include "text/text_buffer.h"

namespace intcalc {

// RawLine: the bytes of one read, and a place after them for the NUL that ends their scan.
using RawLine = std::array<char, kReadLimit + 1>;
using ExpressionBuffer = TextBuffer<kExpressionCapacity>;

static_assert(kReadLimit <= kExpressionCapacity, "a whole read must fit the expression");
static_assert(kExpressionCapacity <= kWorkingCapacity, "the working copy must hold it all");

constexpr bool EndsLine(char byte) {
  return byte == '\0' || byte == '\r' || byte == '\n';
}

// CompactInput: copies the bytes of the raw line, up to the first NUL, CR or LF and
// without their blanks, into the expression; returns whether the expression is empty, and
// says in `groups` whether it may hold a group, for the evaluation. Whoever fills the raw
// line puts a NUL after the bytes, so the first of those ends the scan.
inline bool CompactInput(const RawLine& rawLine, ExpressionBuffer& expression, Groups& groups) {
  static_assert(RawLine{}.size() - 1 <= ExpressionBuffer::Capacity());
  static_assert(kBlank < kGroupOpen && '\r' < kGroupOpen && '\n' < kGroupOpen);
  char* const kept = expression.Span().Storage();
  std::size_t count = 0;
  groups = Groups::kNone;
  for (const char* byte = rawLine.data();; ++byte) {
    // Digits, operators and ")" lie above the blank, the line ends and "(", so most bytes
    // are kept on one comparison.
    if (static_cast<unsigned char>(*byte) <= static_cast<unsigned char>(kGroupOpen)) {
      if (*byte == kBlank) continue;
      if (EndsLine(*byte)) break;
      if (*byte == kGroupOpen) groups = Groups::kMaybe;
    }
    kept[count++] = *byte;  // count <= the byte's index, before the NUL: within capacity
  }
  expression.Span().SetLength(static_cast<TextLength>(count));
  return count == 0;
}

// Calculate: evaluates a working copy of the expression, of what CompactInput said of its
// groups; the result text holds what is to be shown, and the outcome says whether it is an
// error word.
inline Outcome Calculate(const ExpressionBuffer& expression, Groups groups,
                         Evaluation& evaluation) {
  CopyText(expression, evaluation.working);
  return EvaluateExpression(evaluation, groups);
}

}  // namespace intcalc
