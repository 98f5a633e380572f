// The result text: the one buffer that receives a value, a lone operand, or an error word.
#pragma once

#include <string_view>

#include "text/text_buffer.h"

namespace intcalc {

inline constexpr TextLength kResultCapacity = 20;

using ResultTextBuffer = TextBuffer<kResultCapacity>;

// The error words; a person sees nothing else when a calculation fails.
inline constexpr std::string_view kErrorWord = "ERROR";
inline constexpr std::string_view kOverflowWord = "OVERFLOW";
inline constexpr std::string_view kResolveItErrorWord = "ResolveIt ERROR";

// ResultText: the shared result text; every evaluation, inner ones included, overwrites it.
inline ResultTextBuffer& ResultText() {
  static constinit ResultTextBuffer resultText;
  return resultText;
}

// SetResultText: puts one of the error words into the result text.
inline void SetResultText(std::string_view word) {
  CopyText(word, ResultText());
}

}  // namespace intcalc
