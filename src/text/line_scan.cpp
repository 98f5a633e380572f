#include "text/line_scan.h"

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>

#include <bit>
#endif

namespace intcalc {

namespace {

constexpr bool EndsLine(char byte) {
  return byte == '\0' || byte == '\r' || byte == '\n';
}

#if defined(__SSE2__)

constexpr unsigned kBlockBytes = sizeof(__m128i);

// A block's runs are moved from anywhere in it, so a block is taken only when the one after
// it is readable too.
constexpr std::ptrdiff_t kReadableAhead = std::ptrdiff_t{2} * kBlockBytes;

// LoadBlock and StoreBlock: sixteen bytes at any address; each is one unaligned move.
__m128i LoadBlock(const char* bytes) {
  __m128i block;
  std::memcpy(&block, bytes, sizeof block);
  return block;
}

void StoreBlock(char* bytes, __m128i block) {
  std::memcpy(bytes, &block, sizeof block);
}

// BytesEqualTo: one bit per byte of the block, set where the byte is `value`.
unsigned BytesEqualTo(__m128i block, char value) {
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(value))));
}

// CopyBlocks: the copy sixteen bytes at a time, as far as blocks may be read; it leaves
// `in` at the line end when it meets one. Each run of kept bytes is moved as a whole
// block, and the next run then overwrites the block's surplus.
void CopyBlocks(const char*& in, const char* end, char*& out) {
  while (end - in >= kReadableAhead) {
    const __m128i block = LoadBlock(in);
    const unsigned stops =
        BytesEqualTo(block, '\0') | BytesEqualTo(block, '\r') | BytesEqualTo(block, '\n');
    const unsigned kept = stops == 0 ? kBlockBytes : static_cast<unsigned>(std::countr_zero(stops));
    unsigned blanks = BytesEqualTo(block, kBlank) & (stops - 1);  // those before a stop
    unsigned from = 0;
    for (; blanks != 0; blanks &= blanks - 1) {
      const auto blank = static_cast<unsigned>(std::countr_zero(blanks));
      StoreBlock(out, LoadBlock(in + from));
      out += blank - from;
      from = blank + 1;
    }
    StoreBlock(out, LoadBlock(in + from));
    out += kept - from;  // a blank is never past the first stop, so from <= kept
    if (stops != 0) {
      in += kept;
      return;
    }
    in += kBlockBytes;
  }
}

#endif

}  // namespace

void CopyWithoutBlanks(std::span<const char> line, TextSpan destination) {
  // A block stored at the output never ends past the line's length from its start.
  CheckBounds(line.size() <= destination.Capacity());
  const char* in = line.data();
  const char* const end = in + line.size();
  char* const start = destination.Storage();
  char* out = start;
#if defined(__SSE2__)
  CopyBlocks(in, end, out);
#endif
  for (; in != end && !EndsLine(*in); ++in) {
    *out = *in;  // a blank stored here is overwritten by the next byte kept
    out += *in != kBlank ? 1 : 0;
  }
  destination.SetLength(static_cast<TextLength>(out - start));
}

}  // namespace intcalc
