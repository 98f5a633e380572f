#include "editor/characters.h"

#include <utf8proc.h>

#include <cstdint>

namespace intcalc {

namespace {

using CodePoint = utf8proc_int32_t;

constexpr CodePoint kNoCodePoint = -1;  // a byte that is no valid UTF-8
constexpr CodePoint kEmojiPresentation = 0xFE0F;
constexpr CodePoint kTextPresentation = 0xFE0E;
constexpr CodePoint kZeroWidthJoiner = 0x200D;
constexpr CodePoint kKeycap = 0x20E3;
constexpr CodePoint kFirstSkinTone = 0x1F3FB;
constexpr CodePoint kLastSkinTone = 0x1F3FF;
constexpr CodePoint kFirstRegionalIndicator = 0x1F1E6;
constexpr CodePoint kLastRegionalIndicator = 0x1F1FF;
constexpr std::size_t kEmojiColumns = 2;

constexpr unsigned char Byte(char byte) {
  return static_cast<unsigned char>(byte);
}

constexpr bool IsContinuation(char byte) {
  constexpr unsigned char kContinuationMask = 0xC0;
  constexpr unsigned char kContinuationBits = 0x80;
  return (Byte(byte) & kContinuationMask) == kContinuationBits;
}

struct Decoded {
  CodePoint codePoint;
  std::size_t length;
};

// Decode: the code point at `index`, or kNoCodePoint for a byte that begins none there.
Decoded Decode(std::string_view text, std::size_t index) {
  CodePoint codePoint = kNoCodePoint;
  // utf8proc takes bytes as unsigned char, which may stand for any char.
  const utf8proc_ssize_t length =
      utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(  // NOLINT
                           text.data() + index),
                       static_cast<utf8proc_ssize_t>(text.size() - index), &codePoint);
  if (length <= 0) return {kNoCodePoint, 1};
  return {codePoint, static_cast<std::size_t>(length)};
}

constexpr bool IsRegionalIndicator(CodePoint codePoint) {
  return codePoint >= kFirstRegionalIndicator && codePoint <= kLastRegionalIndicator;
}

}  // namespace

std::size_t SequenceLength(char lead) {
  const unsigned char byte = Byte(lead);
  if (byte >= 0xC2 && byte <= 0xDF) return 2;  // lower leads would be overlong
  if (byte >= 0xE0 && byte <= 0xEF) return 3;
  if (byte >= 0xF0 && byte <= 0xF4) return 4;  // higher leads pass U+10FFFF
  return 1;
}

bool BeginsCodePoint(std::string_view bytes) {
  if (bytes.empty()) return false;
  const std::size_t length = SequenceLength(bytes[0]);
  if (length == 1 || bytes.size() > length) return false;
  for (std::size_t next = 1; next < bytes.size(); ++next) {
    if (!IsContinuation(bytes[next])) return false;
  }
  // A whole sequence must be valid UTF-8: no overlong form, surrogate, or code point past
  // U+10FFFF.
  return bytes.size() < length || Decode(bytes, 0).codePoint != kNoCodePoint;
}

std::size_t CharacterLength(std::string_view text, std::size_t index) {
  const Decoded first = Decode(text, index);
  if (first.codePoint == kNoCodePoint) return 1;
  utf8proc_int32_t state = 0;
  CodePoint previous = first.codePoint;
  std::size_t end = index + first.length;
  while (end < text.size()) {
    const Decoded next = Decode(text, end);
    if (next.codePoint == kNoCodePoint ||
        utf8proc_grapheme_break_stateful(previous, next.codePoint, &state)) {
      break;
    }
    previous = next.codePoint;
    end += next.length;
  }
  return end - index;
}

std::size_t CharacterBefore(std::string_view text, std::size_t index) {
  // Where characters begin is known only from the start of the text.
  std::size_t start = 0;
  while (true) {
    const std::size_t end = start + CharacterLength(text, start);
    if (end >= index) return start;
    start = end;
  }
}

std::size_t CharacterColumns(std::string_view text, std::size_t index) {
  const Decoded first = Decode(text, index);
  if (first.codePoint == kNoCodePoint) return 1;
  const std::size_t end = index + CharacterLength(text, index);
  bool regionalPair = false;
  for (std::size_t at = index + first.length; at < end;) {
    const Decoded next = Decode(text, at);
    if (next.codePoint == kEmojiPresentation) return kEmojiColumns;
    regionalPair = IsRegionalIndicator(first.codePoint) && IsRegionalIndicator(next.codePoint);
    at += next.length;
  }
  if (regionalPair) return kEmojiColumns;
  return static_cast<std::size_t>(utf8proc_charwidth(first.codePoint));
}

bool WidthDisputed(std::string_view text, std::size_t index) {
  const Decoded first = Decode(text, index);
  if (first.codePoint == kNoCodePoint) return false;
  const std::size_t end = index + CharacterLength(text, index);
  for (std::size_t at = index + first.length; at < end;) {
    const Decoded next = Decode(text, at);
    const CodePoint codePoint = next.codePoint;
    if (codePoint == kEmojiPresentation || codePoint == kTextPresentation ||
        codePoint == kZeroWidthJoiner || codePoint == kKeycap ||
        (codePoint >= kFirstSkinTone && codePoint <= kLastSkinTone) ||
        (IsRegionalIndicator(first.codePoint) && IsRegionalIndicator(codePoint))) {
      return true;
    }
    at += next.length;
  }
  return false;
}

std::size_t ColumnsBetween(std::string_view text, std::size_t first, std::size_t last) {
  std::size_t columns = 0;
  for (std::size_t index = first; index < last; index += CharacterLength(text, index)) {
    columns += CharacterColumns(text, index);
  }
  return columns;
}

bool CharacterJoins::Continues(std::string_view codePoint) {
  const CodePoint next = Decode(codePoint, 0).codePoint;
  const bool joined = previous_ != kNoCodePoint && next != kNoCodePoint &&
                      !utf8proc_grapheme_break_stateful(previous_, next, &state_);
  if (!joined) state_ = 0;
  previous_ = next;
  return joined;
}

bool IsWordCharacter(std::string_view text, std::size_t index) {
  const Decoded first = Decode(text, index);
  if (first.codePoint == kNoCodePoint) return false;
  switch (utf8proc_category(first.codePoint)) {
    case UTF8PROC_CATEGORY_LU:
    case UTF8PROC_CATEGORY_LL:
    case UTF8PROC_CATEGORY_LT:
    case UTF8PROC_CATEGORY_LM:
    case UTF8PROC_CATEGORY_LO:
    case UTF8PROC_CATEGORY_ND:
    case UTF8PROC_CATEGORY_NL:
    case UTF8PROC_CATEGORY_NO:
      return true;
    default:
      return false;
  }
}

}  // namespace intcalc
