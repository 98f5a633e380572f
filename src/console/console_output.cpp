// Output buffering, shared by every platform.
#include <array>
#include <cstring>

#include "console/console.h"
#include "console/platform.h"

namespace intcalc {

namespace {

// Large enough that a pipe gets few, big writes; every text of the dialogue is far smaller.
constexpr std::size_t kOutputCapacity = 64 * 1024;
constexpr std::string_view kLineEnd = "\r\n";

constinit std::array<char, kOutputCapacity> pendingOutput{};
constinit std::size_t pendingLength = 0;

}  // namespace

std::size_t WriteText(std::string_view text) {
  if (text.size() > kOutputCapacity - pendingLength) {
    FlushOutput();
    if (text.size() > kOutputCapacity) {
      WriteAllToOutput(text);
      return text.size();
    }
  }
  std::memcpy(pendingOutput.data() + pendingLength, text.data(), text.size());
  pendingLength += text.size();
  return text.size();
}

void WriteLine(std::string_view text) {
  WriteText(text);
  WriteText(kLineEnd);
}

void FlushOutput() {
  if (pendingLength == 0) return;
  const std::size_t length = pendingLength;
  pendingLength = 0;
  WriteAllToOutput(std::span(pendingOutput).first(length));
}

void DiscardOutput() {
  pendingLength = 0;
}

}  // namespace intcalc
