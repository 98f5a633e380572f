// The texts of the dialogue, byte for byte as the person sees them; each is a line of its
// own, which WriteLine ends.
#pragma once

#include "text/text_buffer.h"

namespace intcalc {

inline constexpr ConstantText kIntroOperators{
    "It does Sub(-), Add(+), Mul(*), Div(/) and Remainder(\\)"};
inline constexpr ConstantText kIntroRange{
    "It uses integers from -4 294 967 295 to 4 294 967 295 "};  // an empty line follows it
inline constexpr ConstantText kPrompt{
    "Type an expression and press enter [ ex: -2 + 3*(7 - 2*8) ]"};
inline constexpr ConstantText kExpressionLabel{"This is your expression: "};
inline constexpr ConstantText kResultLabel{"This is your Result:  "};
inline constexpr ConstantText kRule{"---------------------------------------------"};

}  // namespace intcalc
