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

// ReportFailed: the input read now, named with the system's reason why it failed.
void Inputs::ReportFailed(Console& console) {
  console.WriteMessage({current_, ": ", console.FailureReason(Stream::kInput)});
  anyFailed_ = true;
}

bool Inputs::OpenNext(Console& console) {
  if (!named_) {
    if (standardInputDone_) return false;
    standardInputDone_ = true;
    console.ReadFromStandardInput();
    return true;
  }
  std::string_view text;
  if (NextOf(expressions_, Argument::Kind::kExpression, text)) {
    console.ReadFromText(text);
    return true;
  }
  while (NextOf(files_, Argument::Kind::kOperand, text)) {
    current_ = text;
    if (text == kStandardInputName) {
      console.ReadFromStandardInput();
      return true;
    }
    if (console.ReadFromFile(text.data())) return true;  // an argument's text ends with its NUL
    ReportFailed(console);
  }
  return false;
}

ReadResult Inputs::Read(Console& console, std::span<char> buffer) {
  while (true) {
    if (!reading_) {
      if (!OpenNext(console)) {
        console.ReadNothing();
        return ReadResult::Ended();
      }
      reading_ = true;
    }
    const ReadResult read = console.ReadLine(buffer);
    if (read.status == ReadStatus::kPiece || read.status == ReadStatus::kWriteFailed) return read;
    reading_ = false;
    if (read.status == ReadStatus::kFailed) {
      if (!named_) return read;
      ReportFailed(console);
    }
  }
}

}  // namespace intcalc
