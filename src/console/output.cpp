// Writing, on every platform: the output buffer written out, and the messages on standard
// error.
#include "console/output.h"

#include <algorithm>

namespace intcalc {

// WriteAll: every byte to the stream, short writes completed; false when a write failed
// outright, which loses the rest; the reason is kept for standard output.
bool Output::WriteAll(Stream stream, std::string_view bytes) {
  while (!bytes.empty()) {
    const Written written = WriteSome(state_, stream, bytes);
    if (written.count == 0) {
      if (stream == Stream::kOutput) error_ = written.error;
      return false;
    }
    bytes.remove_prefix(std::min(written.count, bytes.size()));
  }
  return true;
}

// WriteOut: WriteAll to standard output, unless output has failed before; a failure marks
// the output failed.
void Output::WriteOut(std::string_view bytes) {
  if (failed_) return;
  if (!WriteAll(Stream::kOutput, bytes)) failed_ = true;
}

void Output::Flush() {
  WriteOut(pending_.View());
  ClearText(pending_);
}

bool Output::ReadyToWait() {
  Flush();
  return !failed_;
}

void Output::KeepAfterFlush(std::initializer_list<TextView> texts) {
  for (const TextView text : texts) {
    if (text.Length() <= kCapacity - pending_.Length()) {
      AppendText(text, pending_);
      continue;
    }
    Flush();
    if (text.Length() <= kCapacity) {
      AppendText(text, pending_);
    } else {
      WriteOut(text);  // more than the buffer holds
    }
  }
}

bool Output::KeepBytes(std::string_view bytes) {
  const TextSpan pending = pending_;
  if (bytes.size() > kCapacity - pending.Length()) return false;
  if (bytes.empty()) return true;  // an empty view may have no bytes to copy from
  std::memcpy(pending.Storage() + pending.Length(), bytes.data(), bytes.size());  // fits
  pending.SetLength(pending.Length() + static_cast<TextLength>(bytes.size()));
  return true;
}

void Output::WriteBytes(std::string_view bytes) {
  if (KeepBytes(bytes)) return;
  Flush();
  if (!KeepBytes(bytes)) WriteOut(bytes);
}

bool Output::WriteErrorLine(std::initializer_list<std::string_view> parts) {
  return WriteToError({}, parts);
}

bool Output::WriteMessage(std::initializer_list<std::string_view> parts) {
  return WriteToError(kMessageStart, parts);
}

bool Output::WriteToError(std::string_view start, std::initializer_list<std::string_view> parts) {
  // One write for the whole line, so that it is not mixed with other programs' messages.
  const std::string_view lineEnd = kPlatformLineEnd;
  errorLine_.Assign(start);
  for (const std::string_view part : parts) {
    errorLine_.Append(Part(part, 0, std::min(part.size(), errorLine_.Room() - lineEnd.size())));
  }
  errorLine_.Append(lineEnd);
  return WriteAll(Stream::kError, errorLine_.View());
}

}  // namespace intcalc
