// Output buffering, shared by every platform: texts are kept and written out in big writes.
#pragma once

#include "text/limits.h"
#include "text/text_buffer.h"

namespace intcalc {

// OutputBuffer: keeps output until a read may block, the buffer fills, or Flush.
class OutputBuffer {
 public:
  static constexpr TextLength kCapacity = kOutputCapacity;

  constexpr OutputBuffer() = default;

  // Append: keeps text, writing out what is kept first when text would not fit beside it.
  void Append(TextView text) {
    if (text.Length() > kCapacity - pending_.Length()) [[unlikely]] {
      AppendAfterFlush(text);
      return;
    }
    AppendText(text, pending_);
  }

  // AppendAll: Append of each text in turn, as one append when they all fit.
  template <typename... Texts>
  void AppendAll(const Texts&... texts) {
    if (!AppendTexts(pending_, texts...)) [[unlikely]] {
      (Append(texts), ...);
    }
  }

  void Flush();
  void Discard() { ClearText(pending_); }

 private:
  void AppendAfterFlush(TextView text);

  TextBuffer<kCapacity> pending_;
};

inline OutputBuffer& PendingOutput() {
  static constinit OutputBuffer pendingOutput;
  return pendingOutput;
}

}  // namespace intcalc
