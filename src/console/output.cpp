// The platform-neutral half of the console's output: the output buffer, the one loop that
// writes all of a buffer, and the messages on standard error.
#include "console/output.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "console/console.h"
#include "console/platform.h"

namespace intcalc {

namespace {

constinit bool outputFailed = false;

}  // namespace

bool WriteAll(Stream stream, std::span<const char> bytes) {
  while (!bytes.empty()) {
    const std::size_t written = WriteSome(stream, bytes);
    if (written == 0) return false;
    bytes = bytes.subspan(std::min(written, bytes.size()));
  }
  return true;
}

void WriteAllToOutput(std::span<const char> bytes) {
  if (outputFailed) return;
  outputFailed = !WriteAll(Stream::kOutput, bytes);
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
  WriteAllToOutput(pending_.View());
  ClearText(pending_);
}

void FlushOutput() {
  PendingOutput().Flush();
}

bool WriteErrorLine(std::initializer_list<std::string_view> parts) {
  // One write for the whole line, so that it is not mixed with other programs' messages.
  static constinit std::array<char, kErrorLineCapacity> line{};
  const std::string_view lineEnd = kPlatformLineEnd;
  const std::size_t room = line.size() - lineEnd.size();
  std::size_t length = 0;
  for (const std::string_view part : parts) {
    const std::size_t taken = std::min(part.size(), room - length);  // a long part is cut
    if (taken == 0) continue;  // an empty part may have no bytes at all to copy from
    std::memcpy(line.data() + length, part.data(), taken);
    length += taken;
  }
  std::memcpy(line.data() + length, lineEnd.data(), lineEnd.size());  // length <= room
  return WriteAll(Stream::kError, std::span(line).first(length + lineEnd.size()));
}

void ResetOutput() {
  PendingOutput().Discard();
  outputFailed = false;
}

}  // namespace intcalc
