// The program's exit statuses, every one of them; a signal that ends it gives 128 + its
// number, as the shell reports it.
#pragma once

namespace intcalc {

inline constexpr int kExitInputEnded = 0;  // every input was read to its end
inline constexpr int kExitFailed = 1;      // reading an input or writing standard output failed
inline constexpr int kExitUsageError = 2;  // an argument was not understood
inline constexpr int kExitErrorWord = 3;   // asked for with -e: an answer was an error word

}  // namespace intcalc
