// The console's reading, on every platform: what ReadLine reads (standard input, a file,
// or a text in memory), each split into lines by the one line splitter, or, where a person
// types at a terminal or console, the lines they edit.
#include "console/console.h"

#include <algorithm>
#include <cstring>

namespace intcalc {

// Chunks: the raw reads behind the splitter, from the source ReadLine reads now. A read
// that may wait passes the one rule before it: a file's too, as a named pipe may wait.
// A failed read's reason is kept for FailureReason. Final, and never deleted through its
// base.
// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor)
class Console::Chunks final : public ChunkSource {
 public:
  explicit Chunks(Console& console) : console_(console) {}

  ReadResult ReadChunk(std::span<char> destination) override {
    const ReadResult read = Read(destination);
    if (read.status == ReadStatus::kFailed) console_.readError_ = read.error;
    return read;
  }

 private:
  ReadResult Read(std::span<char> destination) {
    Console& console = console_;
    switch (console.source_) {
      case Source::kText: {
        const std::size_t count = std::min(destination.size(), console.textLeft_.size());
        if (count == 0) return ReadResult::Ended();
        std::memcpy(destination.data(), console.textLeft_.data(), count);
        console.textLeft_.remove_prefix(count);
        return ReadResult::Piece(count);
      }
      case Source::kFile:
        if (!console.output_.ReadyToWait()) return ReadResult::WriteFailed();
        return ReadInputFile(console.file_, destination);
      case Source::kStandardInput:
        if (const std::size_t held = TakeKeysHeld(console.interactive_, destination)) {
          return ReadResult::Piece(held);  // keys that came while a key was waited for
        }
        PrepareStandardInput(console.platform_, console.standardInput_);
        if (!console.output_.ReadyToWait()) return ReadResult::WriteFailed();
        return ReadStandardInput(console.platform_, console.standardInput_, destination);
      case Source::kNothing:
        break;
    }
    return ReadResult::Ended();
  }

  Console& console_;
};

// Switch: from here on ReadLine reads `next`, split afresh; a file read before is closed.
void Console::Switch(Source next) {
  if (source_ == Source::kFile) CloseInputFile(file_);
  source_ = next;
  // What was read of a file or a text before a failure is answered; standard input keeps
  // the dialogue's own rule.
  splitter_.Reset(next != Source::kStandardInput);
}

void Console::ReadFromStandardInput() {
  Switch(Source::kStandardInput);
}

bool Console::ReadFromFile(const char* name) {
  Switch(Source::kFile);
  readError_ = OpenInputFile(file_, name);
  if (readError_ == 0) return true;
  source_ = Source::kNothing;
  return false;
}

void Console::ReadFromText(std::string_view text) {
  Switch(Source::kText);
  textLeft_ = text;
}

void Console::ReadNothing() {
  Switch(Source::kNothing);
}

ReadResult Console::ReadLine(std::span<char> buffer) {
  if (source_ == Source::kStandardInput) {
    if (standardInput_ == InputKind::kUnknown) standardInput_ = StandardInputKind();
    if (standardInput_ == InputKind::kInteractive) {
      const ReadResult read =
          ReadInteractiveLine(interactive_, output_, platform_, prompt_, buffer);
      if (read.status == ReadStatus::kFailed) readError_ = read.error;
      return read;
    }
  }
  Chunks chunks(*this);
  return splitter_.NextPiece(buffer, chunks);
}

KeyRead Console::ReadKey() {
  return ReadInteractiveKey(interactive_, output_, platform_);
}

std::string_view Console::FailureReason(Stream stream) {
  return SystemReason(stream == Stream::kInput ? readError_ : output_.Error(), reason_);
}

}  // namespace intcalc
