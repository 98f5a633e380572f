// The dialogue with the person at the console.
#pragma once

#include <cstdint>

#include "console/console.h"
#include "dialogue/inputs.h"

namespace intcalc {

inline constexpr int kExitInputEnded = 0;
inline constexpr int kExitFailed = 1;     // reading an input or writing standard output failed
inline constexpr int kExitErrorWord = 3;  // asked for: an answer was an error word

// How the calculator answers: with the whole dialogue, or with one line of output for
// each line of input, holding its result alone.
enum class Answers : std::uint8_t { kDialogue, kResultsOnly };

// RunCalculator: reads and answers expressions until the inputs end or writing fails, and
// says why a run fails on standard error; returns the exit status. With
// `errorWordsFail`, a run whose answers hold an error word ends with kExitErrorWord.
int RunCalculator(Answers answers, Inputs& inputs, bool errorWordsFail = false);

// RunCalculator: the same for standard input alone.
int RunCalculator(Answers answers = Answers::kDialogue);

// FinishRun: writes out what is pending and, when reading (status kFailed) or writing
// failed, says so on standard error; returns the exit status.
int FinishRun(ReadStatus status);

}  // namespace intcalc
