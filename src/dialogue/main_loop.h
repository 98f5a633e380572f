// The dialogue with the person at the console.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "console/console.h"
#include "eval/expression.h"
#include "text/result_text.h"
#include "text/text_buffer.h"

namespace intcalc {

inline constexpr TextLength kExpressionCapacity = 122;
inline constexpr TextLength kEchoCapacity = 143;

inline constexpr int kExitInputEnded = 0;
inline constexpr int kExitFailed = 1;  // reading standard input or writing standard output failed

using RawLine = std::array<char, kReadLimit>;
using ExpressionBuffer = TextBuffer<kExpressionCapacity>;
using EchoLineBuffer = TextBuffer<kEchoCapacity>;

static_assert(kReadLimit <= kExpressionCapacity, "a whole read must fit the expression");
static_assert(kExpressionCapacity <= kWorkingCapacity, "the working copy must hold it all");
static_assert(kReadLimit + 1 + kResultCapacity <= kEchoCapacity, "the echo line must fit");

// How the calculator answers: with the whole dialogue, or with one line of output for
// each line of input, holding its result alone.
enum class Answers : std::uint8_t { kDialogue, kResultsOnly };

// RunCalculator: reads and answers expressions until input ends or reading or writing
// fails, and says why a run fails on standard error; returns the exit status.
int RunCalculator(Answers answers = Answers::kDialogue);

// FinishRun: writes out what is pending and, when reading (status kFailed) or writing
// failed, says so on standard error; returns the exit status.
int FinishRun(ReadStatus status);

// CompactInput: copies the bytes one read delivered, up to the first NUL, CR or LF and
// without their blanks, into the expression; returns whether the expression is empty.
bool CompactInput(std::span<const char> delivered, TextSpan expression);

// BuildEchoLine: expression, "=", result text.
void BuildEchoLine(TextSpan expression, TextSpan result, TextSpan echoLine);

// ClearOutputs: empties the result text and the echo line.
void ClearOutputs(TextSpan echoLine);

}  // namespace intcalc
