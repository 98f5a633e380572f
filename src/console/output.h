// The output buffer: answers are kept and written out in big writes.
#pragma once

#include <cstring>
#include <string_view>

#include "text/limits.h"
#include "text/text_buffer.h"

namespace intcalc {

// OutputBuffer: what is written to standard output and not yet written out, and whether a
// write has failed, after which nothing more is written.
class OutputBuffer {
 public:
  static constexpr TextLength kCapacity = kOutputCapacity;

  constexpr OutputBuffer() = default;

  // Keep: adds the texts after what is kept when they all fit, as one append; false,
  // keeping nothing, when they do not.
  template <typename... Texts>
  bool Keep(const Texts&... texts) {
    return AppendTexts(pending_, texts...);
  }
  bool Keep(TextView text) {
    if (text.Length() > kCapacity - pending_.Length()) return false;
    AppendText(text, pending_);
    return true;
  }

  // KeepBytes: the same for bytes that are no text of the program's own.
  bool KeepBytes(std::string_view bytes) {
    const TextSpan pending = pending_;
    if (bytes.size() > kCapacity - pending.Length()) return false;
    if (bytes.empty()) return true;  // an empty view may have no bytes to copy from
    std::memcpy(pending.Storage() + pending.Length(), bytes.data(), bytes.size());  // fits
    pending.SetLength(pending.Length() + static_cast<TextLength>(bytes.size()));
    return true;
  }

  TextView Pending() const { return pending_; }
  void Forget() { ClearText(pending_); }
  bool Failed() const { return failed_; }
  void MarkFailed() { failed_ = true; }

 private:
  TextBuffer<kCapacity> pending_;
  bool failed_ = false;
};

}  // namespace intcalc
