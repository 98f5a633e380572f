#include "console/console.h"
#include "console/output_buffer.h"
#include "console/platform.h"

namespace intcalc {

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

void DiscardOutput() {
  PendingOutput().Discard();
}

}  // namespace intcalc
