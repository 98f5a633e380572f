// Parenthesis resolution: rewrites the working text, innermost group first, until no
// parenthesis is left.
#pragma once

#include "eval/expression.h"

namespace intcalc {

// RewriteGroups: rewrites the innermost group of the working text with its value until no
// "(" is left. Any failure, its own or an inner evaluation's, leaves exactly "ERROR" in the
// result text. Never inlined: where its loop is, the caller saves and restores the
// registers it needs, and a text without groups, the most common, needs none of them
// (22 instructions an expression of the 879 a result-only run took, callgrind).
[[gnu::noinline]] Outcome RewriteGroups(Evaluation& evaluation);

// ResolveParentheses: RewriteGroups, which looks for no group in a text of Groups::kNone,
// though an empty text still fails there.
inline Outcome ResolveParentheses(Evaluation& evaluation, Groups groups) {
  if (groups == Groups::kNone && !evaluation.working.Span().IsEmpty()) return Outcome::kSuccess;
  return RewriteGroups(evaluation);
}

}  // namespace intcalc
