// Output buffering, shared by every platform: texts are kept and written out in big writes.
#pragma once

#include <cstddef>

#include "text/text_buffer.h"

namespace intcalc {

// kLineEnd: what ends every line the console writes, and every line ReadLine delivers.
inline constexpr ConstantText kLineEnd{"\r\n"};

// OutputBuffer: keeps output until a read may block, the buffer fills, or Flush.
class OutputBuffer {
 public:
  // Large enough that a pipe gets few, big writes; every text of the dialogue is far smaller.
  static constexpr TextLength kCapacity = TextLength{64} * 1024;

  constexpr OutputBuffer() = default;

  // Append: keeps text, writing out what is kept first when text would not fit beside it.
  void Append(TextView text) {
    if (text.Length() > kCapacity - pending_.Length()) [[unlikely]] {
      AppendAfterFlush(text);
      return;
    }
    AppendText(text, pending_);
  }

  // AppendLine: Append of the text, then of the line end.
  void AppendLine(TextView text) {
    Append(text);
    Append(kLineEnd);
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
