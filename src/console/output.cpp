// The console's writing, on every platform: the output buffer written out, the one rule
// before a read that may wait, and the messages on standard error.
#include <algorithm>

#include "console/console.h"
#include "console/platform.h"

namespace intcalc {

namespace {

// WriteAll: every byte to the stream, short writes completed; false when a write failed
// outright, which loses the rest.
bool WriteAll(PlatformState& platform, Stream stream, std::span<const char> bytes) {
  while (!bytes.empty()) {
    const std::size_t written = WriteSome(platform, stream, bytes);
    if (written == 0) return false;
    bytes = bytes.subspan(std::min(written, bytes.size()));
  }
  return true;
}

// WriteToOutput: WriteAll to standard output, unless output has failed before; a failure
// marks the output failed.
void WriteToOutput(Console& console, std::string_view bytes) {
  if (console.output.Failed()) return;
  if (!WriteAll(console.platform, Stream::kOutput, bytes)) console.output.MarkFailed();
}

}  // namespace

void FlushOutput(Console& console) {
  WriteToOutput(console, console.output.Pending());
  console.output.Forget();
}

bool ReadyToWait(Console& console) {
  FlushOutput(console);
  return !console.output.Failed();
}

void KeepAfterFlush(Console& console, std::initializer_list<TextView> texts) {
  for (const TextView text : texts) {
    if (console.output.Keep(text)) continue;
    FlushOutput(console);
    if (!console.output.Keep(text)) WriteToOutput(console, text);  // more than the buffer holds
  }
}

void WriteBytes(Console& console, std::string_view bytes) {
  if (console.output.KeepBytes(bytes)) return;
  FlushOutput(console);
  if (!console.output.KeepBytes(bytes)) WriteToOutput(console, bytes);
}

void WritePrompt(Console& console, TextView prompt) {
  WriteLine(console, prompt);
  console.prompt = prompt;
}

bool WriteErrorLine(Console& console, std::initializer_list<std::string_view> parts) {
  // One write for the whole line, so that it is not mixed with other programs' messages.
  BoundedArray<char, kErrorLineCapacity>& line = console.errorLine;
  const std::string_view lineEnd = kPlatformLineEnd;
  line.Clear();
  for (const std::string_view part : parts) {
    line.Append(Part(part, 0, std::min(part.size(), line.Room() - lineEnd.size())));  // cut
  }
  line.Append(lineEnd);
  return WriteAll(console.platform, Stream::kError, line.View());
}

std::string_view FailureReason(Console& console, Stream stream) {
  return FailureReason(console.platform, stream);
}

}  // namespace intcalc
