#include "dialogue/main_loop.h"

#include <algorithm>

#include "console/console.h"
#include "dialogue/dialogue_texts.h"
#include "eval/expression.h"

namespace intcalc {

namespace {

constexpr ConstantText kEqualsSign{"="};
constexpr ConstantText kNoResult{""};
constexpr std::string_view kCannotRead = "intcalc: cannot read standard input: ";
constexpr std::string_view kCannotWrite = "intcalc: cannot write to standard output: ";
constexpr char kLineFeed = '\n';
constexpr std::uint32_t kMoreThanOne = 2;

constexpr bool EndsLine(char byte) {
  return byte == '\0' || byte == '\r' || byte == '\n';
}

using WorkingBuffer = TextBuffer<kWorkingCapacity>;

// The dialogue's buffers, alive for the whole run and reset for every expression.
constinit RawLine rawLineBuffer{};
constinit ExpressionBuffer expressionBuffer;
constinit WorkingBuffer workingBuffer;
constinit EchoLineBuffer echoLineBuffer;

}  // namespace

bool CompactInput(std::span<const char> delivered, TextSpan expression) {
  CheckBounds(delivered.size() <= expression.Capacity());
  char* const kept = expression.Storage();
  TextLength count = 0;
  for (const char byte : delivered) {
    if (EndsLine(byte)) break;
    if (byte != kBlank) kept[count++] = byte;  // count < delivered.size(), checked above
  }
  expression.SetLength(count);
  return count == 0;
}

void BuildEchoLine(TextSpan expression, TextSpan result, TextSpan echoLine) {
  CopyText(expression, echoLine);
  AppendText(kEqualsSign, echoLine);
  AppendText(result, echoLine);
}

void ClearOutputs(TextSpan echoLine) {
  ClearText(ResultText());
  ClearText(echoLine);
}

namespace {

// Calculate: evaluates a working copy of the expression buffer; the result text tells how
// it went.
void Calculate() {
  CopyText(expressionBuffer, workingBuffer);
  ClearOutputs(echoLineBuffer);
  (void)EvaluateExpression(workingBuffer);
}

// Delivered: the bytes a read stored into the raw line.
std::span<const char> Delivered(const ReadResult& read) {
  CheckBounds(read.count <= rawLineBuffer.size());
  return std::span(rawLineBuffer).first(read.count);
}

int RunDialogue() {
  bool showIntro = true;
  while (true) {
    if (showIntro) {
      WriteText(kIntroOperators);
      WriteText(kIntroRange);
    }
    WriteText(kPrompt);

    const ReadResult read = ReadLine(rawLineBuffer);
    if (read.status != ReadStatus::kLine) return FinishRun(read.status);
    showIntro = CompactInput(Delivered(read), expressionBuffer);
    if (showIntro) continue;

    WriteText(kExpressionLabel);
    WriteLine(expressionBuffer);
    Calculate();
    BuildEchoLine(expressionBuffer, ResultText(), echoLineBuffer);

    WriteText(kResultLabel);
    WriteLine(ResultText());
    WriteLine(echoLineBuffer);
    WriteLine(kRule);
  }
}

// WriteLineResult: the one line that answers a line of input in which the dialogue would
// have evaluated `expressions` expressions.
void WriteLineResult(std::uint32_t expressions) {
  if (expressions == 0) {
    WritePlatformLine(kNoResult);
  } else if (expressions == 1) {
    WritePlatformLine(ResultText());
  } else {
    WritePlatformLine(kErrorWord);  // a line longer than one read, taken as more than one
  }
}

int RunResultsOnly() {
  std::uint32_t expressions = 0;  // evaluated in the line so far, counted up to two
  bool lineOpen = false;          // part of a line has arrived without its line end
  while (true) {
    const ReadResult read = ReadLine(rawLineBuffer);
    if (read.status != ReadStatus::kLine) {
      if (lineOpen) WriteLineResult(expressions);
      return FinishRun(read.status);
    }
    const std::span<const char> delivered = Delivered(read);
    if (!CompactInput(delivered, expressionBuffer)) {
      Calculate();  // every piece is evaluated, so the shared state moves as in the dialogue
      expressions = std::min(expressions + 1, kMoreThanOne);
    }
    lineOpen = delivered.empty() || delivered.back() != kLineFeed;
    if (lineOpen) continue;
    WriteLineResult(expressions);
    expressions = 0;
  }
}

}  // namespace

int FinishRun(ReadStatus status) {
  FlushOutput();
  const bool readFailed = status == ReadStatus::kFailed;
  if (readFailed) {
    WriteErrorLine({kCannotRead, FailureReason(Stream::kInput)});
  }
  if (OutputFailed()) {
    WriteErrorLine({kCannotWrite, FailureReason(Stream::kOutput)});
  }
  return readFailed || OutputFailed() ? kExitFailed : kExitInputEnded;
}

int RunCalculator(Answers answers) {
  return answers == Answers::kResultsOnly ? RunResultsOnly() : RunDialogue();
}

}  // namespace intcalc
