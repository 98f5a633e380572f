// LoadText: puts bytes from outside the program's buffers, such as a test's own strings,
// into a text buffer, cut to its capacity.
#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>

#include "text/text_buffer.h"

namespace intcalc {

// ByteAfter: the byte after a buffer's text, which must be its NUL.
template <TextLength kCapacity>
char ByteAfter(const TextBuffer<kCapacity>& buffer) {
  return buffer.View().data()[buffer.Length()];  // within the buffer: its capacity + 1
}

inline void LoadText(std::string_view bytes, TextSpan destination) {
  const auto length = static_cast<TextLength>(
      std::min(bytes.size(), static_cast<std::size_t>(destination.Capacity())));
  std::memcpy(destination.Storage(), bytes.data(), length);  // length <= capacity
  destination.SetLength(length);
}

}  // namespace intcalc
