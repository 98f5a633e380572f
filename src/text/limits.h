// The calculator's limits: every capacity of its fixed storage, each derived in one line
// from the limit it follows from. Tests size their buffers from here; the tests that check
// the specified limits keep their own numbers, so that a wrong one here shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/text_buffer.h"

namespace intcalc {

// kLineEnd: CR LF, which ends every line the dialogue writes and every piece of input
// ReadLine delivers.
inline constexpr ConstantText kLineEnd{"\r\n"};

// ---- One line of input ----------------------------------------------------------------

// kReadLimit: the most bytes the dialogue takes with one read.
inline constexpr TextLength kReadLimit = 121;
// kEditCapacity: the longest line one read takes whole, with its line end.
inline constexpr TextLength kEditCapacity =
    kReadLimit - static_cast<TextLength>(std::string_view(kLineEnd).size());

// ---- The dialogue's texts -------------------------------------------------------------

// kExpressionCapacity: a whole read without its blanks, and one to spare (122).
inline constexpr TextLength kExpressionCapacity = kReadLimit + 1;
// kResultCapacity: a value, a lone operand as typed (cut to this), or an error word.
inline constexpr TextLength kResultCapacity = 20;
// kEchoCapacity: the expression, "=", and the result text (143).
inline constexpr TextLength kEchoCapacity = kExpressionCapacity + 1 + kResultCapacity;

// ---- The evaluation -------------------------------------------------------------------

// kWorkingCapacity: the copy of the expression that parenthesis resolution rewrites (123).
inline constexpr TextLength kWorkingCapacity = kExpressionCapacity + 1;
// kGroupCapacity: the longest inner text of a group that is evaluated; a limit of its own.
inline constexpr TextLength kGroupCapacity = 80;
// kScratchCapacity: where a splice is assembled: any working text plus any result text.
inline constexpr TextLength kScratchCapacity = kWorkingCapacity + kResultCapacity;
// kOperandDigitsCapacity: the most digits one operand may have, leading zeros included.
inline constexpr TextLength kOperandDigitsCapacity = 20;
// kTableCapacity: the most operators one flat evaluation takes.
inline constexpr std::uint32_t kTableCapacity = 200;

// Each operator needs a character before it, so the tables hold every operator of a text.
static_assert(kTableCapacity >= kWorkingCapacity / 2);
static_assert(kGroupCapacity < kWorkingCapacity);

// ---- The console ----------------------------------------------------------------------

// kOutputCapacity: output kept between writes, so that a pipe gets few, big ones.
inline constexpr TextLength kOutputCapacity = TextLength{64} * 1024;
// kInputChunkCapacity: the most bytes one raw read of a pipe or a file brings.
inline constexpr std::size_t kInputChunkCapacity = std::size_t{64} * 1024;
// kErrorLineCapacity: the longest message to standard error; what would go past it is cut.
inline constexpr std::size_t kErrorLineCapacity = 512;
// kHistoryEntries: the lines of this session the line editor keeps for Up and Down.
inline constexpr std::size_t kHistoryEntries = 64;

}  // namespace intcalc
