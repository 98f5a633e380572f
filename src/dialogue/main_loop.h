// The dialogue with the person at the console.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "eval/expression.h"
#include "text/result_text.h"
#include "text/text_buffer.h"

namespace intcalc {

inline constexpr std::size_t kReadLimit = 121;
inline constexpr TextLength kExpressionCapacity = 122;
inline constexpr TextLength kEchoCapacity = 143;

inline constexpr int kExitInputEnded = 0;
inline constexpr int kExitReadFailed = 1;

using RawLine = std::array<char, kReadLimit>;
using ExpressionBuffer = TextBuffer<kExpressionCapacity>;
using EchoLineBuffer = TextBuffer<kEchoCapacity>;

static_assert(kReadLimit <= kExpressionCapacity, "a whole read must fit the expression");
static_assert(kExpressionCapacity <= kWorkingCapacity, "the working copy must hold it all");
static_assert(kReadLimit + 1 + kResultCapacity <= kEchoCapacity, "the echo line must fit");

// RunCalculator: the whole dialogue; returns the exit status when input ends or fails.
int RunCalculator();

// CompactInput: copies the bytes one read delivered, up to the first NUL, CR or LF and
// without their blanks, into the expression; returns whether the expression is empty.
bool CompactInput(std::span<const char> delivered, TextSpan expression);

// BuildEchoLine: expression, "=", result text.
void BuildEchoLine(TextSpan expression, TextSpan result, TextSpan echoLine);

// ClearOutputs: empties the result text and the echo line.
void ClearOutputs(TextSpan echoLine);

}  // namespace intcalc
