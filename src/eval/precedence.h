// The precedence evaluator: reduces the tables the flat reader built to one value.
#pragma once

#include <cstdint>

#include "eval/evaluation_tables.h"

namespace intcalc {

// ResolveIt: applies the strong operators, then the weak ones, each pass left to right,
// and writes the value into the result text.
Outcome ResolveIt();

// PropagateLeft: hands ArithmeticResult to the nearest live operator left of k as its
// right operand; returns that operator's index, or kNoOperator when there is none.
std::uint32_t PropagateLeft(std::uint32_t k);

// PropagateRight: hands ArithmeticResult to the nearest live operator right of k as its
// left operand; returns that operator's index, or kNoOperator when there is none.
std::uint32_t PropagateRight(std::uint32_t k);

}  // namespace intcalc
