// Digit runs eight bytes at a time: how many digits open a chunk, and what they are worth.
// The first byte of a chunk is its lowest, so these work where words are little-endian;
// elsewhere the callers read digits one by one.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace intcalc {

using DigitChunk = std::uint64_t;

inline constexpr unsigned kChunkBytes = sizeof(DigitChunk);
inline constexpr bool kChunksWork = std::endian::native == std::endian::little;

// EachByte: the chunk with every byte equal to `byte`.
constexpr DigitChunk EachByte(std::uint8_t byte) {
  return 0x0101010101010101ULL * byte;
}

inline DigitChunk LoadChunk(const char* bytes) {
  DigitChunk chunk = 0;
  std::memcpy(&chunk, bytes, kChunkBytes);
  return chunk;
}

inline void StoreChunk(char* bytes, DigitChunk chunk) {
  std::memcpy(bytes, &chunk, kChunkBytes);
}

// LeadingDigitCount: how many bytes before the first one that is not '0' to '9' (8 if none).
// Each byte is tested without a carry reaching its neighbour: the top bit is set aside
// and the remaining seven bits can take the added offsets.
inline unsigned LeadingDigitCount(DigitChunk chunk) {
  constexpr DigitChunk kTopBits = EachByte(0x80);
  const DigitChunk low = chunk & EachByte(0x7F);
  const DigitChunk atLeastZero = (low + EachByte(0x80 - '0')) & kTopBits;
  const DigitChunk aboveNine = (low + EachByte(0x80 - '9' - 1)) & kTopBits;
  const DigitChunk notDigit = (chunk & kTopBits) | (atLeastZero ^ kTopBits) | aboveNine;
  return notDigit == 0 ? kChunkBytes : static_cast<unsigned>(std::countr_zero(notDigit)) / 8;
}

// KeepLeadingBytes: the first `count` bytes of the chunk, the rest made NUL.
inline DigitChunk KeepLeadingBytes(DigitChunk chunk, unsigned count) {
  const unsigned half = 4 * count;  // two shifts, as one shift by 64 would be undefined
  return chunk & ~((~DigitChunk{0} << half) << half);
}

// ChunkValue: the value of the first `count` bytes, all digits, 1 <= count <= 8.
// Shifting drops the bytes after the digits and puts zeros, leading zeros, before them;
// then neighbours are combined into pairs, fours and the eight.
inline std::uint32_t ChunkValue(DigitChunk chunk, unsigned count) {
  chunk <<= 8 * (kChunkBytes - count);
  chunk = ((chunk & EachByte(0x0F)) * (10 * 0x100 + 1)) >> 8;
  chunk = ((chunk & 0x00FF00FF00FF00FFULL) * (100 * 0x10000 + 1)) >> 16;
  return static_cast<std::uint32_t>(
      ((chunk & 0x0000FFFF0000FFFFULL) * (10000 * 0x100000000ULL + 1)) >> 32);
}

// kChunkLimit: the first value with more digits than a chunk holds.
inline constexpr std::uint32_t kChunkLimit = 100'000'000;

// DigitChunkOf: the eight decimal digits of value < kChunkLimit, leading zeros included,
// most significant first. The value is split into two halves of four digits, one per
// 32-bit lane, then into pairs, one per 16-bit lane, then into digits, one per byte; each
// division is a multiplication by a reciprocal that is exact for the lane's range.
inline DigitChunk DigitChunkOf(std::uint32_t value) {
  constexpr std::uint32_t kTenThousand = 10'000;
  constexpr DigitChunk kHundredsFactor = 5243;  // (x * 5243) >> 19 == x / 100 for x < 43699
  constexpr unsigned kHundredsShift = 19;
  constexpr DigitChunk kTensFactor = 103;  // (x * 103) >> 10 == x / 10 for x < 179
  constexpr unsigned kTensShift = 10;
  DigitChunk chunk = (value / kTenThousand) | (DigitChunk{value % kTenThousand} << 32);
  const DigitChunk hundreds = ((chunk * kHundredsFactor) >> kHundredsShift) & 0x0000007F0000007FULL;
  chunk = hundreds | ((chunk - hundreds * 100) << 16);
  const DigitChunk tens = ((chunk * kTensFactor) >> kTensShift) & 0x000F000F000F000FULL;
  chunk = tens | ((chunk - tens * 10) << 8);
  return chunk + EachByte('0');
}

}  // namespace intcalc
