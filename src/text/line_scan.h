// Copying one line of input without its blanks, sixteen bytes at a time where the
// processor has SSE2 and one byte at a time elsewhere.
#pragma once

#include <span>

#include "text/text_buffer.h"

namespace intcalc {

// CopyWithoutBlanks: makes destination hold the bytes of line before its first NUL, CR or
// LF (all of line when it holds none), with every blank left out. The line may be as long
// as destination's capacity.
void CopyWithoutBlanks(std::span<const char> line, TextSpan destination);

}  // namespace intcalc
