// The texts of the dialogue, byte for byte as the person sees them.
#pragma once

#include "text/text_buffer.h"

namespace intcalc {

inline constexpr ConstantText kIntroOperators{
    "It does Sub(-), Add(+), Mul(*), Div(/) and Remainder(\\)\r\n"};
inline constexpr ConstantText kIntroRange{
    "It uses integers from -4 294 967 295 to 4 294 967 295 \r\n\r\n"};
inline constexpr ConstantText kPrompt{
    "Type an expression and press enter [ ex: -2 + 3*(7 - 2*8) ]\r\n"};
inline constexpr ConstantText kExpressionLabel{"This is your expression: "};
inline constexpr ConstantText kResultLabel{"This is your Result:  "};
inline constexpr ConstantText kRule{"---------------------------------------------"};

}  // namespace intcalc
