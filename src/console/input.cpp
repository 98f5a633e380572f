// The platform-neutral half of the console's input: what ReadLine reads (standard input,
// a file, or a text in memory), each split into lines by the one line splitter, and the
// platform's own line reading where standard input edits its own lines.
#include <algorithm>
#include <cstring>
#include <span>
#include <string_view>

#include "console/console.h"
#include "console/platform.h"
#include "editor/line_splitter.h"

namespace intcalc {

namespace {

enum class Source : unsigned char { kStandardInput, kFile, kText };

constinit LineSplitter splitter;
constinit Source source = Source::kStandardInput;
constinit std::string_view textLeft;  // the text's, while one is read

// ReadTextChunk: what of the text fits.
ReadResult ReadTextChunk(std::span<char> destination) {
  const std::size_t count = std::min(destination.size(), textLeft.size());
  if (count == 0) return {ReadStatus::kEndOfInput, 0};
  std::memcpy(destination.data(), textLeft.data(), count);
  textLeft.remove_prefix(count);
  return {ReadStatus::kLine, count};
}

// ReadFileChunk: a file's next chunk, after what was answered went out, as before any read
// that may wait (a named pipe may).
ReadResult ReadFileChunk(std::span<char> destination) {
  FlushOutput();
  if (OutputFailed()) return {ReadStatus::kWriteFailed, 0};
  return ReadInputFile(destination);
}

// Switch: from here on ReadLine reads `next`, split afresh; a file read before is closed.
void Switch(Source next) {
  if (source == Source::kFile) CloseInputFile();
  source = next;
  // What was read of a file or a text before a failure is answered; standard input keeps
  // the dialogue's own rule.
  splitter.Reset(next != Source::kStandardInput);
}

}  // namespace

void ReadFromStandardInput() {
  Switch(Source::kStandardInput);
}

bool ReadFromFile(const char* name) {
  Switch(Source::kFile);
  return OpenInputFile(name);  // when it fails, nothing reads it: the next switch comes first
}

void ReadFromText(std::string_view text) {
  Switch(Source::kText);
  textLeft = text;
}

void ResetInput() {
  Switch(Source::kStandardInput);
}

ReadResult ReadLine(std::span<char> buffer) {
  if (OutputFailed()) return {ReadStatus::kWriteFailed, 0};
  switch (source) {
    case Source::kFile:
      return splitter.NextPiece(buffer, ReadFileChunk);
    case Source::kText:
      return splitter.NextPiece(buffer, ReadTextChunk);
    case Source::kStandardInput:
      break;
  }
  if (StandardInputReadsLines()) return ReadStandardInputLine(buffer);
  return splitter.NextPiece(buffer, ReadStandardInputChunk);
}

}  // namespace intcalc
