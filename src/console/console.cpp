// The console's reading, on every platform: what ReadLine reads (standard input, a file,
// or a text in memory), each split into lines by the one line splitter, or, where a person
// types at a terminal or console, the lines they edit.
#include "console/console.h"

#include <algorithm>
#include <cstring>

namespace intcalc {

namespace {

// Chunks: the raw reads behind the splitter, from the source ReadLine reads now. A read
// that may wait passes the one rule before it: a file's too, as a named pipe may wait.
// Final, and never deleted through its base.
// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor)
class Chunks final : public ChunkSource {
 public:
  explicit Chunks(Console& console) : console_(console) {}

  ReadResult ReadChunk(std::span<char> destination) override {
    InputState& input = console_.input;
    switch (input.source) {
      case Source::kText: {
        const std::size_t count = std::min(destination.size(), input.textLeft.size());
        if (count == 0) return {ReadStatus::kEndOfInput, 0};
        std::memcpy(destination.data(), input.textLeft.data(), count);
        input.textLeft.remove_prefix(count);
        return {ReadStatus::kPiece, count};
      }
      case Source::kFile:
        if (!ReadyToWait(console_)) return {ReadStatus::kWriteFailed, 0};
        return ReadInputFile(console_.platform, destination);
      case Source::kStandardInput:
        PrepareStandardInput(console_.platform, input.standardInput);
        if (!ReadyToWait(console_)) return {ReadStatus::kWriteFailed, 0};
        return ReadStandardInput(console_.platform, input.standardInput, destination);
      case Source::kNothing:
        break;
    }
    return {ReadStatus::kEndOfInput, 0};
  }

 private:
  Console& console_;
};

// Switch: from here on ReadLine reads `next`, split afresh; a file read before is closed.
void Switch(Console& console, Source next) {
  InputState& input = console.input;
  if (input.source == Source::kFile) CloseInputFile(console.platform);
  input.source = next;
  // What was read of a file or a text before a failure is answered; standard input keeps
  // the dialogue's own rule.
  input.splitter.Reset(next != Source::kStandardInput);
}

}  // namespace

void ReadFromStandardInput(Console& console) {
  Switch(console, Source::kStandardInput);
}

bool ReadFromFile(Console& console, const char* name) {
  Switch(console, Source::kFile);
  if (OpenInputFile(console.platform, name)) return true;
  console.input.source = Source::kNothing;
  return false;
}

void ReadFromText(Console& console, std::string_view text) {
  Switch(console, Source::kText);
  console.input.textLeft = text;
}

void ReadNothing(Console& console) {
  Switch(console, Source::kNothing);
}

ReadResult ReadLine(Console& console, std::span<char> buffer) {
  InputState& input = console.input;
  if (input.source == Source::kStandardInput) {
    if (input.standardInput == InputKind::kUnknown) {
      input.standardInput = StandardInputKind(console.platform);
    }
    if (input.standardInput == InputKind::kInteractive) return ReadInteractiveLine(console, buffer);
  }
  Chunks chunks(console);
  return input.splitter.NextPiece(buffer, chunks);
}

bool KeysCanBeWaitedFor(Console& console) {
  return KeysCanBeWaitedFor(console.platform);
}

KeyRead ReadKey(Console& console) {
  return ReadInteractiveKey(console);
}

void RestoreConsole(Console& console) {
  RestorePlatform(console.platform);
}

}  // namespace intcalc
