// The texts of the dialogue, byte for byte as the person sees them.
#pragma once

#include <string_view>

namespace intcalc {

inline constexpr std::string_view kIntroOperators =
    "It does Sub(-), Add(+), Mul(*), Div(/) and Remainder(\\)\r\n";
inline constexpr std::string_view kIntroRange =
    "It uses integers from -4 294 967 295 to 4 294 967 295 \r\n\r\n";
inline constexpr std::string_view kPrompt =
    "Type an expression and press enter [ ex: -2 + 3*(7 - 2*8) ]\r\n";
inline constexpr std::string_view kExpressionLabel = "This is your expression: ";
inline constexpr std::string_view kResultLabel = "This is your Result:  ";
inline constexpr std::string_view kRule = "---------------------------------------------";

}  // namespace intcalc
