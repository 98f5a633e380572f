#include "dialogue/main_loop.h"

#include <span>

#include "dialogue/dialogue_texts.h"
#include "text/line_ends.h"

namespace intcalc {

namespace {

constexpr ConstantText kEqualsSign{"="};
constexpr ConstantText kNoText{""};

static_assert(kReadLimit + 1 + kResultCapacity <= kEchoCapacity, "the echo line must fit");

// BuildEchoLine: expression, "=", result text; they always fit (above), so the append
// never refuses them.
void BuildEchoLine(Dialogue& state) {
  ClearText(state.echoLine);
  (void)AppendTexts(state.echoLine, state.expression, kEqualsSign, state.evaluation.result);
}

// ReadRoom: the raw line's room for a read, all but its last place.
std::span<char> ReadRoom(Dialogue& state) {
  return std::span(state.rawLine).first(kReadLimit);
}

// Delivered: the raw line, a NUL put after the bytes a read stored into it.
const RawLine& Delivered(Dialogue& state, const ReadResult& read) {
  CheckBounds(read.count <= kReadLimit);
  state.rawLine[read.count] = '\0';
  return state.rawLine;
}

int RunDialogue(Console& console, Dialogue& state, Inputs& inputs) {
  bool showIntro = true;
  while (true) {
    if (showIntro) {
      console.WriteLine(kIntroOperators);
      console.WriteLine(kIntroRange);
      console.WriteLine(kNoText);
    }
    console.WritePrompt(kPrompt);

    const ReadResult read = inputs.Read(console, ReadRoom(state));
    if (read.status != ReadStatus::kPiece) return FinishRun(console, read.status);
    Groups groups = Groups::kMaybe;
    showIntro = CompactInput(Delivered(state, read), state.expression, groups);
    if (showIntro) continue;

    console.WriteLine(kExpressionLabel, state.expression);
    // The result text is the answer, whatever the outcome.
    (void)Calculate(state.expression, groups, state.evaluation);
    BuildEchoLine(state);
    console.WriteLines(LineOf(kResultLabel, state.evaluation.result), LineOf(state.echoLine),
                       LineOf(kRule));
  }
}

// Evaluated: how many expressions the dialogue would have evaluated in a line so far.
enum class Evaluated : unsigned char { kNone, kOne, kMoreThanOne };

// WriteLineResult: the one line that answers a line of input, whose one evaluation, if it
// had one, ended with `outcome`; returns whether the line is an error word.
bool WriteLineResult(Console& console, const Dialogue& state, Evaluated evaluated,
                     Outcome outcome) {
  switch (evaluated) {
    case Evaluated::kNone:
      console.WritePlatformLine(kNoText);
      return false;
    case Evaluated::kOne:
      console.WritePlatformLine(state.evaluation.result);
      return outcome == Outcome::kFailure;
    case Evaluated::kMoreThanOne:
      break;
  }
  console.WritePlatformLine(kErrorWord);  // a line longer than one read, taken as more than one
  return true;
}

int RunResultsOnly(Console& console, Dialogue& state, Inputs& inputs, bool& errorWord) {
  Evaluated evaluated = Evaluated::kNone;
  Outcome outcome = Outcome::kSuccess;  // of the line's latest evaluation
  bool lineOpen = false;                // part of a line has arrived without its line end
  while (true) {
    const ReadResult read = inputs.Read(console, ReadRoom(state));
    if (read.status != ReadStatus::kPiece) {
      if (lineOpen && WriteLineResult(console, state, evaluated, outcome)) errorWord = true;
      return FinishRun(console, read.status);
    }
    Groups groups = Groups::kMaybe;
    if (!CompactInput(Delivered(state, read), state.expression, groups)) {
      // The line's answer, if no other piece has one.
      outcome = Calculate(state.expression, groups, state.evaluation);
      evaluated = evaluated == Evaluated::kNone ? Evaluated::kOne : Evaluated::kMoreThanOne;
    }
    lineOpen = !read.endsLine;
    if (lineOpen) continue;
    if (WriteLineResult(console, state, evaluated, outcome)) errorWord = true;
    evaluated = Evaluated::kNone;
  }
}

}  // namespace

int FinishRun(Console& console, ReadStatus status) {
  console.Flush();
  console.Restore();
  const bool readFailed = status == ReadStatus::kFailed;
  if (readFailed) {
    console.WriteMessage({"cannot read standard input: ", console.FailureReason(Stream::kInput)});
  }
  if (console.OutputFailed()) {
    console.WriteMessage(
        {"cannot write to standard output: ", console.FailureReason(Stream::kOutput)});
  }
  return readFailed || console.OutputFailed() ? kExitFailed : kExitInputEnded;
}

int RunCalculator(Console& console, Dialogue& dialogue, const CommandLine& commandLine) {
  dialogue.evaluation.watcher = dialogue.trace.Start(console, commandLine.trace);
  console.ShowAnswers(commandLine.live ? &dialogue.live : nullptr);
  Inputs inputs(commandLine);
  bool errorWord = false;
  const int status = commandLine.answers == Answers::kResultsOnly
                         ? RunResultsOnly(console, dialogue, inputs, errorWord)
                         : RunDialogue(console, dialogue, inputs);
  if (status != kExitInputEnded) return status;
  if (inputs.AnyFailed()) return kExitFailed;
  return commandLine.errorWordsFail && errorWord ? kExitErrorWord : kExitInputEnded;
}

}  // namespace intcalc
