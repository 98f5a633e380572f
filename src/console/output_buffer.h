// Output buffering, shared by every platform: texts are kept and written out in big writes.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "text/move_bytes.h"

namespace intcalc {

// kLineEnd: what ends every line the console writes, and every line ReadLine delivers.
inline constexpr std::string_view kLineEnd = "\r\n";

// OutputBuffer: keeps output until a read may block, the buffer fills, or Flush.
class OutputBuffer {
 public:
  // Large enough that a pipe gets few, big writes; every text of the dialogue is far smaller.
  static constexpr std::size_t kCapacity = std::size_t{64} * 1024;

  constexpr OutputBuffer() = default;

  // Append: keeps text, writing out what is kept first when text would not fit beside it.
  std::size_t Append(std::string_view text) { return AppendWith<MoveBytes>(text); }

  // AppendPadded: Append of a text with kPaddedBlock readable bytes from its start.
  std::size_t AppendPadded(std::string_view text) { return AppendWith<MovePadded>(text); }

  // AppendLine and AppendPaddedLine: the same, then the line end CR LF, in one step.
  void AppendLine(std::string_view text) { AppendLineWith<MoveBytes>(text); }
  void AppendPaddedLine(std::string_view text) { AppendLineWith<MovePadded>(text); }

  void Flush();
  void Discard() { length_ = 0; }

 private:
  template <void (*kMove)(char*, const char*, std::size_t)>
  std::size_t AppendWith(std::string_view text) {
    if (text.size() > kCapacity - length_) [[unlikely]] {
      return AppendAfterFlush(text);
    }
    kMove(bytes_.data() + length_, text.data(), text.size());
    length_ += text.size();
    return text.size();
  }

  template <void (*kMove)(char*, const char*, std::size_t)>
  void AppendLineWith(std::string_view text) {
    if (text.size() + kLineEnd.size() > kCapacity - length_) [[unlikely]] {
      AppendWith<kMove>(text);
      AppendWith<MoveBytes>(kLineEnd);
      return;
    }
    char* const end = bytes_.data() + length_;
    kMove(end, text.data(), text.size());
    std::memcpy(end + text.size(), kLineEnd.data(), kLineEnd.size());
    length_ += text.size() + kLineEnd.size();
  }

  std::size_t AppendAfterFlush(std::string_view text);

  // The padding lets a padded append move a whole block at the very end of the text kept.
  std::array<char, kCapacity + kPaddedBlock> bytes_{};
  std::size_t length_ = 0;
};

inline OutputBuffer& PendingOutput() {
  static constinit OutputBuffer pendingOutput;
  return pendingOutput;
}

}  // namespace intcalc
