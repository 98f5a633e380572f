#include <algorithm>
#include <array>
#include <cstring>

#include "console/console.h"
#include "console/output_buffer.h"
#include "console/platform.h"

namespace intcalc {

namespace {

// The longest message to standard error; what would go past it is cut.
constexpr std::size_t kErrorLineCapacity = 512;

constinit bool outputFailed = false;

}  // namespace

void WriteAllToOutput(std::span<const char> bytes) {
  if (outputFailed) return;
  outputFailed = !WriteAllTo(Stream::kOutput, bytes);
}

bool OutputFailed() {
  return outputFailed;
}

void OutputBuffer::AppendAfterFlush(TextView text) {
  Flush();
  if (text.Length() > kCapacity) {
    WriteAllToOutput(std::string_view(text));
    return;
  }
  AppendText(text, pending_);
}

void OutputBuffer::Flush() {
  if (pending_.Length() == 0) return;
  WriteAllToOutput(pending_.View());
  ClearText(pending_);
}

void FlushOutput() {
  PendingOutput().Flush();
}

void WriteErrorLine(std::initializer_list<std::string_view> parts) {
  // One write for the whole line, so that it is not mixed with other programs' messages.
  static constinit std::array<char, kErrorLineCapacity> line{};
  const std::size_t room = line.size() - std::string_view(kPlatformLineEnd).size();
  std::size_t length = 0;
  for (const std::string_view part : parts) {
    const std::size_t taken = std::min(part.size(), room - length);  // a long part is cut
    if (taken == 0) continue;  // an empty part may have no bytes at all to copy from
    std::memcpy(line.data() + length, part.data(), taken);
    length += taken;
  }
  const std::string_view lineEnd = kPlatformLineEnd;
  std::memcpy(line.data() + length, lineEnd.data(), lineEnd.size());  // length <= room
  (void)WriteAllTo(Stream::kError, std::span(line).first(length + lineEnd.size()));
}

void ResetOutput() {
  PendingOutput().Discard();
  outputFailed = false;
}

}  // namespace intcalc
