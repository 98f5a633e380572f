#include "dialogue/main_loop.h"

#include "console/console.h"
#include "dialogue/dialogue_texts.h"
#include "eval/expression.h"

namespace intcalc {

namespace {

constexpr ConstantText kEqualsSign{"="};

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

int RunCalculator() {
  bool showIntro = true;
  while (true) {
    if (showIntro) {
      WriteText(kIntroOperators);
      WriteText(kIntroRange);
    }
    WriteText(kPrompt);

    const ReadResult read = ReadLine(rawLineBuffer);
    if (read.status != ReadStatus::kLine) {
      FlushOutput();
      return read.status == ReadStatus::kEndOfInput ? kExitInputEnded : kExitReadFailed;
    }
    CheckBounds(read.count <= rawLineBuffer.size());
    showIntro = CompactInput(std::span(rawLineBuffer).first(read.count), expressionBuffer);
    if (showIntro) continue;

    CopyText(expressionBuffer, workingBuffer);
    WriteText(kExpressionLabel);
    WriteLine(expressionBuffer);
    ClearOutputs(echoLineBuffer);
    (void)EvaluateExpression(workingBuffer);  // whatever happened, the result text tells it
    BuildEchoLine(expressionBuffer, ResultText(), echoLineBuffer);

    WriteText(kResultLabel);
    WriteLine(ResultText());
    WriteLine(echoLineBuffer);
    WriteLine(kRule);
  }
}

}  // namespace intcalc
