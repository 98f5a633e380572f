// The result text: the one buffer that receives a value, a lone operand, or an error word.
#pragma once

#include "text/limits.h"
#include "text/text_buffer.h"

namespace intcalc {

using ResultTextBuffer = TextBuffer<kResultCapacity>;

// The error words; a person sees nothing else when a calculation fails. A copy in each file
// that uses one: shared as inline variables, mingw's linker, under link-time optimisation,
// warns that it finds no symbol for one of them.
constexpr ConstantText kErrorWord{"ERROR"};
constexpr ConstantText kOverflowWord{"OVERFLOW"};
constexpr ConstantText kResolveItErrorWord{"ResolveIt ERROR"};

// SetResultText: puts one of the error words into the result text.
inline void SetResultText(ResultTextBuffer& result, TextView word) {
  CopyText(word, result.Span());
}

}  // namespace intcalc
