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

bool Inputs::OpenNext(Console& console) {
  if (!named_) {
    if (standardInputDone_) return false;
    standardInputDone_ = true;
    ReadFromStandardInput(console);
    return true;
  }
  std::string_view text;
  if (NextOf(expressions_, Argument::Kind::kExpression, text)) {
    ReadFromText(console, text);
    return true;
  }
  while (NextOf(files_, Argument::Kind::kOperand, text)) {
    current_ = text;
    if (text == kStandardInputName) {
      ReadFromStandardInput(console);
      return true;
    }
    if (ReadFromFile(console, text.data())) return true;  // an argument's text ends with its NUL
    WriteErrorLine(console, {"intcalc: ", text, ": ", FailureReason(console, Stream::kInput)});
    anyFailed_ = true;
  }
  return false;
}

ReadResult Inputs::Read(Console& console, std::span<char> buffer) {
  while (true) {
    if (!reading_ && !OpenNext(console)) {
      ReadNothing(console);
      return {ReadStatus::kEndOfInput, 0};
    }
    reading_ = true;
    const ReadResult read = ReadLine(console, buffer);
    if (read.status == ReadStatus::kPiece || read.status == ReadStatus::kWriteFailed) return read;
    reading_ = false;
    if (read.status == ReadStatus::kFailed) {
      if (!named_) return read;
      WriteErrorLine(console,
                     {"intcalc: ", current_, ": ", FailureReason(console, Stream::kInput)});
      anyFailed_ = true;
    }
  }
}

}  // namespace intcalc
