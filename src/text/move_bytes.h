// MoveBytes: memmove for the short texts of this program, mostly without a library call.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

namespace intcalc {

namespace detail {

// Blocks the compiler moves with vector registers; a `rep movs` would cost more than
// the whole copy at these lengths.
using Block16 = std::array<std::uint64_t, 2>;
using Block32 = std::array<std::uint64_t, 4>;

// MoveWords: moves 2 * sizeof(Word) bytes or fewer, but at least sizeof(Word), as two
// possibly overlapping words; both are loaded before either is stored, so source and
// destination may overlap.
template <typename Word>
inline void MoveWords(char* destination, const char* source, std::size_t count) {
  Word head{};
  Word tail{};
  std::memcpy(&head, source, sizeof(Word));
  std::memcpy(&tail, source + count - sizeof(Word), sizeof(Word));
  std::memcpy(destination, &head, sizeof(Word));
  std::memcpy(destination + count - sizeof(Word), &tail, sizeof(Word));
}

}  // namespace detail

inline void MoveBytes(char* destination, const char* source, std::size_t count) {
  constexpr std::size_t kLongest = 2 * sizeof(detail::Block32);
  if (count > kLongest) {
    std::memmove(destination, source, count);
  } else if (count > sizeof(detail::Block32)) {
    detail::MoveWords<detail::Block32>(destination, source, count);
  } else if (count >= sizeof(detail::Block16)) {
    detail::MoveWords<detail::Block16>(destination, source, count);
  } else if (count >= sizeof(std::uint64_t)) {
    detail::MoveWords<std::uint64_t>(destination, source, count);
  } else if (count >= sizeof(std::uint32_t)) {
    detail::MoveWords<std::uint32_t>(destination, source, count);
  } else if (count >= sizeof(std::uint16_t)) {
    detail::MoveWords<std::uint16_t>(destination, source, count);
  } else if (count == 1) {
    *destination = *source;
  }
}

// kPaddedBlock: what MovePadded may read past source and write past destination.
inline constexpr std::size_t kPaddedBlock = sizeof(detail::Block32);

// MovePadded: MoveBytes for a source and a destination that both have kPaddedBlock bytes
// from their start, whatever `count`: a short text moves as one block, with no branch
// on its length.
inline void MovePadded(char* destination, const char* source, std::size_t count) {
  if (count <= kPaddedBlock) {
    detail::MoveWords<detail::Block32>(destination, source, kPaddedBlock);
  } else {
    MoveBytes(destination, source, count);
  }
}

}  // namespace intcalc
