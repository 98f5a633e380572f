#include "dialogue/main_loop.h"

#include <cstring>

#include "console/console.h"
#include "dialogue/dialogue_texts.h"
#include "eval/flat_reader.h"
#include "eval/parentheses.h"

namespace intcalc {

namespace {

constexpr char kBlank = ' ';
constexpr std::string_view kEqualsSign = "=";

using WorkingBuffer = TextBuffer<kWorkingCapacity>;

// The dialogue's buffers, alive for the whole run and reset for every expression.
constinit RawLine rawLine{};
constinit ExpressionBuffer expression;
constinit WorkingBuffer working;
constinit EchoLineBuffer echoLine;

}  // namespace

bool CompactInput(const RawLine& line, TextSpan destination) {
  // The raw line is never cleared, yet no byte of an earlier line can be reached here:
  // every piece ReadLine delivers either fills all kReadLimit bytes, and the bytes after
  // them are never written and stay NUL, or is shorter and ends with its own LF.
  CheckBounds(line[kReadLimit] == '\0');
  const std::size_t end = std::strcspn(line.data(), "\r\n");  // stops at a NUL as well

  char* const kept = destination.Storage();
  TextLength length = 0;
  for (std::size_t index = 0; index < end; ++index) {
    const char byte = line[index];
    kept[length] = byte;  // a blank stored here is overwritten by the next byte kept
    length += byte != kBlank ? 1U : 0U;
  }
  destination.SetLength(length);
  return length == 0;
}

void BuildEchoLine(TextSpan source, TextSpan result, TextSpan destination) {
  CopyText(source, destination);
  AppendText(kEqualsSign, destination);
  AppendText(result, destination);
}

void ClearOutputs(TextSpan destination) {
  ClearText(ResultText());
  ClearText(destination);
}

int RunCalculator() {
  bool showIntro = true;
  while (true) {
    if (showIntro) {
      WriteText(kIntroOperators);
      WriteText(kIntroRange);
    }
    WriteText(kPrompt);

    const ReadResult read = ReadLine(std::span(rawLine).first(kReadLimit));
    if (read.status != ReadStatus::kLine) {
      FlushOutput();
      return read.status == ReadStatus::kEndOfInput ? kExitInputEnded : kExitReadFailed;
    }
    showIntro = CompactInput(rawLine, expression);
    if (showIntro) continue;

    CopyText(expression, working);
    WriteText(kExpressionLabel);
    WriteLine(expression);
    ClearOutputs(echoLine);
    if (ResolveParentheses(working) == Outcome::kSuccess) {
      (void)EvaluateFlat(working);  // whatever happened, the result text tells it
    }
    BuildEchoLine(expression, ResultText(), echoLine);

    WriteText(kResultLabel);
    WriteLine(ResultText());
    WriteLine(echoLine);
    WriteLine(kRule);
  }
}

}  // namespace intcalc
