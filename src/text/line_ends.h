// The two line ends: the dialogue's, the same on every platform, and the platform's own.
#pragma once

#include "text/text_buffer.h"

namespace intcalc {

// kLineEnd: CR LF, which ends every line of the dialogue (its texts, the answers, the line
// the editor delivers, the fresh line the terminal is left on) and every piece of input
// ReadLine delivers that ends its line.
inline constexpr ConstantText kLineEnd{"\r\n"};

// kPlatformLineEnd: the line end of the platform's own text files and messages: results,
// the help and the version, and every message on standard error.
#if defined(_WIN32)
inline constexpr ConstantText kPlatformLineEnd{"\r\n"};
#else
inline constexpr ConstantText kPlatformLineEnd{"\n"};
#endif

}  // namespace intcalc
