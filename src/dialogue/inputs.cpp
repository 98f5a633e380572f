#include "dialogue/inputs.h"

namespace intcalc {

namespace {

constexpr std::string_view kStandardInputName = "-";

// NextOf: the next argument of `kind` from `reader`.
bool NextOf(ArgumentReader& reader, Argument::Kind kind, std::string_view& text) {
  Argument argument;
  while (reader.Next(argument)) {
    if (argument.kind == kind) {
      text = argument.text;
      return true;
    }
  }
  return false;
}

}  // namespace

Inputs::Inputs(std::span<const char* const> arguments)
    : expressions_(arguments), operands_(arguments) {
  ArgumentReader reader(arguments);
  Argument argument;
  while (reader.Next(argument)) {
    named_ = named_ || argument.kind == Argument::Kind::kExpression ||
             argument.kind == Argument::Kind::kOperand;
  }
}

bool Inputs::OpenNext() {
  if (!named_) {
    if (standardInputDone_) return false;
    standardInputDone_ = true;
    ReadFromStandardInput();
    return true;
  }
  std::string_view text;
  if (NextOf(expressions_, Argument::Kind::kExpression, text)) {
    ReadFromText(text);
    return true;
  }
  while (NextOf(operands_, Argument::Kind::kOperand, text)) {
    current_ = text;
    if (text == kStandardInputName) {
      ReadFromStandardInput();
      return true;
    }
    if (ReadFromFile(text.data())) return true;  // an argument's text ends with its NUL
    WriteErrorLine({"intcalc: ", text, ": ", FailureReason(Stream::kInput)});
    anyFailed_ = true;
  }
  return false;
}

ReadResult Inputs::Read(std::span<char> buffer) {
  while (true) {
    if (!reading_ && !OpenNext()) {
      ReadFromStandardInput();  // nothing is left open
      return {ReadStatus::kEndOfInput, 0};
    }
    reading_ = true;
    const ReadResult read = ReadLine(buffer);
    if (read.status == ReadStatus::kLine || read.status == ReadStatus::kWriteFailed) return read;
    reading_ = false;
    if (read.status == ReadStatus::kFailed) {
      if (!named_) return read;
      WriteErrorLine({"intcalc: ", current_, ": ", FailureReason(Stream::kInput)});
      anyFailed_ = true;
    }
  }
}

}  // namespace intcalc
