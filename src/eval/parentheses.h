// Parenthesis resolution: rewrites the working text, innermost group first, until no
// parenthesis is left.
#pragma once

#include <cstdint>
#include <string_view>

#include "eval/evaluation_tables.h"
#include "eval/expression.h"
#include "text/text_buffer.h"

namespace intcalc {

// The longest inner text of a group that is evaluated; a longer one gives "ERROR" rather
// than being cut. A limit of its own, shorter than a working text.
inline constexpr TextLength kGroupCapacity = 80;
static_assert(kGroupCapacity < kWorkingCapacity);

// Where a splice is assembled: room for any working text plus any result text.
inline constexpr TextLength kScratchCapacity = kWorkingCapacity + kResultCapacity;

// ResolveParentheses: rewrites the innermost group with its value until no "(" is left.
// Any failure, its own or an inner evaluation's, leaves exactly "ERROR".
Outcome ResolveParentheses(TextSpan working);

// ClassifyGroup: tells whether a group's inner text is a plain signed number.
GroupKind ClassifyGroup(std::string_view group);

// SpliceResult: replaces the group, both parentheses included, by the result text, in a
// working text of at most kWorkingCapacity characters.
void SpliceResult(TextSpan working, GroupBounds group);

}  // namespace intcalc
