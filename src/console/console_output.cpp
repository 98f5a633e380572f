#include "console/console.h"
#include "console/output_buffer.h"
#include "console/platform.h"

namespace intcalc {

std::size_t OutputBuffer::AppendAfterFlush(std::string_view text) {
  Flush();
  if (text.size() > kCapacity) {
    WriteAllToOutput(text);
    return text.size();
  }
  return Append(text);
}

void OutputBuffer::Flush() {
  if (length_ == 0) return;
  const std::size_t length = length_;
  length_ = 0;
  WriteAllToOutput(std::span(bytes_).first(length));
}

void FlushOutput() {
  PendingOutput().Flush();
}

void DiscardOutput() {
  PendingOutput().Discard();
}

}  // namespace intcalc
