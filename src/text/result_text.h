// The result text: the one buffer that receives a value, a lone operand, or an error word.
#pragma once

#include "text/text_buffer.h"

namespace intcalc {

inline constexpr TextLength kResultCapacity = 20;

using ResultTextBuffer = TextBuffer<kResultCapacity>;

// The error words; a person sees nothing else when a calculation fails.
inline constexpr ConstantText kErrorWord{"ERROR"};
inline constexpr ConstantText kOverflowWord{"OVERFLOW"};
inline constexpr ConstantText kResolveItErrorWord{"ResolveIt ERROR"};

// ResultText: the shared result text; every evaluation, inner ones included, overwrites it.
inline ResultTextBuffer& ResultText() {
  static constinit ResultTextBuffer resultText;
  return resultText;
}

// SetResultText: puts one of the error words into the result text.
inline void SetResultText(TextView word) {
  CopyText(word, ResultText());
}

}  // namespace intcalc
