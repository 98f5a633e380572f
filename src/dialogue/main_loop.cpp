#include "dialogue/main_loop.h"

#include <array>
#include <span>

#include "console/console.h"
#include "dialogue/dialogue_texts.h"
#include "eval/expression.h"
#include "text/limits.h"

namespace intcalc {

namespace {

constexpr ConstantText kEqualsSign{"="};
constexpr ConstantText kNoResult{""};
constexpr std::string_view kCannotRead = "intcalc: cannot read standard input: ";
constexpr std::string_view kCannotWrite = "intcalc: cannot write to standard output: ";
constexpr char kLineFeed = '\n';

static_assert(kReadLimit <= kExpressionCapacity, "a whole read must fit the expression");
static_assert(kExpressionCapacity <= kWorkingCapacity, "the working copy must hold it all");
static_assert(kReadLimit + 1 + kResultCapacity <= kEchoCapacity, "the echo line must fit");

using RawLine = std::array<char, kReadLimit>;
using ExpressionBuffer = TextBuffer<kExpressionCapacity>;
using EchoLineBuffer = TextBuffer<kEchoCapacity>;

// Dialogue: the buffers of the dialogue and the evaluation it hands each expression to,
// alive for the whole run and reset for every expression.
struct Dialogue {
  RawLine rawLine{};
  ExpressionBuffer expression;  // the line without blanks, as the person is shown it
  EchoLineBuffer echoLine;      // expression, "=", result text
  Evaluation evaluation;
};

constinit Dialogue dialogue;

constexpr bool EndsLine(char byte) {
  return byte == '\0' || byte == '\r' || byte == '\n';
}

// CompactInput: copies the bytes one read delivered, up to the first NUL, CR or LF and
// without their blanks, into the expression; returns whether the expression is empty.
bool CompactInput(std::span<const char> delivered, ExpressionBuffer& expression) {
  CheckBounds(delivered.size() <= ExpressionBuffer::Capacity());
  char* const kept = expression.Span().Storage();
  TextLength count = 0;
  for (const char byte : delivered) {
    // Digits and operators lie above the blank, so most bytes are kept on one comparison.
    if (static_cast<unsigned char>(byte) <= static_cast<unsigned char>(kBlank)) {
      if (EndsLine(byte)) break;
      if (byte == kBlank) continue;
    }
    kept[count++] = byte;  // count <= the byte's index, checked above
  }
  expression.Span().SetLength(count);
  return count == 0;
}

// BuildEchoLine: expression, "=", result text.
void BuildEchoLine(Dialogue& state) {
  CopyText(state.expression, state.echoLine);
  AppendText(kEqualsSign, state.echoLine);
  AppendText(state.evaluation.result, state.echoLine);
}

// ClearOutputs: empties the result text and the echo line.
void ClearOutputs(Dialogue& state) {
  ClearText(state.evaluation.result);
  ClearText(state.echoLine);
}

// Calculate: evaluates a working copy of the expression; the result text tells how it went.
void Calculate(Dialogue& state) {
  CopyText(state.expression, state.evaluation.working);
  ClearOutputs(state);
  (void)EvaluateExpression(state.evaluation);
}

// Delivered: the bytes a read stored into the raw line.
std::span<const char> Delivered(const Dialogue& state, const ReadResult& read) {
  CheckBounds(read.count <= state.rawLine.size());
  return std::span(state.rawLine).first(read.count);
}

int RunDialogue(Dialogue& state, Inputs& inputs) {
  bool showIntro = true;
  while (true) {
    if (showIntro) {
      WriteText(kIntroOperators);
      WriteText(kIntroRange);
    }
    WritePrompt(kPrompt);

    const ReadResult read = inputs.Read(state.rawLine);
    if (read.status != ReadStatus::kLine) return FinishRun(read.status);
    showIntro = CompactInput(Delivered(state, read), state.expression);
    if (showIntro) continue;

    WriteTexts(kExpressionLabel, state.expression, kLineEnd);
    Calculate(state);
    BuildEchoLine(state);
    WriteTexts(kResultLabel, state.evaluation.result, kLineEnd, state.echoLine, kLineEnd, kRule,
               kLineEnd);
  }
}

bool IsErrorWord(std::string_view result) {
  return result == kErrorWord || result == kOverflowWord || result == kResolveItErrorWord;
}

// Evaluated: how many expressions the dialogue would have evaluated in a line so far.
enum class Evaluated : unsigned char { kNone, kOne, kMoreThanOne };

// WriteLineResult: the one line that answers a line of input; returns whether it is an
// error word.
bool WriteLineResult(const Dialogue& state, Evaluated evaluated) {
  switch (evaluated) {
    case Evaluated::kNone:
      WritePlatformLine(kNoResult);
      return false;
    case Evaluated::kOne:
      WritePlatformLine(state.evaluation.result);
      return IsErrorWord(state.evaluation.result.View());
    case Evaluated::kMoreThanOne:
      break;
  }
  WritePlatformLine(kErrorWord);  // a line longer than one read, taken as more than one
  return true;
}

int RunResultsOnly(Dialogue& state, Inputs& inputs, bool& errorWord) {
  Evaluated evaluated = Evaluated::kNone;
  bool lineOpen = false;  // part of a line has arrived without its line end
  while (true) {
    const ReadResult read = inputs.Read(state.rawLine);
    if (read.status != ReadStatus::kLine) {
      if (lineOpen && WriteLineResult(state, evaluated)) errorWord = true;
      return FinishRun(read.status);
    }
    const std::span<const char> delivered = Delivered(state, read);
    if (!CompactInput(delivered, state.expression)) {
      Calculate(state);  // the line's answer is this result, if no other piece has one
      evaluated = evaluated == Evaluated::kNone ? Evaluated::kOne : Evaluated::kMoreThanOne;
    }
    lineOpen = delivered.empty() || delivered.back() != kLineFeed;
    if (lineOpen) continue;
    if (WriteLineResult(state, evaluated)) errorWord = true;
    evaluated = Evaluated::kNone;
  }
}

}  // namespace

int FinishRun(ReadStatus status) {
  FlushOutput();
  RestoreConsole();
  const bool readFailed = status == ReadStatus::kFailed;
  if (readFailed) {
    WriteErrorLine({kCannotRead, FailureReason(Stream::kInput)});
  }
  if (OutputFailed()) {
    WriteErrorLine({kCannotWrite, FailureReason(Stream::kOutput)});
  }
  return readFailed || OutputFailed() ? kExitFailed : kExitInputEnded;
}

int RunCalculator(Answers answers, Inputs& inputs, bool errorWordsFail) {
  bool errorWord = false;
  const int status = answers == Answers::kResultsOnly ? RunResultsOnly(dialogue, inputs, errorWord)
                                                      : RunDialogue(dialogue, inputs);
  if (status != kExitInputEnded) return status;
  if (inputs.AnyFailed()) return kExitFailed;
  return errorWordsFail && errorWord ? kExitErrorWord : kExitInputEnded;
}

int RunCalculator(Answers answers) {
  Inputs standardInput;
  return RunCalculator(answers, standardInput);
}

}  // namespace intcalc
